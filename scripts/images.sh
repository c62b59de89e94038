#!/usr/bin/env bash
# Renders the demo's forms into docs/images/ with `vaq preview --both --png`: each form as the
# original (English) and the German translation side by side, and the main form in Russian; and the
# editor with `vaq edit --screenshot`: docs/editor.png, the editor with its translated preview in
# German and in Russian, and the suggestions pane.
# The demo project is copied, updated for both languages and given translations first, so that
# neither examples/demo nor the user's options change.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
vaq_install_deps
vaq_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

W=build/images
rm -rf "$W"
mkdir -p "$W/config" docs/images
cp -r examples/demo "$W/project"
export VAQ_CONFIG_DIR="$PWD/$W/config"
P="$W/project"
# A settings dialog with two pages, for the picture of a page control.
cat >"$P/SettingsPages.pas" <<'UNIT'
unit SettingsPages;
interface
uses Forms, ComCtrls, StdCtrls;
type
  TSettingsPages = class(TForm)
  end;
implementation
{$R *.rux}
end.
UNIT
cat >"$P/SettingsPages.rux" <<'FORM'
object SettingsPages: TSettingsPages
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'Settings'
  ClientHeight = 200
  ClientWidth = 300
  object Pages: TPageControl
    Left = 8
    Top = 8
    Width = 284
    Height = 150
    ActivePage = tsGeneral
    object tsGeneral: TTabSheet
      Caption = 'General'
      object chkStart: TCheckBox
        Left = 8
        Top = 12
        Width = 250
        Caption = 'Open the last order at start'
      end
    end
    object tsPrint: TTabSheet
      Caption = 'Printing'
      object chkColour: TCheckBox
        Left = 8
        Top = 12
        Width = 250
        Caption = 'Print in colour'
      end
    end
  end
  object btnClose: TButton
    Left = 217
    Top = 166
    Caption = 'Close'
  end
end
FORM
build/vaq update "$P" --lang de-DE --quiet
build/vaq update "$P" --lang ru-RU --quiet
build/vaq update "$P" --lang ja-JP --quiet

# translate NOTES ORIGINAL TRANSLATION...: sets the current value of the records whose current
# value is ORIGINAL (texts in form notation, 8-bit in the language's code page).
translate() {
  local notes=$1
  shift
  while [ $# -ge 2 ]; do
    sed -i "s/\x04Curr:'$1'\x04/\x04Curr:'$2'\x04/" "$notes"
    shift 2
  done
}

# German, in code page 1252.
ue=$'\xDC'  # Ü
sz=$'\xDF'  # ß
oe=$'\xD6'  # Ö
oes=$'\xF6'  # ö
D="$P/de-DE"
translate "$D/MainForm.ruz" 'First' 'Erste' 'Sum' 'Summe' 'Street (delivery)' "Stra${sz}e (Lieferung)" \
  '\&File' '\&Datei' '\&Open...' "${oe}\&ffnen..." 'E\&xit' '\&Beenden' '\&Help' '\&Hilfe' '\&About...' '\&Info...'
translate "$D/BaseDialog.ruz" 'Cancel' 'Abbrechen'
translate "$D/OptionsDialog.ruz" 'Options' 'Optionen' '\&Apply' "${ue}\&bernehmen" 'Cancel' 'Abbrechen' \
  'Save orders automatically' 'Bestellungen automatisch speichern' 'Units' 'Einheiten' 'Metric' 'Metrisch' \
  'Imperial' 'Britisch'
translate "$D/AddressFrame.ruz" 'Street' "Stra${sz}e" 'City' 'Ort' 'Germany' 'Deutschland' 'Russia' 'Russland' \
  'United States' 'Vereinigte Staaten'
translate "$D/SettingsPages.ruz" 'Settings' 'Einstellungen' 'General' 'Allgemein' 'Printing' 'Drucken' \
  'Open the last order at start' "Beim Start die letzte Bestellung ${oes}ffnen" 'Print in colour' 'Farbig drucken' \
  'Close' "Schlie${sz}en"
translate "$D/ReportView.goz" 'Monthly report' 'Monatsbericht' 'Sales by month' 'Umsatz nach Monat' 'Ready' 'Bereit' \
  'No filter' 'Kein Filter'

# Russian, in code page 1251.
R="$P/ru-RU"
translate "$R/MainForm.ruz" 'Orders' $'\xC7\xE0\xEA\xE0\xE7\xFB' 'First' $'\xCF\xE5\xF0\xE2\xFB\xE9' \
  'Date' $'\xC4\xE0\xF2\xE0' 'Sum' $'\xD1\xF3\xEC\xEC\xE0' '\&File' $'\\&\xD4\xE0\xE9\xEB' \
  '\&Help' $'\\&\xD1\xEF\xF0\xE0\xE2\xEA\xE0' 'Street (delivery)' $'\xD3\xEB\xE8\xF6\xE0 (\xE4\xEE\xF1\xF2\xE0\xE2\xEA\xE0)'

# Japanese, in code page 932: 注文 (orders), 日付 (date), 合計 (sum).
translate "$P/ja-JP/MainForm.ruz" 'Orders' $'\x92\x8D\x95\xB6' 'Date' $'\x93\xFA\x95\x74' 'Sum' $'\x8D\x87\x8C\x76'

# The inherited dialog previews with its base dialog's buttons: the update records the form files
# it builds on in its notes header.
for form in MainForm.rux BaseDialog.rux OptionsDialog.rux AddressFrame.rux ReportView.gox SettingsPages.rux; do
  echo "docs/images/${form%.*}.png"
  build/vaq preview "$P/$form" --both --lang de-DE --png "docs/images/${form%.*}.png"
done
echo "docs/images/MainForm.ru-RU.png"
build/vaq preview "$P/MainForm.rux" --translated --lang ru-RU --png docs/images/MainForm.ru-RU.png
echo "docs/images/MainForm.ja-JP.png"
build/vaq preview "$P/MainForm.rux" --translated --lang ja-JP --png docs/images/MainForm.ja-JP.png

# The designer on a German dialog: the OK button moved and widened by its handles (a test of the
# designer draws it).
echo "docs/images/designer.png"
VAQ_DESIGNER_PICTURE="$PWD/docs/images/designer.png" QT_QPA_PLATFORM=offscreen \
  build/tests/test_designer_qt --gtest_filter='LiveDesignerRoundTrip.*' >/dev/null

# The editor. Its window options live in registry.ini: the translated preview is shown for the
# pictures with it.
editor_options() {
  printf '[Software\\Vaq\\Translator\\RUX]\nStayOnTop=bool:0\nShowOrigForm=bool:0\nShowXlatForm=bool:%s\n' "$1" \
    >"$VAQ_CONFIG_DIR/registry.ini"
}
editor_options 0
echo "docs/editor.png"
build/vaq edit "$P" --lang de-DE --screenshot docs/editor.png 2>/dev/null
editor_options 1
for lang in de-DE ru-RU; do
  echo "docs/images/editor-preview.$lang.png"
  build/vaq edit "$P/$lang/MainForm.ruz" --goto O:MainForm.Caption --screenshot "docs/images/editor-preview.$lang.png" \
    2>/dev/null
done
editor_options 0

# The suggestions pane: the repository knows two texts like the save button's hint (stored from a
# copy of the German notes with other originals), and the editor opens on that hint.
S="$W/similar"
mkdir -p "$S"
cp "$D/MainForm.rux" "$D/MainForm.ruz" "$S/"
cp "$D/MainForm.rux" "$S/Second.rux"
cp "$D/MainForm.ruz" "$S/Second.ruz"
LC_ALL=C sed -i "s/Orig:'Save the order and close'\x04Status:1\x04Curr:'[^']*'/Orig:'Save the order and close it'\x04Status:1\x04Curr:'Bestellung speichern und dann schlie${sz}en'/" "$S/MainForm.ruz"
LC_ALL=C sed -i "s/Orig:'Save the order and close'\x04Status:1\x04Curr:'[^']*'/Orig:'Save order and close'\x04Status:1\x04Curr:'Auftrag speichern und schlie${sz}en'/" "$S/Second.ruz"
build/vaq repository add "$S/MainForm.ruz" "$S/Second.ruz" >/dev/null
echo "docs/images/editor-suggestions.png"
build/vaq edit "$D/MainForm.ruz" --goto O:MainForm.O:btnOK.Hint --screenshot docs/images/editor-suggestions.png 2>/dev/null
