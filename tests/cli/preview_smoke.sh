#!/usr/bin/env bash
# Runs the real vaq preview through the module's desktop build, without a display.
# Usage: preview_smoke.sh BUILD_DIR SOURCE_DIR
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

tree=$("$build/vaq" preview "$work/demo/MainForm.rux" --lang de-DE --tree 2>/dev/null)
grep -qP '^O:MainForm\tTMainForm\tshown\t0,0,632,429\tBestellungen$' <<<"$tree" || fail "no translated main form: $tree"
grep -qP '^O:MainForm.O:btnOK\tTButton\tshown\t540,410,75,25\t&OK$' <<<"$tree" || fail "no OK button"

"$build/vaq" preview "$work/demo/de-DE/MainForm.ruz" --both --png "$work/both.png" 2>/dev/null || fail "--png failed"
[ -s "$work/both.png" ] || fail "no picture"

# A form that cannot be read: its name, exit 1.
echo "no form" >"$work/bad.rux"
if err=$("$build/vaq" preview "$work/bad.rux" --tree 2>&1 >/dev/null); then fail "bad form accepted"; fi
grep -q "bad.rux" <<<"$err" || fail "message does not name the file: $err"
# Two sides at once is a usage error.
set +e
"$build/vaq" preview "$work/bad.rux" --original --both >/dev/null 2>&1
[ $? -eq 2 ] || fail "--original --both is no usage error"
echo "preview smoke: ok"
