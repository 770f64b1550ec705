#!/bin/sh
# Runs a program on the current display, or on a virtual one when there is none.
# With --window-manager WM first: always on a new virtual display on which the window
# manager WM runs (exit 77, a skip, when WM is not installed); the program is told its
# name in PLANDOWN_WINDOW_MANAGER.
export NO_AT_BRIDGE=1
case "${1:-}" in
  --window-manager)
    wm=$2
    shift 2
    if ! command -v "$wm" >/dev/null 2>&1 || ! command -v xprop >/dev/null 2>&1; then
      echo "with_display.sh: $wm or xprop is not installed; skipped" >&2
      exit 77
    fi
    exec xvfb-run -a -s '-screen 0 1024x768x24' "$0" --on-display-with "$wm" "$@"
    ;;
  --on-display-with)
    wm=$2
    shift 2
    wm_log=$(mktemp)
    "$wm" >"$wm_log" 2>&1 &
    wm_pid=$!
    # The window manager has taken the display once it names itself on the root window.
    tries=0
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
      tries=$((tries + 1))
      if [ "$tries" -gt 2000 ] || ! kill -0 "$wm_pid" 2>/dev/null; then
        echo "with_display.sh: $wm did not start:" >&2
        cat "$wm_log" >&2
        kill "$wm_pid" 2>/dev/null
        rm -f "$wm_log"
        exit 1
      fi
      sleep 0.01
    done
    PLANDOWN_WINDOW_MANAGER=$wm "$@"
    status=$?
    kill "$wm_pid" 2>/dev/null
    wait "$wm_pid" 2>/dev/null
    rm -f "$wm_log"
    exit $status
    ;;
esac
if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
exec xvfb-run -a -s '-screen 0 1024x768x24' "$@"
