#!/usr/bin/env bash
# The windowed utility under wine in the lab: its first search fills the device list with every
# device of lab-windows.json before the window shows; a picture of the window is saved; the
# close box ends the program.
# Usage: window_lab_check.sh UTILITY_EXE PROBE_EXE PICTURE_PNG
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lab_guard.sh"
utility=$1 probe=$2 picture=$3
caption="Ostrel Ferrow Utility"

started=$(date +%s%N)
"$wine" "$utility" &
utility_pid=$!
listing=$("$wine" "$probe" list "$caption" 30000 4 | tr -d '\r')
probe_status=$?
shown=$(( ($(date +%s%N) - started) / 1000000 ))
echo "$listing"
echo "main window with its devices after $shown ms"

status=0
if [[ $probe_status -ne 0 ]]; then
  echo "the probe found no window with the devices" >&2
  status=1
else
  for row in "WIN-GROUP-1	10.77.1.10" "WIN-UNICAST-1	10.77.1.11" "WIN-GROUP-2	10.77.2.10" "WIN-UNICAST-2	10.77.2.11"; do
    grep -qF "row	$row	" <<<"$listing" || { echo "missing row: $row" >&2; status=1; }
  done
  # The picture, once the window is drawn in the dialog colours: the background
  # RGB(0, 98, 147) covers most of it.
  read -r _ x y w h < <(grep '^window ' <<<"$listing")
  if [[ -n "${OFU_XVFB_FRAMEBUFFER_DIR:-}" && -n "${h:-}" ]]; then
    share=0
    for _ in $(seq 20); do
      share=$(python3 "$here/framebuffer_png.py" "$OFU_XVFB_FRAMEBUFFER_DIR/Xvfb_screen0" "$picture" \
                "$x" "$y" "$w" "$h" --share 0,98,147) || share=0
      [[ "$share" > "0.300" ]] && break
      sleep 0.25
    done
    echo "picture: $picture ($share of it in the dialog background colour)"
    [[ "$share" > "0.300" ]] || { echo "the window is not drawn in the dialog colours" >&2; status=1; }
  fi
fi

"$wine" "$probe" close "$caption"
for _ in $(seq 100); do
  kill -0 "$utility_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$utility_pid" 2>/dev/null; then
  echo "the utility did not end after its window was closed" >&2
  kill "$utility_pid"
  status=1
fi
wait "$utility_pid" 2>/dev/null
exit $status
