#!/usr/bin/env bash
# Runs the real vaq with its plug-in beside it, and once without it.
# Usage: plugin_smoke.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VAQ_CONFIG_DIR="$work/config"
fail() { echo "FAIL: $*" >&2; exit 1; }

# With the module: the host lists its own commands and the module's.
help=$("$build/vaq" --help)
grep -q '^  vaq update ' <<<"$help" || fail "--help does not list update"
grep -q '^  vaq extract ' <<<"$help" || fail "--help does not list extract (from the module)"
# Desktop commands are announced by the plain build too.
grep -q '^  vaq preview ' <<<"$help" || fail "--help does not list preview (a desktop command)"

# The main job goes through the module's file type.
cp -r "$source/examples/demo" "$work/demo"
"$build/vaq" update "$work/demo" --lang de-DE --quiet || fail "update failed"
[ -s "$work/demo/de-DE/MainForm.ruz" ] || fail "update wrote no de-DE/MainForm.ruz"

# A command the module supplies.
lines=$("$build/vaq" extract "$source/examples/demo/MainForm.rux" | wc -l)
[ "$lines" -gt 0 ] || fail "extract printed nothing"
"$build/vaq" records "$work/demo/de-DE/MainForm.rux" --check >/dev/null 2>&1 || fail "records --check failed"

# Without the module: host-only commands work, the others name the missing file.
mkdir "$work/alone"
cp "$build/vaq" "$work/alone/vaq"
"$work/alone/vaq" locale de-DE >/dev/null || fail "locale failed without the module"
"$work/alone/vaq" --version >/dev/null 2>"$work/err" || fail "--version failed without the module"
[ ! -s "$work/err" ] || fail "--version complained without the module: $(cat "$work/err")"
"$work/alone/vaq" convert "$source/examples/demo/MainForm.rux" "$work/main.bin" >/dev/null 2>"$work/err" ||
  fail "convert failed without the module"
[ ! -s "$work/err" ] || fail "convert complained without the module: $(cat "$work/err")"
if "$work/alone/vaq" update "$work/demo" --lang de-DE 2>"$work/err"; then
  fail "update succeeded without the module"
fi
grep -q 'librux.so' "$work/err" || fail "the message does not name librux.so: $(cat "$work/err")"
if "$work/alone/vaq" extract "$source/examples/demo/MainForm.rux" 2>"$work/err"; then
  fail "extract succeeded without the module"
fi
grep -q 'librux.so' "$work/err" || fail "the message does not name librux.so: $(cat "$work/err")"
echo "plug-in smoke test passed"
