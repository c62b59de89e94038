#!/usr/bin/env bash
# Renamed components on the demo project: btnOK becomes btnSave (in the form and its unit) and the
# menu item mnuExit becomes mnuQuit. The update keeps their translations under the new names, says
# so, and a second update is quiet; with --no-renames they are removed and added as before.
# Usage: renames.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
vaq=$build/vaq
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VAQ_CONFIG_DIR="$work/config"
unset LC_ALL LC_CTYPE LANG  # values are printed in UTF-8
fail() { echo "FAIL: $*" >&2; exit 1; }

# A copy of the demo with German notes; the translator confirms "&OK" and translates "E&xit".
prepare() {
  cp -r "$source/examples/demo" "$1"
  "$vaq" update "$1" --lang de-DE --quiet 2>/dev/null
  LC_ALL=C sed -i -e "/btnOK\.Caption/s/Status:0\x04Curr:'&OK'/Status:1\x04Curr:'\&OK'/" \
    -e "/mnuExit\.Caption/s/Status:0\x04Curr:'E&xit'/Status:1\x04Curr:'Been\&den'/" "$1/de-DE/MainForm.ruz"
}
rename_components() {
  sed -i -e 's/btnOK/btnSave/' -e "${2:-s/mnuExit/mnuQuit/}" "$1/MainForm.rux" "$1/MainForm.pas"
}

P=$work/demo
prepare "$P"
rename_components "$P"
"$vaq" update "$P" --lang de-DE 2>"$work/err" || fail "update failed: $(cat "$work/err")"
expected="MainForm.rux: btnOK renamed to btnSave, 2 translations kept
MainForm.rux: mnuExit renamed to mnuQuit, 1 translation kept
MainForm.rux: new 0, changed 0, unchanged 32, unused 0, renamed 2
en-US -> de-DE: 1 of 5 forms updated in $P/de-DE (new 0, changed 0, unchanged 32, unused 0, renamed 2)"
[ "$(cat "$work/err")" = "$expected" ] || fail "update said: $(cat "$work/err")"

# The translations, the comment and the status are under the new names; nothing is unused.
"$vaq" records "$P/de-DE/MainForm.ruz" >"$work/records"
grep -q "Translated	O:MainForm.O:btnSave.Hint	'Save the order and close'	'Bestellung speichern und schließen'" \
  "$work/records" || fail "the hint's translation is lost: $(cat "$work/records")"
grep -q "Translated	O:MainForm.O:btnSave.Caption	'&OK'	'&OK'" "$work/records" || fail "the caption is lost"
grep -q "Translated	O:MainForm.O:mnuMain.O:mnuFile.O:mnuQuit.Caption	'E&xit'	'Been&den'" "$work/records" ||
  fail "the menu item's translation is lost"
grep -q "btnOK\|mnuExit\|Unused" "$work/records" && fail "records of the old names remain: $(cat "$work/records")"
LC_ALL=C grep -q "btnSave\.Hint.*Comment:keep it short" "$P/de-DE/MainForm.ruz" || fail "the comment is lost"
# The translated form has the new names with the translations.
"$vaq" convert "$P/de-DE/MainForm.rux" "$work/translated.txt" --to text >/dev/null
grep -q "object btnSave: TButton" "$work/translated.txt" && grep -q "Been&den" "$work/translated.txt" &&
  grep -q "Hint = 'Bestellung speichern und schlie" "$work/translated.txt" ||
  fail "translated form: $(cat "$work/translated.txt")"

# A second update finds the form up to date; one after the form was saved again finds no rename.
"$vaq" update "$P" --lang de-DE 2>"$work/err"
[ "$(cat "$work/err")" = "en-US -> de-DE: 0 of 5 forms updated in $P/de-DE (new 0, changed 0, unchanged 0, unused 0, renamed 0)" ] ||
  fail "second update said: $(cat "$work/err")"
touch -d '+1 minute' "$P/MainForm.rux"
"$vaq" update "$P" --lang de-DE 2>"$work/err"
[ "$(head -n 1 "$work/err")" = "MainForm.rux: new 0, changed 0, unchanged 32, unused 0, renamed 0" ] ||
  fail "update of the saved form said: $(cat "$work/err")"
"$vaq" records "$P/de-DE/MainForm.ruz" | cmp -s - "$work/records" || fail "the update of the saved form changed records"

# --quiet keeps the rename to itself, and the summary counts it.
Q=$work/quiet
prepare "$Q"
rename_components "$Q"
"$vaq" update "$Q" --lang de-DE --quiet 2>"$work/err"
[ "$(cat "$work/err")" = "en-US -> de-DE: 1 of 5 forms updated in $Q/de-DE (new 0, changed 0, unchanged 32, unused 0, renamed 2)" ] ||
  fail "update --quiet said: $(cat "$work/err")"

# With several languages each rename names its language: de-DE has translations to keep, ru-RU
# (updated along) none.
L=$work/languages
prepare "$L"
"$vaq" update "$L" --lang ru-RU --quiet 2>/dev/null
rename_components "$L"
"$vaq" update "$L" --lang de-DE,ru-RU 2>"$work/err" || fail "update of two languages failed: $(cat "$work/err")"
grep -qx "de-DE: MainForm.rux: btnOK renamed to btnSave, 2 translations kept" "$work/err" ||
  fail "update of two languages said: $(cat "$work/err")"
grep -q "ru-RU: MainForm.rux: .* renamed to" "$work/err" && fail "a rename without translations was reported"
grep -q "^MainForm.rux: .* renamed to" "$work/err" && fail "a rename without its language: $(cat "$work/err")"

# --no-renames: the button's records become unused, the new ones are untranslated.
N=$work/no-renames
prepare "$N"
rename_components "$N" "s/^//"
"$vaq" update "$N" --lang de-DE --no-renames 2>"$work/err"
grep -q "^MainForm.rux: new 4, changed 0, unchanged 28, unused 4, renamed 0$" "$work/err" ||
  fail "update --no-renames said: $(cat "$work/err")"
grep -q "renamed to" "$work/err" && fail "update --no-renames reported a rename"
"$vaq" records "$N/de-DE/MainForm.ruz" >"$work/records"
grep -q "Unused	O:MainForm.O:btnOK.Hint	'Save the order and close'	'Bestellung" "$work/records" ||
  fail "the hint did not stay behind in an unused record"
echo "renames: ok"
