#!/usr/bin/env bash
# vaq edit through the real host and the module's desktop build, without a display.
# Usage: edit_smoke.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
readonly_folder=
cleanup() {
  [ -n "$readonly_folder" ] && { chattr -i "$readonly_folder" 2>/dev/null || chmod u+w "$readonly_folder"; }
  rm -rf "$work"
}
trap cleanup EXIT
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

# The preview choice stays across starts: a picture of the editor with the translated preview shown
# leaves the option as it found it.
"$build/vaq" edit "$work/demo/de-DE/MainForm.ruz" --screenshot "$work/file.png" 2>/dev/null
# (No command before wrote window options: the choice is stored as a user's earlier session left it.)
mkdir -p "$VAQ_CONFIG_DIR"
printf '[Software\\Vaq\\Translator\\RUX]\nStayOnTop=bool:0\nShowOrigForm=bool:0\nShowXlatForm=bool:1\n' \
  >"$VAQ_CONFIG_DIR/registry.ini"
"$build/vaq" edit "$work/demo/de-DE/MainForm.ruz" --screenshot "$work/file.png" 2>/dev/null || fail "edit with the preview failed"
grep -q '^ShowXlatForm=bool:1' "$VAQ_CONFIG_DIR/registry.ini" || fail "the preview choice was not kept"
sed -i 's/^ShowXlatForm=bool:1/ShowXlatForm=bool:0/' "$VAQ_CONFIG_DIR/registry.ini"

# No one answers a dialog of a picture: a damaged record is one message on standard error with the
# notes file and its line, and the run ends with status 1 instead of waiting.
cp -r "$work/demo" "$work/damaged"
sed -i '5s/Status:[0-9]/Status:x/' "$work/damaged/de-DE/MainForm.ruz"
set +e
timeout 60 "$build/vaq" edit "$work/damaged/de-DE/MainForm.ruz" --screenshot "$work/x.png" 2>"$work/err"; status=$?
set -e
[ "$status" -eq 1 ] || fail "a damaged notes file gave $status"
[ "$(grep -c 'MainForm.ruz: line 5: ' "$work/err")" -eq 1 ] || fail "not one message with the line: $(cat "$work/err")"
# Without a display and without a picture there is nothing to show the window on.
set +e
timeout 60 "$build/vaq" edit "$work/demo/de-DE/MainForm.ruz" 2>"$work/err"; status=$?
set -e
[ "$status" -eq 1 ] || fail "no display gave $status"
grep -q 'no display' "$work/err" || fail "no word about the display: $(cat "$work/err")"
# A language folder that cannot be written opens read-only and nothing in it changes.
readonly_folder="$work/demo/de-DE"
touch "$readonly_folder/MainForm.ruz"  # stale: an opening that may write would recount it
before=$(ls -l --time-style=full-iso "$readonly_folder")
if [ "$(id -u)" -eq 0 ]; then made=$(chattr +i "$readonly_folder" 2>/dev/null && echo yes); else chmod a-w "$readonly_folder" && made=yes; fi
if [ -n "${made:-}" ]; then
  "$build/vaq" edit "$readonly_folder/MainForm.ruz" --screenshot "$work/ro.png" 2>"$work/err" ||
    fail "a read-only folder did not open: $(cat "$work/err")"
  [ "$(ls -l --time-style=full-iso "$readonly_folder")" = "$before" ] || fail "opening wrote into the read-only folder"
else
  echo "edit smoke: no read-only folder can be made here; that case is skipped"
fi
echo "edit smoke: ok"
