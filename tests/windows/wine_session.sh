#!/usr/bin/env bash
# Runs the Windows build's tests under wine in the current network namespace (the lab's
# workstation): a private X server, one wine server for the whole run with its prefix under the
# build folder, then ctest, then everything down again.
# Usage: wine_session.sh BUILD_DIR [CTEST_ARGS...]
set -uo pipefail
dir=$(cd "$1" && pwd); shift
wine_dir=/usr/lib/wine
export WINEPREFIX=$dir/wineprefix WINEDEBUG=-all
export OFU_XVFB_FRAMEBUFFER_DIR=$dir/xvfb
mkdir -p "$WINEPREFIX" "$OFU_XVFB_FRAMEBUFFER_DIR"

# A server of this prefix left from an interrupted run would hold sockets of another namespace.
"$wine_dir/wineserver" -k >/dev/null 2>&1 || true

# The X server listens on an abstract socket of this namespace only; it picks a free display
# and writes its number to fd 3.
display_file=$dir/xvfb.display
: >"$display_file"
Xvfb -displayfd 3 -screen 0 1024x768x24 -fbdir "$OFU_XVFB_FRAMEBUFFER_DIR" -nolisten tcp \
  3>"$display_file" >"$dir/xvfb.log" 2>&1 &
xvfb_pid=$!
display=""
for _ in $(seq 100); do
  display=$(tr -dc '0-9' <"$display_file")
  [[ -n "$display" ]] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
if [[ -z "$display" ]]; then
  echo "Xvfb did not start (see $dir/xvfb.log)" >&2
  kill "$xvfb_pid" 2>/dev/null
  exit 1
fi
export DISPLAY=:$display

stop() {
  "$wine_dir/wineserver" -k >/dev/null 2>&1
  kill "$xvfb_pid" 2>/dev/null
  wait "$xvfb_pid" 2>/dev/null
}
trap stop EXIT

# The server and the services wineboot starts outlive their commands: without the redirections
# they would hold ctest's output open.
"$wine_dir/wineserver" -p </dev/null >/dev/null 2>&1
"$wine_dir/wine64" wineboot </dev/null >/dev/null 2>&1
# Without a window manager wine draws the frames itself, and windows end at once.
"$wine_dir/wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1

ctest --test-dir "$dir" --output-on-failure "$@"
