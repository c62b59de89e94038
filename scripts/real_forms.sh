#!/usr/bin/env bash
# Fetches Debian's castle-game-engine-src package with apt-get download and copies the form files
# of the open-source projects it ships into build/real-forms/ (as ".rux" files, in text notation),
# for the viewer test that runs when they are present. Nothing of it is committed.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build/real-forms
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && apt-get download castle-game-engine-src >/dev/null 2>&1)
dpkg-deb -x "$work"/*.deb "$work/root"
rm -rf "$out"
mkdir -p "$out"
# A form file in text notation starts with its root component: "object Name: TClass".
find "$work/root/usr/src" -type f -size -2M -print0 |
  xargs -0 awk 'FNR == 1 && /^(object|inherited|inline) [A-Za-z0-9_]+ *: *[A-Za-z0-9_]+/ { print FILENAME } { nextfile }' |
  while read -r file; do
  name=$(echo "${file#"$work/root/usr/src/"}" | tr '/' '_')
  cp "$file" "$out/${name%.*}.rux"
done
ls "$out" | wc -l | xargs echo "form files in $out:"
