#!/usr/bin/env bash
# Inside the lab's workstation namespace: starts the installed utility of the clean root ROOT
# offscreen and checks that it came up — its first search reaches the lab's device — and stays
# up; then ends it. Then the installed ofu maps the device's share, whose files its installed
# mount helper serves, and unmaps it. The installed bash completion offers what the installed
# ofu's usage names (commands, query items, settings, languages) and the mapped letter, without
# ever running ofu.
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

# The root's /dev has no FUSE device of its own: the machine's, for this check only. The device
# is found by its name through NetBIOS, as everywhere in the lab.
touch "$root/dev/fuse" && mount --bind /dev/fuse "$root/dev/fuse" || exit 1
in_root() { chroot "$root" env -i PATH=/usr/bin:/bin HOME=/tmp "$@"; }
# The words the completion offers for a command line with the cursor at its end, sorted; ofu
# is a failing function while it runs.
offered() {
  in_root bash -c 'ofu() { echo "the completion ran ofu" >&2; return 1; }
    . /usr/share/bash-completion/completions/ofu; COMP_LINE=$1 COMP_POINT=${#1}; _ofu
    printf "%s\n" "${COMPREPLY[@]}"' _ "$1" | sort
}
expect_offered() {
  local words; words=$(offered "$1")
  [[ "$words" == "$(sort <<<"$2")" ]] || { echo "completing '$1' offered: $words; expected: $2" >&2; status=1; }
}
usage=$(in_root ofu --help)
expect_offered "ofu " "$(sed -n 's/^  ofu \([a-z][a-z-]*\).*/\1/p' <<<"$usage" | sort -u)"
expect_offered "ofu query 10.77.1.10 " "$(sed -n 's/^  ofu query ADDRESS \([^ ]*\).*/\1/p' <<<"$usage" | tr '|' '\n')"
expect_offered "ofu set 10.77.1.10 " "$(sed -n 's/^  ofu set ADDRESS \([^ ]*\).*/\1/p' <<<"$usage" | tr '|' '\n')"
# The languages, as ofu lists them for a language it does not know ("950 Traditional Chinese, ...").
languages=$(in_root ofu install-language 10.77.1.10 none 2>&1 | sed -n 's/.*(one of: \(.*\))$/\1/p' | tr ',' '\n' |
            while read -r number name; do printf '%s\n%q\n' "$number" "$name"; done)
expect_offered "ofu install-language 10.77.1.10 " "$languages"
[[ $status -eq 0 ]] && echo "the installed completion offers ofu's commands, query items, settings and languages"

mapped=$(in_root ofu map 10.77.1.10 HDD_a Z: 2>&1)
folder=$(sed -n 's/^Z: is at //p' <<<"$mapped")
expect_offered "ofu unmap " "Z:"
if [[ -n "$folder" ]] && in_root ls "$folder" | grep -q README.txt && in_root ofu unmap Z: >/dev/null; then
  echo "the installed ofu mapped the device's share, its files were in $folder, and it unmapped it"
else
  echo "the installed ofu could not map and unmap a drive: $mapped" >&2
  status=1
fi
umount "$root/dev/fuse"
exit $status
