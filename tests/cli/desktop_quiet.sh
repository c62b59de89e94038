#!/usr/bin/env bash
# The desktop commands say nothing on standard error but their own lines when the session has no
# desktop login (no XDG_RUNTIME_DIR): without a display, and on a real X server (Xvfb, the xcb
# platform) when xvfb-run is there. The runtime folder they make for Qt is gone after each run;
# one the session names is used and left alone.
# Usage: desktop_quiet.sh BUILD_DIR SOURCE_DIR [--under-x]
set -euo pipefail
build=$1
source=$2
under_x=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VAQ_CONFIG_DIR="$work/config"
export TMPDIR="$work/tmp"
mkdir -p "$TMPDIR"
unset XDG_RUNTIME_DIR QT_QPA_PLATFORM
[ -n "$under_x" ] || unset DISPLAY WAYLAND_DISPLAY
where=${under_x:+on X}
where=${where:-without a display}
fail() { echo "FAIL ($where): $*" >&2; exit 1; }

cp -r "$source/examples/demo" "$work/demo"
"$build/vaq" update "$work/demo" --lang de-DE --quiet 2>/dev/null || fail "update failed"

# Runs a command; its standard error must be exactly the expected text, and TMPDIR empty after it.
expect_stderr() {
  local expected=$1
  shift
  "$@" >/dev/null 2>"$work/err" || [ $? -eq 1 ] || fail "$* failed: $(cat "$work/err")"
  [ "$(cat "$work/err")" = "$expected" ] || fail "$*: standard error was: $(cat "$work/err")"
  [ -z "$(ls -A "$TMPDIR")" ] || fail "$* left in TMPDIR: $(ls -A "$TMPDIR")"
}

expect_stderr "" "$build/vaq" preview "$work/demo/MainForm.rux" --lang de-DE --tree
expect_stderr "" "$build/vaq" preview "$work/demo/de-DE/MainForm.ruz" --both --png "$work/both.png"
expect_stderr "$work/edit.png: written" "$build/vaq" edit "$work/demo/de-DE/MainForm.ruz" --screenshot "$work/edit.png"
expect_stderr "$work/project.png: written" "$build/vaq" edit "$work/demo" --lang de-DE --screenshot "$work/project.png"
summary="5 forms checked, 5 with findings: 26 findings (fit 0, accelerators 0, consistency 0, untranslated 26)"
expect_stderr "$summary" "$build/vaq" check "$work/demo" --lang de-DE
[ -s "$work/both.png" ] && [ -s "$work/edit.png" ] || fail "no pictures"

# A runtime folder of the session's own is used and left in place.
mkdir -m 700 "$work/runtime"
XDG_RUNTIME_DIR="$work/runtime" expect_stderr "" "$build/vaq" preview "$work/demo/MainForm.rux" --lang de-DE --tree
[ -d "$work/runtime" ] || fail "the session's runtime folder was removed"

if [ -n "$under_x" ]; then
  # The windows themselves, on the xcb platform: shown until they are ended.
  for command in "preview $work/demo/de-DE/MainForm.ruz" "edit $work/demo/de-DE/MainForm.ruz"; do
    set +e
    timeout 4 "$build/vaq" $command >/dev/null 2>"$work/err"
    status=$?
    set -e
    [ "$status" -eq 124 ] || fail "vaq $command ended with $status before it was stopped: $(cat "$work/err")"
    [ ! -s "$work/err" ] || fail "vaq $command: standard error was: $(cat "$work/err")"
  done
  echo "desktop commands quiet on X: ok"
  exit 0
fi
echo "desktop commands quiet without a display: ok"
if command -v xvfb-run >/dev/null && command -v Xvfb >/dev/null; then
  xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$build" "$source" --under-x
else
  echo "xvfb-run is missing: the run on a real X server is skipped (Debian package xvfb)"
fi
