#!/usr/bin/env bash
# The X server of the desktop tests (CTest fixture "x11"): tests/x11/xvfb.sh start|stop STATE_DIR.
# start runs Xvfb on a display number it picks itself (-displayfd, so parallel builds never share
# one), waits until it takes connections and writes the number to STATE_DIR/display; stop ends
# that server. Without Xvfb, start exits with 77 and the desktop tests skip themselves.
set -euo pipefail
action=$1
state=$2
case "$action" in
  start)
    if ! command -v Xvfb >/dev/null; then
      echo "Xvfb is not installed (scripts/test.sh installs it); the desktop tests on X are skipped" >&2
      exit 77
    fi
    mkdir -p "$state"
    if [ -f "$state/pid" ] && kill -0 "$(cat "$state/pid")" 2>/dev/null; then
      kill "$(cat "$state/pid")" || true
    fi
    rm -f "$state/display" "$state/pid"
    # A screen large enough for the editor and both previews side by side.
    Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp -noreset 3>"$state/display.new" \
      >"$state/xvfb.log" 2>&1 </dev/null &
    echo $! >"$state/pid"
    for _ in $(seq 100); do
      if [ -s "$state/display.new" ]; then
        mv "$state/display.new" "$state/display"
        echo "Xvfb on :$(cat "$state/display")"
        exit 0
      fi
      kill -0 "$(cat "$state/pid")" 2>/dev/null || break
      sleep 0.1
    done
    echo "Xvfb did not start:" >&2
    cat "$state/xvfb.log" >&2
    exit 1
    ;;
  stop)
    if [ -f "$state/pid" ]; then
      kill "$(cat "$state/pid")" 2>/dev/null || true
      rm -f "$state/pid" "$state/display"
    fi
    ;;
  *)
    echo "usage: $0 start|stop STATE_DIR" >&2
    exit 2
    ;;
esac
