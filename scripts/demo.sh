#!/usr/bin/env bash
# Builds vaq and runs the translator's main job on a copy of the demo project in examples/demo:
# update the notes for two languages, pseudo-translate one, write a translated form, generate the
# resource-module projects and show the statistics.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
vaq_install_deps
vaq_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

run() {
  echo
  echo "\$ $*"
  "$@"
}

# The demo works on a copy, with a configuration folder of its own, so that neither the demo
# project nor the user's options change.
rm -rf build/demo
mkdir -p build/demo/config
cp -r examples/demo build/demo/project
export VAQ_CONFIG_DIR="$PWD/build/demo/config"
P=build/demo/project

run build/vaq --version
run build/vaq locale de-DE ru-RU
run build/vaq update $P --lang de-DE
run build/vaq update $P --lang ru-RU
run build/vaq pseudo $P/ru-RU/MainForm.ruz $P/ru-RU/OptionsDialog.ruz
run build/vaq records --check $P/de-DE/OptionsDialog.ruz
run build/vaq write $P/de-DE/MainForm.ruz --format formatted -o build/demo/MainForm.de-DE.txt
run head -n 12 build/demo/MainForm.de-DE.txt
run build/vaq project $P --lang de-DE --pascal
run build/vaq project $P --lang de-DE --cpp
run cat $P/de-DE/project.DEU.pas
run build/vaq stats $P/de-DE/MainForm.ruz $P/ru-RU/ReportView.goz
echo
echo "# A second update finds every form up to date:"
run build/vaq update $P --lang de-DE
run build/vaq extract examples/demo/OptionsDialog.rux --lang de-DE
