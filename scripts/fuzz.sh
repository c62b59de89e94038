#!/usr/bin/env bash
# Fuzzes the form conversions with libFuzzer: scripts/fuzz.sh [SECONDS] runs each target for
# SECONDS seconds (60 by default). Builds build-fuzz/ with clang and the sanitizers, starts each
# target from its seed corpus in fuzz/corpus/<name>/ copied into build-fuzz/corpus-<name>/ (kept
# between runs, so coverage accumulates), and fails when a target finds a crash, a leak, a hang or
# runaway memory, naming the file that holds the input.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
. scripts/deps.sh
vaq_install_deps clang libclang-rt-14-dev

dir=build-fuzz
if [ ! -f "$dir/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVAQ_FUZZ=ON \
    -DVAQ_BUILD_TESTS=OFF >/dev/null
fi
names="text_to_binary binary_to_text form_values"
targets=""
# The readers' targets: the notes reader with the record codec, XLIFF 2.0, XLIFF 1.2, PO and the
# module image (fuzz/fuzz_<name>.cpp, seeds in fuzz/corpus/<name>/).
names="$names notes xliff2 xliff12 po exe_image"
for name in $names; do targets="$targets fuzz_$name"; done
cmake --build "$dir" -j "$(nproc)" --target $targets

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# What system libraries keep until the end (GNU gettext's PO reader among them) is not ours.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan.supp}
failed=0
for name in $names; do
  corpus=$dir/corpus-$name
  artifacts=$dir/artifacts-$name
  log=$dir/fuzz_$name.log
  mkdir -p "$corpus" "$artifacts"
  cp fuzz/corpus/"$name"/* "$corpus"/
  echo "== fuzz_$name: $seconds s (log: $log)"
  if "$dir/fuzz/fuzz_$name" "$corpus" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
    -max_len=65536 -artifact_prefix="$artifacts/" -print_final_stats=1 >"$log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^Done' "$log" || true
  else
    failed=1
    tail -n 40 "$log"
    echo "fuzz_$name FAILED; the input is in:"
    grep -E 'Test unit written to|written to' "$log" | sed 's/.*written to /  /' || ls -t "$artifacts" | head -n 1
    echo "Reproduce with: $dir/fuzz/fuzz_$name <file>"
  fi
done
exit $failed
