#!/usr/bin/env bash
# ofu.exe under wine in the lab: the search lists every device of lab-windows.json, each
# through the local address of its own link, whether it answers to the group or to the
# sender; a query reaches a device on either link.
# Usage: ofu_exe_lab_check.sh OFU_EXE
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lab_guard.sh"
ofu=$1

listing=$("$wine" "$ofu" discover --json) || { echo "ofu.exe discover failed" >&2; exit 1; }
python3 - "$listing" <<'PY' || exit 1
import json, sys
found = {d["name"]: d for d in json.loads(sys.argv[1])}
expected = {"WIN-GROUP-1": ("10.77.1.10", "10.77.1.1"), "WIN-UNICAST-1": ("10.77.1.11", "10.77.1.1"),
            "WIN-GROUP-2": ("10.77.2.10", "10.77.2.1"), "WIN-UNICAST-2": ("10.77.2.11", "10.77.2.1")}
problems = []
for name, (ip, local) in expected.items():
    d = found.get(name)
    if d is None:
        problems.append(f"{name} not found")
    elif (d["ip"], d["local_address"]) != (ip, local):
        problems.append(f"{name}: {d['ip']} through {d['local_address']}, expected {ip} through {local}")
if len(found) != len(expected):
    problems.append(f"{len(found)} devices listed: {sorted(found)}")
print("\n".join(problems) or "every device found through its own link")
sys.exit(1 if problems else 0)
PY

for query in "10.77.1.10 HDD_a USB1" "10.77.2.11 Volume_1 Volume_2" "10.77.1.11 HDD_1"; do
  set -- $query
  address=$1; shift
  volumes=$("$wine" "$ofu" query "$address" volumes | tr -d '\r' | xargs)
  if [[ "$volumes" != "$*" ]]; then
    echo "query $address volumes gave '$volumes', expected '$*'" >&2
    exit 1
  fi
done
echo "volumes queried on both links"
