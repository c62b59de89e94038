#!/usr/bin/env bash
# Fetches Debian packages that ship the sources of open-source Pascal projects (castle-game-engine-src,
# lazarus-src-2.2: together about 870 forms) with apt-get download and copies their form files into
# build/real-forms/ (as ".rux" files, in text notation), for the viewer tests that run when they are
# present. Nothing of it is committed.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build/real-forms
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && apt-get download castle-game-engine-src lazarus-src-2.2 >/dev/null 2>&1)
for deb in "$work"/*.deb; do dpkg-deb -x "$deb" "$work/root"; done
rm -rf "$out"
mkdir -p "$out"
# A form file in text notation starts with its root component: "object Name: TClass".
find "$work/root/usr" -type f -size -2M -print0 |
  xargs -0 awk 'FNR == 1 && /^(object|inherited|inline) [A-Za-z0-9_]+ *: *[A-Za-z0-9_]+/ { print FILENAME } { nextfile }' |
  while read -r file; do
  name=$(echo "${file#"$work/root/usr/"}" | tr '/' '_')
  cp "$file" "$out/${name%.*}.rux"
done
ls "$out" | wc -l | xargs echo "form files in $out:"
