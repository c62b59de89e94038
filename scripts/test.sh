#!/usr/bin/env bash
# Builds everything and runs the whole test suite: once in build/, once more with
# AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/. Both runs share one private
# PostgreSQL cluster for the translation repository's server tests, and include the desktop tests
# on an Xvfb server that CTest starts for them (label x11; tests/x11/xvfb.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
. scripts/postgres.sh
# The desktop tests on a real X server (CTest label x11) need Xvfb, and xdotool and xmodmap to type
# through it; Qt's xcb platform plugin comes with qt6-base-dev.
vaq_install_deps postgresql xvfb xauth xdotool x11-xserver-utils
command -v Xvfb >/dev/null || { echo "Xvfb is missing: the desktop tests on X would be skipped" >&2; exit 1; }
# The repository's server tests run against a private PostgreSQL cluster, stopped however the run ends.
trap vaq_stop_postgres EXIT
vaq_start_postgres

echo "== build (build/)"
vaq_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
# The desktop tests on the X server run after the others, one at a time; one that fails is run
# once more before it counts (real key and mouse events on a loaded machine can time out), and the
# log keeps both runs.
echo "== tests"
ctest --test-dir build --output-on-failure -j "$(nproc)" -LE x11
ctest --test-dir build --output-on-failure -L x11 --repeat until-pass:2

echo "== build with sanitizers (build-asan/)"
vaq_build build-asan -DCMAKE_BUILD_TYPE=Debug -DVAQ_SANITIZE=ON
echo "== tests with sanitizers"
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp
ctest --test-dir build-asan --output-on-failure -j "$(nproc)" -LE x11
ctest --test-dir build-asan --output-on-failure -L x11 --repeat until-pass:2
