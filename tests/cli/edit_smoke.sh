#!/usr/bin/env bash
# vaq edit through the real host and the module's desktop build, without a display.
# Usage: edit_smoke.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VAQ_CONFIG_DIR="$work/config"
unset DISPLAY WAYLAND_DISPLAY
fail() { echo "FAIL: $*" >&2; exit 1; }

cp -r "$source/examples/demo" "$work/demo"
"$build/vaq" update "$work/demo" --lang de-DE --quiet || fail "update failed"
"$build/vaq" edit "$work/demo" --lang de-DE --screenshot "$work/project.png" 2>/dev/null || fail "edit of the project failed"
[ -s "$work/project.png" ] || fail "no picture of the project"
"$build/vaq" edit "$work/demo/de-DE/MainForm.ruz" --screenshot "$work/file.png" 2>/dev/null || fail "edit of a notes file failed"
head -c 8 "$work/file.png" | od -c | grep -q 'P   N   G' || fail "the picture is no PNG"
# A language folder that does not exist, and a form without notes: named, exit status 1.
set +e
"$build/vaq" edit "$work/demo" --lang fr-FR --screenshot "$work/x.png" 2>"$work/err"; status=$?
set -e
[ "$status" -eq 1 ] || fail "a missing language folder gave $status"
grep -q 'fr-FR' "$work/err" || fail "the message does not name the folder"
set +e
"$build/vaq" edit "$work/demo/MainForm.rux" --screenshot "$work/x.png" 2>"$work/err"; status=$?
set -e
[ "$status" -eq 1 ] || fail "a form without notes gave $status"
echo "edit smoke: ok"
