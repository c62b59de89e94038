#!/usr/bin/env bash
# vaq update on real projects through the real vaq: several languages in one run and every language
# folder that holds notes, vaq languages, a folder of units only, a form that does not parse, a
# language folder that cannot be written, and the registry file left alone.
# Usage: update_languages.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
vaq=$build/vaq
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VAQ_CONFIG_DIR="$work/config"
fail() { echo "FAIL: $*" >&2; exit 1; }

# --- Units only: no form, no problem ------------------------------------------------------------------
mkdir -p "$work/units"
printf 'unit a; interface implementation end.\n' >"$work/units/a.pas"
"$vaq" update "$work/units" --lang de-DE 2>"$work/err" || fail "a folder of units only failed: $(cat "$work/err")"
[ "$(cat "$work/err")" = "en-US -> de-DE: 0 of 0 forms updated in $work/units/de-DE (new 0, changed 0, unchanged 0, unused 0, renamed 0)" ] ||
  fail "units only: $(cat "$work/err")"
cp "$source/examples/demo/BaseDialog."* "$work/units/"
"$vaq" update "$work/units" --lang de-DE 2>"$work/err" || fail "a unit without a form failed the update: $(cat "$work/err")"
grep -q "1 of 1 forms updated" "$work/err" || fail "$(cat "$work/err")"

# --- Three languages in one run; the summary per language and in total -------------------------------
cp -r "$source/examples/demo" "$work/demo"
"$vaq" update "$work/demo" --lang de-DE,fr-FR,ru-RU 2>"$work/err" || fail "three languages: $(cat "$work/err")"
[ "$(grep -c ' forms updated' "$work/err")" = 4 ] || fail "a summary per language and one in total: $(cat "$work/err")"
grep -q "^en-US -> ru-RU: 5 of 5 forms updated in $work/demo/ru-RU (new " "$work/err" || fail "$(cat "$work/err")"
grep -q "^3 languages: 15 of 15 forms updated (new " "$work/err" || fail "$(cat "$work/err")"
grep -q "^fr-FR: MainForm.rux: new 34," "$work/err" || fail "lines name their language: $(cat "$work/err")"
for tag in de-DE fr-FR ru-RU; do [ -e "$work/demo/$tag/OptionsDialog.ruz" ] || fail "no notes in $tag"; done

# vaq languages: the folders and the counts of their notes headers.
"$vaq" languages "$work/demo" >"$work/out"
[ "$(wc -l <"$work/out")" = 3 ] || fail "vaq languages: $(cat "$work/out")"
grep -q "^de-DE	5 notes files, translated 3, untranslated 80 (3%), from en-US in $work/demo/de-DE$" "$work/out" ||
  fail "vaq languages: $(cat "$work/out")"
grep -q "^ru-RU	5 notes files, translated 0, untranslated 85 (0%)" "$work/out" || fail "vaq languages: $(cat "$work/out")"

# --all-languages: every folder that holds notes; an empty language folder is none of them.
mkdir "$work/demo/pl-PL"
sed -i "s/'Orders'/'All orders'/" "$work/demo/MainForm.rux"
"$vaq" update "$work/demo" --all-languages --quiet 2>"$work/err" || fail "--all-languages: $(cat "$work/err")"
grep -q "^3 languages: 3 of 15 forms updated (new 0, changed 3," "$work/err" || fail "--all-languages: $(cat "$work/err")"
grep -q "pl-PL" "$work/err" && fail "an empty language folder was updated"
if "$vaq" update "$work/demo" --lang de-DE,fr-FR --langdir "$work/x" 2>/dev/null; then fail "--langdir with two languages"; fi

# --- A form that does not parse: said once, in the parser's words; counted as failed -----------------
printf "object BaseDialog: TBaseDialog\r\n  Caption = 'OK'\r\n" >"$work/demo/BaseDialog.rux"
if "$vaq" update "$work/demo" --lang de-DE,fr-FR 2>"$work/err"; then fail "a form that does not parse passed"; fi
[ "$(grep -c "BaseDialog.rux" "$work/err")" = 1 ] || fail "the broken form is not said once: $(cat "$work/err")"
grep -q "^$work/demo/BaseDialog.rux: Line 2: 'end' expected but end of file found$" "$work/err" ||
  fail "not the parser's words: $(cat "$work/err")"
grep -q "^en-US -> fr-FR: 0 of 5 forms updated, 1 failed, in " "$work/err" || fail "$(cat "$work/err")"
cp "$source/examples/demo/BaseDialog.rux" "$work/demo/"

# --- A language folder that cannot be written: an error per form, none counted as updated ------------
# Root writes anywhere: the update then runs as nobody.
as_other=()
if [ "$(id -u)" = 0 ]; then
  command -v setpriv >/dev/null || { echo "update_languages: setpriv is missing, the read-only folder is not tried"; exit 0; }
  as_other=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  chmod -R a+rwX "$work"
fi
cp -r "$source/examples/demo" "$work/ro"
mkdir -p "$work/ro/el-GR"
chmod -R a+rX "$work/ro"
chmod a-w "$work/ro/el-GR"
if "${as_other[@]}" "$vaq" update "$work/ro" --lang el-GR 2>"$work/err"; then fail "a read-only folder passed"; fi
[ "$(grep -c 'Permission denied' "$work/err")" = 5 ] || fail "an error per form: $(cat "$work/err")"
grep -q "^en-US -> el-GR: 0 of 5 forms updated, 5 failed, in " "$work/err" || fail "$(cat "$work/err")"
grep -q ": new " "$work/err" && fail "a form that was not written has its line: $(cat "$work/err")"

# --- No update writes the window's options ----------------------------------------------------------
[ -e "$VAQ_CONFIG_DIR/registry.ini" ] && fail "vaq update wrote the registry file: $(cat "$VAQ_CONFIG_DIR/registry.ini")"
echo "update of languages test passed"
