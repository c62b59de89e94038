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

run build/vaq --version
run build/vaq --help
run build/vaq locale de-DE ru-RU JPN '$0804'
run build/vaq records --check examples/demo/MainForm.rux
