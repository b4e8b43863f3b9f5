#!/usr/bin/env bash
# Inside the lab's workstation namespace: starts the installed utility of the clean root ROOT
# offscreen and checks that it came up — its first search reaches the lab's device — and stays
# up; then ends it. Then the installed ofu maps the device's share, whose files its installed
# mount helper serves, and unmaps it.
# Usage: installed_window_check.sh ROOT
set -uo pipefail
root=$1
journal=$OFU_LAB_DIR/journal-dev1.jsonl

chroot "$root" env -i PATH=/usr/bin:/bin HOME=/tmp XDG_RUNTIME_DIR=/tmp/runtime QT_QPA_PLATFORM=offscreen \
  sh -c 'mkdir -p -m 700 /tmp/runtime && exec ostrel-ferrow-utility' >"$OFU_LAB_DIR/installed-window.log" 2>&1 &
pid=$!
searched=""
for _ in $(seq 100); do
  grep -q '"dir":"in"' "$journal" 2>/dev/null && { searched=yes; break; }
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
sleep 2
status=0
if [[ -z "$searched" ]]; then
  echo "the installed utility's search never reached the device" >&2
  status=1
elif ! kill -0 "$pid" 2>/dev/null; then
  echo "the installed utility ended on its own" >&2
  status=1
else
  echo "the installed utility is up offscreen and searched the lab"
fi
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
[[ $status -ne 0 ]] && { cat "$OFU_LAB_DIR/installed-window.log" >&2; exit $status; }

# The root's /dev has no FUSE device of its own: the machine's, for this check only.
touch "$root/dev/fuse" && mount --bind /dev/fuse "$root/dev/fuse" || exit 1
in_root() { chroot "$root" env -i PATH=/usr/bin:/bin HOME=/tmp "$@"; }
mapped=$(in_root ofu map 10.77.1.10 HDD_a Z: 2>&1)
folder=$(sed -n 's/^Z: is at //p' <<<"$mapped")
if [[ -n "$folder" ]] && in_root ls "$folder" | grep -q README.txt && in_root ofu unmap Z: >/dev/null; then
  echo "the installed ofu mapped the device's share, its files were in $folder, and it unmapped it"
else
  echo "the installed ofu could not map and unmap a drive: $mapped" >&2
  status=1
fi
umount "$root/dev/fuse"
exit $status
