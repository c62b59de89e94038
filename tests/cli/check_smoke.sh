#!/usr/bin/env bash
# Runs the real vaq check (a desktop command: the host loads librux_desktop.so for it) on a copy
# of the demo project updated for de-DE, without a display.
# Usage: check_smoke.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VAQ_CONFIG_DIR="$work/config"
unset DISPLAY WAYLAND_DISPLAY
fail() { echo "FAIL: $*" >&2; exit 1; }

cp -r "$source/examples/demo" "$work/demo"
"$build/vaq" update "$work/demo" --lang de-DE --quiet || fail "update failed"

# The untranslated demo: untranslated texts only, one line each, and exit status 1.
status=0
"$build/vaq" check "$work/demo" --lang de-DE >"$work/out" 2>"$work/err" || status=$?
[ "$status" = 1 ] || fail "check exited with $status on findings"
grep -q $'\tuntranslated\t' "$work/out" || fail "no untranslated finding: $(cat "$work/out")"
if grep -v $'\tuntranslated\t' "$work/out"; then fail "findings other than untranslated"; fi
grep -q '^5 forms checked, 5 with findings' "$work/err" || fail "no summary: $(cat "$work/err")"

# The other kinds find nothing there: exit status 0.
"$build/vaq" check "$work/demo" --lang de-DE --only fit,accelerators,consistency >"$work/out" 2>&1 ||
  fail "findings on the untranslated demo: $(cat "$work/out")"

# JSON for tools, and pictures of the forms with findings.
"$build/vaq" check "$work/demo/de-DE/MainForm.ruz" --format json --png "$work/png" >"$work/json" 2>/dev/null || true
grep -q '"kind": "untranslated"' "$work/json" || fail "no JSON finding: $(cat "$work/json")"
grep -q '"formsWithFindings": 1' "$work/json" || fail "no JSON summary: $(cat "$work/json")"
[ "$(head -c 4 "$work/png/MainForm.png" | tail -c 3)" = "PNG" ] || fail "no picture in $work/png"

# Usage errors.
status=0
"$build/vaq" check "$work/demo" --lang de-DE --only spelling 2>/dev/null || status=$?
[ "$status" = 2 ] || fail "an unknown kind gave $status, not 2"
echo "check smoke test passed"
