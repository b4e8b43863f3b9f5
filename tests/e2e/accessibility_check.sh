#!/usr/bin/env bash
# Inside the lab's workstation namespace: runs the utility's real window on a private X server
# with a session bus and the accessibility bus, and reads it through AT-SPI as a screen reader
# does (accessible_names.py).
# Usage: accessibility_check.sh UTILITY
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
utility=$1
work=$(mktemp -d /tmp/ofu-a11y.XXXXXX)
trap 'kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT

: >"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [[ -n "$(tr -dc '0-9' <"$work/display")" ]] && break
  sleep 0.1
done
display=$(tr -dc '0-9' <"$work/display")
[[ -n "$display" ]] || { echo "Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }

mkdir -m 700 "$work/runtime"
env -u DBUS_SESSION_BUS_ADDRESS DISPLAY=":$display" XDG_RUNTIME_DIR="$work/runtime" HOME="$work" \
  XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_STATE_HOME="$work/state" \
  QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
  dbus-run-session -- sh -c '
    "$1" >"$2/utility.log" 2>&1 &
    utility=$!
    /usr/bin/python3 "$3/accessible_names.py" 30 ${OFU_A11Y_DUMP:+--dump}
    status=$?
    kill "$utility" 2>/dev/null
    wait "$utility" 2>/dev/null
    [ "$status" -eq 0 ] || cat "$2/utility.log" >&2
    exit "$status"' accessibility "$utility" "$work" "$here"
