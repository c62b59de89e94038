#!/usr/bin/env bash
# The translator's cycle through other tools, with the real vaq on a copy of the demo project:
# export to PO, XLIFF 2.0 and XLIFF 1.2, check the files with gettext's and libxml2's own tools,
# translate in the file, import, and read the translated forms back with vaq extract. Also: an
# unchanged export/import leaves every file byte for byte; each refusal says why; a file edited by
# msgcat and msgattrib imports; a file that does not parse writes nothing; a translation made after
# the export stays; an edit of a translated form made after its notes is read back before the units;
# nothing an exchange file names leads out of the project the command names; a
# DTD is refused.
# Usage: roundtrip.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
vaq="$build/vaq"
schemas="$source/tests/exchange/schemas"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VAQ_CONFIG_DIR="$work/config"
fail() { echo "FAIL: $*" >&2; exit 1; }
project="$work/demo"

# The checksums of every file of the project, to see that nothing changed.
snapshot() { (cd "$project" && find . -type f -print0 | sort -z | xargs -0 md5sum); }
# The record of an Id as `vaq records` lists it: status, Id, original, current (UTF-8).
record() { "$vaq" records "$project/$1" --lang "$2" | cut -f3- | grep -F "	$3	" || true; }
# The value of an Id in `vaq extract` of a translated form.
extracted() { "$vaq" extract "$project/$1" --lang "$2" | grep -F "$3	" | cut -f2; }
expect_eq() { [ "$1" == "$2" ] || fail "$3: expected [$2], got [$1]"; }

cp -r "$source/examples/demo" "$project"
rm -rf "$project/de-DE"
# A multi-line hint, to see line breaks travel.
sed -i "s/Hint = 'Save the order and close'/Hint = 'Save the order'#13#10'and close'/" "$project/MainForm.rux"
for lang in de-DE ru-RU ja-JP; do
  "$vaq" update "$project" --lang $lang --quiet || fail "update $lang"
done

# --- Export then import without a change: nothing is written ------------------------------------
before=$(snapshot)
for format in po xliff xliff1.2; do
  for lang in de-DE ru-RU; do
    out="$work/noop-$lang.$format"
    "$vaq" export "$project" --lang $lang --format $format -o "$out" 2>/dev/null || fail "export $format $lang"
    case $format in
      po) msgfmt --check -o /dev/null "$out" || fail "msgfmt --check rejects $out" ;;
      xliff) xmllint --noout --schema "$schemas/xliff-core-2.0.xsd" "$out" 2>/dev/null || fail "$out is not valid XLIFF 2.0" ;;
      xliff1.2) xmllint --noout --schema "$schemas/xliff-core-1.2.xsd" "$out" 2>/dev/null || fail "$out is not valid XLIFF 1.2" ;;
    esac
    # Into the current folder's project, as a user in the project folder types it.
    result=$(cd "$project" && "$vaq" import "$out") || fail "import of unchanged $out"
    grep -q "taken [1-9]" <<<"$result" && fail "an unchanged $format file changed records: $result"
  done
done
expect_eq "$(snapshot)" "$before" "export then import without a change"
grep -qx '"Save the order\\n"' "$work/noop-de-DE.po" || fail "the multi-line hint does not travel as two lines"
grep -q "^msgid \"It's\"" "$work/noop-de-DE.po" || fail "'It'#39's' does not travel as It's"
grep -q '^msgid "&Apply"' "$work/noop-de-DE.po" || fail "the accelerator does not stay as it is"

# --- German through PO -----------------------------------------------------------------------------
po="$work/de.po"
"$vaq" export "$project" --lang de-DE --format po -o "$po" 2>/dev/null
perl -0pi -e 's/(msgctxt "[^"]*lblCity[^"]*"\nmsgid "City"\n)msgstr ""/# short, please\n$1msgstr "Stadt"/;
              s/(msgid "It\x27s"\n)msgstr ""/$1msgstr "Es ist\x27s \\"gro\xc3\x9f\\""/;
              s/(msgid ""\n"Save the order\\n"\n"and close"\n)msgstr ""/$1msgstr ""\n"Bestellung speichern\\n"\n"und schlie\xc3\x9fen"/;
              s/(msgctxt "[^"]*"\nmsgid "Cancel"\n)msgstr ""/#, fuzzy\n$1msgstr "Abbrechen"/' "$po"
msgfmt --check -o /dev/null "$po" || fail "the translated PO file is not valid"
"$vaq" import "$po" --project "$project" >"$work/out" || fail "import of the German PO file: $(cat "$work/out")"
grep -q "AddressFrame.ruz: taken 1, left alone 4, refused 0" "$work/out" || fail "counts: $(cat "$work/out")"
expect_eq "$(extracted de-DE/AddressFrame.rux de-DE O:AddressFrame.O:lblCity.Caption)" "'Stadt'" "German PO"
expect_eq "$(extracted de-DE/MainForm.rux de-DE O:MainForm.O:lstItems.Items.Strings[1])" "'Es ist'#39's \"groß\"'" "quoted text"
expect_eq "$(extracted de-DE/MainForm.rux de-DE O:MainForm.O:btnOK.Hint)" "'Bestellung speichern'#13#10'und schließen'" "multi-line text"
expect_eq "$(record de-DE/BaseDialog.ruz de-DE O:BaseDialog.O:btnCancel.Caption)" \
  "Auto translated	O:BaseDialog.O:btnCancel.Caption	'Cancel'	'Abbrechen'" "a fuzzy entry is a translation to review"

"$vaq" export "$project" --lang de-DE --format po -o "$work/again.po" 2>/dev/null
grep -B6 'msgid "City"' "$work/again.po" | grep -qx "# short, please" || fail "the translator's comment does not travel both ways"

# The reviewed entry comes back through gettext's own tools: msgattrib clears the fuzzy mark, msgcat
# re-wraps the file; the record becomes translated, nothing else changes.
"$vaq" export "$project" --lang de-DE --format po -o "$po" 2>/dev/null
grep -B4 'msgid "Cancel"' "$po" | grep -q "#, fuzzy" || fail "status 2 does not travel as fuzzy"
msgattrib --clear-fuzzy -o "$work/reviewed.po" "$po"
msgcat --width=20 -o "$work/rewrapped.po" "$work/reviewed.po"
"$vaq" import "$work/rewrapped.po" --project "$project" >"$work/out" || fail "import of the file msgcat wrote: $(cat "$work/out")"
grep -q "BaseDialog.ruz: taken 1," "$work/out" || fail "review: $(cat "$work/out")"
grep -q "MainForm.ruz: taken 0," "$work/out" || fail "msgcat's wrapping changed texts: $(cat "$work/out")"
expect_eq "$(record de-DE/BaseDialog.ruz de-DE O:BaseDialog.O:btnCancel.Caption)" \
  "Translated	O:BaseDialog.O:btnCancel.Caption	'Cancel'	'Abbrechen'" "a reviewed entry is translated"

# --- German through XLIFF 2.0 and XLIFF 1.2 ------------------------------------------------------------
xlf="$work/de.xlf"
"$vaq" export "$project" --lang de-DE -o "$xlf" 2>/dev/null
perl -0pi -e 's/<segment state="initial">(\s*<source>Street<\/source>)/<segment state="translated">$1<target>Stra\xc3\x9fe<\/target>/;
              s/(<source>Germany<\/source>)/$1<target>Deutschland<\/target>/' "$xlf"
xmllint --noout --schema "$schemas/xliff-core-2.0.xsd" "$xlf" 2>/dev/null || fail "the translated XLIFF 2.0 file is not valid"
"$vaq" import "$xlf" --project "$project" >"$work/out" || fail "import of XLIFF 2.0: $(cat "$work/out")"
expect_eq "$(extracted de-DE/AddressFrame.rux de-DE O:AddressFrame.O:lblStreet.Caption)" "'Straße'" "XLIFF 2.0"
expect_eq "$(record de-DE/AddressFrame.ruz de-DE O:AddressFrame.O:lblStreet.Caption | cut -f1)" "Translated" "state translated"
expect_eq "$(record de-DE/AddressFrame.ruz de-DE "O:AddressFrame.O:cbCountry.Items.Strings[0]" | cut -f1)" \
  "Auto translated" "a target in state initial still needs review"
"$vaq" export "$project" --lang de-DE -o "$xlf" 2>/dev/null
grep -q 'subState="vaq:review"' "$xlf" || fail "status 2 does not travel as our review sub-state"

xlf12="$work/de12.xlf"
"$vaq" export "$project" --lang de-DE --format xliff1.2 -o "$xlf12" 2>/dev/null
perl -0pi -e 's/(<source>Russia<\/source>)/$1<target state="translated">Russland<\/target>/;
              s/(<source>United States<\/source>)/$1<target state="needs-review-translation">Vereinigte Staaten<\/target>/' "$xlf12"
xmllint --noout --schema "$schemas/xliff-core-1.2.xsd" "$xlf12" 2>/dev/null || fail "the translated XLIFF 1.2 file is not valid"
"$vaq" import "$xlf12" --project "$project" >"$work/out" || fail "import of XLIFF 1.2: $(cat "$work/out")"
expect_eq "$(record de-DE/AddressFrame.ruz de-DE "O:AddressFrame.O:cbCountry.Items.Strings[1]")" \
  "Translated	O:AddressFrame.O:cbCountry.Items.Strings[1]	'Russia'	'Russland'" "XLIFF 1.2 translated"
expect_eq "$(record de-DE/AddressFrame.ruz de-DE "O:AddressFrame.O:cbCountry.Items.Strings[2]" | cut -f1)" \
  "Auto translated" "XLIFF 1.2 needs-review-translation"

# --- Russian and Japanese: code pages ---------------------------------------------------------------
po="$work/ru.po"
"$vaq" export "$project" --lang ru-RU --format po -o "$po" 2>/dev/null
perl -0pi -e 's/(msgid "City"\n)msgstr ""/$1msgstr "Город"/; s/(msgid "OK"\n)msgstr ""/$1msgstr "Готово ✓"/;
              s/(msgid "Street"\n)msgstr ""/$1msgstr "Улица\\tдом\\a"/' "$po"
"$vaq" import "$po" --project "$project" >"$work/out" || fail "import of the Russian PO file: $(cat "$work/out")"
expect_eq "$(extracted ru-RU/AddressFrame.rux ru-RU O:AddressFrame.O:lblCity.Caption)" "'Город'" "Russian PO"
expect_eq "$(record ru-RU/BaseDialog.ruz ru-RU O:BaseDialog.O:btnOK.Caption | cut -f4)" "'Готово '#10003" \
  "a character cp1251 cannot hold becomes a #nnnn code"
expect_eq "$(record ru-RU/AddressFrame.ruz ru-RU O:AddressFrame.O:lblStreet.Caption | cut -f4)" "'Улица'#9'дом'#7" \
  "control characters become # codes"
grep -q "Город" <(iconv -f CP1251 -t UTF-8 "$project/ru-RU/AddressFrame.ruz") || fail "Russian notes are not in cp1251"

po="$work/ja.po"
"$vaq" export "$project" --lang ja-JP --format po -o "$po" 2>/dev/null
perl -0pi -e 's/(msgid "City"\n)msgstr ""/$1msgstr "都市"/; s/(msgid "Cancel"\n)msgstr ""/$1msgstr "キャンセル"/;
              s/(msgid "Dialog"\n)msgstr ""/$1msgstr "ダイアログ 😀"/' "$po"
"$vaq" import "$po" --project "$project" >"$work/out" || fail "import of the Japanese PO file: $(cat "$work/out")"
expect_eq "$(extracted ja-JP/AddressFrame.rux ja-JP O:AddressFrame.O:lblCity.Caption)" "'都市'" "Japanese PO"
expect_eq "$(extracted ja-JP/BaseDialog.rux ja-JP O:BaseDialog.O:btnCancel.Caption)" "'キャンセル'" "Japanese PO"
expect_eq "$(record ja-JP/BaseDialog.ruz ja-JP O:BaseDialog.Caption | cut -f4)" "'ダイアログ '#55357#56832" \
  "a character cp932 cannot hold becomes its UTF-16 codes"
grep -q "都市" <(iconv -f CP932 -t UTF-8 "$project/ja-JP/AddressFrame.ruz") || fail "Japanese notes are not in cp932"
before=$(snapshot)
"$vaq" export "$project" --lang ja-JP --format xliff -o "$work/ja.xlf" 2>/dev/null
"$vaq" import "$work/ja.xlf" --project "$project" >/dev/null || fail "unchanged Japanese XLIFF"
expect_eq "$(snapshot)" "$before" "Japanese export then import without a change"

# --- Refusals -----------------------------------------------------------------------------------------
po="$work/refused.po"
"$vaq" export "$project" --lang de-DE --format po -o "$po" 2>/dev/null
perl -0pi -e 's/msgid "Options"\nmsgstr ""/msgid "Settings"\nmsgstr "Einstellungen"/;
              s/(msgctxt "OptionsDialog.rux\|I:OptionsDialog\.O:chkAutoSave\.Caption")/msgctxt "OptionsDialog.rux|I:OptionsDialog.O:chkGone.Caption"/;
              s/(msgid "Save orders automatically"\n)msgstr ""/$1msgstr "Automatisch speichern"/' "$po"
before=$(snapshot)
if "$vaq" import "$po" --project "$project" >"$work/out"; then fail "import with refusals exits with 0"; fi
grep -q "OptionsDialog.ruz: taken 0, left alone .*, refused 2" "$work/out" || fail "refusal counts: $(cat "$work/out")"
grep -qF 'refused I:OptionsDialog.Caption: the original changed since the export: the file has "Settings", the notes have "Options"' \
  "$work/out" || fail "changed original: $(cat "$work/out")"
grep -qF "refused I:OptionsDialog.O:chkGone.Caption: no translatable record with this Id in the notes" "$work/out" ||
  fail "unknown Id: $(cat "$work/out")"
expect_eq "$(snapshot)" "$before" "refused units change nothing"

xlf="$work/all.xlf"
"$vaq" export "$project" --lang de-DE --all -o "$xlf" 2>/dev/null
grep -q "<source>640</source>" "$xlf" || fail "--all does not export numbers"
perl -0pi -e 's/(<source>640<\/source>)/$1<target>12a<\/target>/' "$xlf"
if "$vaq" import "$xlf" --project "$project" >"$work/out"; then fail "an invalid integer is taken"; fi
grep -qF 'refused line' "$work/out" && grep -qF 'O:MainForm.Width: "12a" is not a valid integer' "$work/out" ||
  fail "invalid integer: $(cat "$work/out")"
perl -0pi -e 's/12a/700/' "$xlf"
"$vaq" import "$xlf" --project "$project" >/dev/null || fail "a valid integer is refused"
expect_eq "$(extracted de-DE/MainForm.rux de-DE O:MainForm.Width)" "700" "--all: a number travels as notation"

# A file that does not parse: the message names the line, nothing is written.
head -c 600 "$work/de.xlf" >"$work/broken.xlf"
printf '<unit id="x"><oops></unit>' >>"$work/broken.xlf"
before=$(snapshot)
if "$vaq" import "$work/broken.xlf" --project "$project" 2>"$work/err"; then fail "a broken XLIFF file imports"; fi
grep -q "broken.xlf: line [0-9]*: .*(nothing written)" "$work/err" || fail "parse failure: $(cat "$work/err")"
printf 'msgctxt "MainForm.rux|O:MainForm.Caption"\nmsgid "Orders"\nmsgstr "Bestellungen\n' >"$work/broken.po"
if "$vaq" import "$work/broken.po" --project "$project" --lang de-DE 2>"$work/err"; then fail "a broken PO file imports"; fi
grep -q "broken.po: line 3: .*(nothing written)" "$work/err" || fail "PO parse failure: $(cat "$work/err")"
expect_eq "$(snapshot)" "$before" "files that do not parse change nothing"

# --dir writes one file per notes file; --untranslated only what still needs work.
"$vaq" export "$project" --lang de-DE --format po --dir "$work/each" --untranslated 2>/dev/null
[ -s "$work/each/MainForm.rux.po" ] && [ -s "$work/each/ReportView.gox.po" ] || fail "--dir: $(ls "$work/each")"
grep -q 'msgid "City"' "$work/each/AddressFrame.rux.po" && fail "--untranslated exports a translated record"
grep -q 'msgid "Germany"' "$work/each/AddressFrame.rux.po" || fail "--untranslated leaves out an auto-translated record"

# --- Translated since the export: the newer translation stays ----------------------------------------
stale="$work/stale.xlf"
"$vaq" export "$project" --lang de-DE -o "$stale" 2>/dev/null
grep -q 'name="O:AddressFrame.O:lblCity.Caption" vaq:base="[0-9a-f]\{16\}"' "$stale" || fail "no baseline in the export"
# The translator approves "Deutschland" in the file ...
perl -0pi -e 's/<segment state="initial" subState="vaq:review">(\s*<source>Germany<\/source>)/<segment state="translated">$1/' "$stale"
grep -B1 '<source>Germany' "$stale" | grep -q 'state="translated"' || fail "the stale file was not edited"
# ... while the project's record becomes "Deutschland (BRD)" (through a PO file here, as the editor would).
"$vaq" export "$project" --lang de-DE --format po -o "$work/brd.po" 2>/dev/null
perl -0pi -e 's/(msgid "Germany"\nmsgstr ")Deutschland"/$1Deutschland (BRD)"/' "$work/brd.po"
"$vaq" import "$work/brd.po" --project "$project" >/dev/null || fail "import of Deutschland (BRD)"
before=$(snapshot)
if "$vaq" import "$stale" --project "$project" >"$work/out"; then fail "a unit translated since the export is taken"; fi
grep -q "AddressFrame.ruz: taken 0, left alone [0-9]*, refused 1" "$work/out" || fail "stale counts: $(cat "$work/out")"
grep -qE '^  refused line [0-9]+: O:AddressFrame.O:cbCountry.Items.Strings\[0\]: translated since the export: the notes have "Deutschland \(BRD\)", the file has "Deutschland"$' \
  "$work/out" || fail "stale reason: $(cat "$work/out")"
expect_eq "$(snapshot)" "$before" "the newer translation stays"
"$vaq" import "$stale" --project "$project" --force >"$work/out" || fail "--force: $(cat "$work/out")"
expect_eq "$(record de-DE/AddressFrame.ruz de-DE "O:AddressFrame.O:cbCountry.Items.Strings[0]")" \
  "Translated	O:AddressFrame.O:cbCountry.Items.Strings[0]	'Germany'	'Deutschland'" "--force takes the file's translation"

# --- Only inside the project the command names -----------------------------------------------------------
# Another project on the same disk holds notes with the same Ids; nothing an exchange file says reaches it.
victim="$work/victim"
mkdir -p "$victim" && cp -r "$project/de-DE" "$victim/"
victim_snapshot() { (cd "$victim" && find . -type f -print0 | sort -z | xargs -0 md5sum); }
victim_before=$(victim_snapshot)
real=$(realpath "$project")
crafted="$work/crafted.po"
"$vaq" export "$project" --lang de-DE --format po -o "$crafted" 2>/dev/null
grep -qx '"X-Vaq-Folder: de-DE\\n"' "$crafted" || fail "the export does not record the folder relative to the project"
grep -qF "$work" "$crafted" && fail "the export discloses where the project lies"
"$vaq" export "$project/de-DE/MainForm.ruz" "$project/de-DE/AddressFrame.rux" --format po -o "$work/named.po" 2>/dev/null
grep -qx '"X-Vaq-Folder: de-DE\\n"' "$work/named.po" && grep -q '^msgctxt "MainForm.rux|' "$work/named.po" ||
  fail "notes files named: the folder is not the language folder"
perl -0pi -e "s|X-Vaq-Folder: de-DE|X-Vaq-Folder: $victim/de-DE|; s/(msgid \"City\"\nmsgstr \")[^\"]*\"/\$1Ort\"/" "$crafted"
"$vaq" import "$crafted" --project "$project" >"$work/out" 2>"$work/err" || fail "crafted folder: $(cat "$work/out" "$work/err")"
grep -qxF "vaq import: $crafted: warning: the file was exported from the language folder $victim/de-DE; importing into $real/de-DE" \
  "$work/err" || fail "no warning naming both folders: $(cat "$work/err")"
expect_eq "$(record de-DE/AddressFrame.ruz de-DE O:AddressFrame.O:lblCity.Caption | cut -f4)" "'Ort'" \
  "an import into the folder the command names"
# Form paths that climb out, and a recorded folder that does.
xlf="$work/crafted.xlf"
"$vaq" export "$project" --lang de-DE -o "$xlf" 2>/dev/null
perl -0pi -e 's|vaq:folder="de-DE"|vaq:folder="../victim/de-DE"|; s|original="AddressFrame.rux"|original="../../victim/de-DE/AddressFrame.rux"|;
              s|original="MainForm.rux"|original="'"$victim"'/de-DE/MainForm.rux"|;
              s/(<source>City<\/source>\s*<target>)Ort/$1Stadt/' "$xlf"
if "$vaq" import "$xlf" --project "$project" >"$work/out" 2>"$work/err"; then fail "a form path outside the project imports"; fi
grep -qF "the form file ../../victim/de-DE/AddressFrame.rux lies outside the language folder $real/de-DE" "$work/err" &&
  grep -qF "the form file $victim/de-DE/MainForm.rux lies outside the language folder $real/de-DE" "$work/err" ||
  fail "form paths outside: $(cat "$work/err")"
grep -qF "exported from the language folder ../victim/de-DE; importing into $real/de-DE" "$work/err" ||
  fail "a recorded folder outside is followed: $(cat "$work/err")"
expect_eq "$(victim_snapshot)" "$victim_before" "nothing written outside the project"
if (cd "$project" && "$vaq" import "$xlf" --langdir "$victim/de-DE" >/dev/null 2>"$work/err"); then fail "--langdir outside the project"; fi
grep -qF "the language folder $victim/de-DE lies outside the project $real (nothing written)" "$work/err" ||
  fail "--langdir outside: $(cat "$work/err")"
expect_eq "$(victim_snapshot)" "$victim_before" "nothing written outside the project"

# An older export recorded the absolute folder and no baselines: it imports where the command says.
old="$work/old.xlf"
"$vaq" export "$project" --lang de-DE -o "$old" 2>/dev/null
perl -0pi -e 's| vaq:base="[^"]*"||g; s|vaq:folder="de-DE"|vaq:folder="/home/someone/demo/de-DE"|;
              s/(<source>United States<\/source>\s*<target>)[^<]*/$1USA/' "$old"
"$vaq" import "$old" --project "$project" --lang de-DE >"$work/out" 2>"$work/err" || fail "old export: $(cat "$work/out" "$work/err")"
grep -qF "exported from the language folder /home/someone/demo/de-DE; importing into $real/de-DE" "$work/err" ||
  fail "old export warning: $(cat "$work/err")"
expect_eq "$(record de-DE/AddressFrame.ruz de-DE "O:AddressFrame.O:cbCountry.Items.Strings[2]" | cut -f4)" "'USA'" \
  "an older export"

# --lang that contradicts the file's language is named.
"$vaq" import "$old" --project "$project" --lang ru-RU --dry-run >/dev/null 2>"$work/err" || true
grep -qF "warning: the file holds translations into de-DE; --lang names ru-RU" "$work/err" ||
  fail "--lang against the file's language: $(cat "$work/err")"

# A language folder of its own (--langdir) travels relative to the project.
mkdir -p "$project/lang"
"$vaq" update "$project" --lang fr-FR --langdir "$project/lang/fr" --quiet || fail "update into lang/fr"
"$vaq" export "$project" --langdir "$project/lang/fr" --format po -o "$work/fr.po" 2>/dev/null
grep -qx '"X-Vaq-Folder: lang/fr\\n"' "$work/fr.po" || fail "--langdir is not recorded relative to the project"
perl -0pi -e 's/(msgid "City"\nmsgstr ")"/$1Ville"/' "$work/fr.po"
(cd "$project" && "$vaq" import "$work/fr.po" >"$work/out") || fail "import into lang/fr: $(cat "$work/out")"
expect_eq "$(record lang/fr/AddressFrame.ruz fr-FR O:AddressFrame.O:lblCity.Caption | cut -f4)" "'Ville'" "--langdir"

# A translated form edited since its notes were written: the import reads the edit back into the
# notes first and takes the file's other units; the notes and the form hold both, and the notes
# are up to date afterwards.
"$vaq" export "$project" --lang ru-RU -o "$work/edited.xlf" 2>/dev/null
perl -0pi -e 's/(<source>City<\/source>\s*<target>)[^<]*/$1Gorod/' "$work/edited.xlf"
grep -q "Gorod" "$work/edited.xlf" || fail "the exchange file was not edited"
# The translated form is binary: edited as text, written back binary.
"$vaq" convert "$project/ru-RU/AddressFrame.rux" "$work/AddressFrame.txt" --to text >/dev/null
perl -0pi -e "s/(object lblStreet: TLabel.*?Caption = )[^\r\n]*/\$1'Ulitsa'/s" "$work/AddressFrame.txt"
"$vaq" convert "$work/AddressFrame.txt" "$project/ru-RU/AddressFrame.rux" --to binary >/dev/null
# The file's older translation of the edited value is refused: the edit is newer than the export.
if "$vaq" import "$work/edited.xlf" --project "$project" >"$work/out"; then fail "the edit read back is overwritten"; fi
grep -q "AddressFrame.ruz: taken 1, left alone [0-9]*, refused 1" "$work/out" || fail "edited form counts: $(cat "$work/out")"
grep -q "O:AddressFrame.O:lblStreet.Caption: translated since the export" "$work/out" || fail "edited form refusal: $(cat "$work/out")"
expect_eq "$(record ru-RU/AddressFrame.ruz ru-RU O:AddressFrame.O:lblStreet.Caption | cut -f4)" "'Ulitsa'" \
  "the edit of the translated form is read back"
expect_eq "$(record ru-RU/AddressFrame.ruz ru-RU O:AddressFrame.O:lblCity.Caption | cut -f4)" "'Gorod'" \
  "the unit imported over an edited form"
expect_eq "$(extracted ru-RU/AddressFrame.rux ru-RU O:AddressFrame.O:lblStreet.Caption)" "'Ulitsa'" "the edit stays in the form"
expect_eq "$(extracted ru-RU/AddressFrame.rux ru-RU O:AddressFrame.O:lblCity.Caption)" "'Gorod'" "the unit reaches the form"
before=$(snapshot)
"$vaq" stats "$project/ru-RU/AddressFrame.rux" --refresh >/dev/null || fail "stats --refresh after the import"
expect_eq "$(snapshot)" "$before" "the notes are up to date after the import over an edited form"

# A document type is refused with its line, before anything is read: nothing written.
sed '1a <!DOCTYPE xliff [<!ENTITY city "Stadt">]>' "$work/stale.xlf" | sed 's|<target>Deutschland</target>|<target>\&city;</target>|' >"$work/dtd.xlf"
before=$(snapshot)
if "$vaq" import "$work/dtd.xlf" --project "$project" 2>"$work/err"; then fail "a file with a DTD imports"; fi
grep -qxF "vaq import: $work/dtd.xlf: line 2: a document type declaration (<!DOCTYPE>) is not accepted: exchange files take no DTD and no entities (nothing written)" \
  "$work/err" || fail "DTD: $(cat "$work/err")"
expect_eq "$(snapshot)" "$before" "a file with a DTD changes nothing"

echo "exchange round trips: OK"
