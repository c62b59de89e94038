#!/usr/bin/env bash
# Builds vaq and runs it on the bundled demo project in examples/demo.
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

mkdir -p build/demo
run build/vaq --version
run build/vaq --help
run build/vaq locale de-DE ru-RU JPN '$0804'
run build/vaq records --check examples/demo/MainForm.rux
run build/vaq convert examples/demo/MainForm.rux build/demo/MainForm.bin --to binary
run build/vaq convert build/demo/MainForm.bin build/demo/MainForm.txt
# The notes commands work on a copy, so the demo project stays as it is.
cp examples/demo/MainForm.rux examples/demo/MainForm.ruz build/demo/
run build/vaq search ok build/demo/MainForm.rux --ignore-accelerators
run build/vaq pseudo build/demo/MainForm.rux
run build/vaq stats build/demo/MainForm.rux
run build/vaq dict build/demo/MainForm.rux --out build/demo/dictionary.txt
run build/vaq extract examples/demo/MainForm.rux --lang de-DE
