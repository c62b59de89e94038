#!/usr/bin/env bash
# Builds build/ (Release with debug info) and runs every benchmark program in build/bench/.
# Arguments go to each program, e.g. scripts/bench.sh --benchmark_filter=TextToBinary
# VAQ_BENCH_BUILD names another build folder. A private PostgreSQL cluster runs meanwhile for the
# repository's server store.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
. scripts/postgres.sh
vaq_install_deps postgresql
# The translation repository's server store is measured on a private PostgreSQL cluster.
trap vaq_stop_postgres EXIT
vaq_start_postgres >/dev/null

dir=${VAQ_BENCH_BUILD:-build}
# Timings of a folder configured for another build type would mislead: reconfigure it.
if [ -f "$dir/CMakeCache.txt" ] && ! grep -q '^CMAKE_BUILD_TYPE:STRING=RelWithDebInfo$' "$dir/CMakeCache.txt"; then
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
vaq_build "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

for program in "$dir"/bench/vaq_bench_*; do
  echo "== $program"
  "$program" "$@"
done
