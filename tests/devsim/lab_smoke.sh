#!/bin/bash
# Lab smoke test: builds the lab with a tiny config, checks from the workstation namespace
# that the simulated devices answer on both links, that the devices' smbd and web servers
# serve what the config says (an SMB1-only one on port 139 alone too), and that their names
# are known to NetBIOS alone, changes one device's address (which then moves in its
# namespace), takes the lab down and checks that no namespace, process or hosts file is left.
# The add-on folders of both families must be on the share_name shares and writable by a
# guest, and absent with "addon_folders": false.
# Usage: lab_smoke.sh OFU_DEVSIM_BINARY REPO_ROOT. Exit 77 (skipped) when not root.
set -u

DEVSIM=${1:?usage: lab_smoke.sh OFU_DEVSIM_BINARY REPO_ROOT}
REPO=${2:?usage: lab_smoke.sh OFU_DEVSIM_BINARY REPO_ROOT}

if [ "$(id -u)" -ne 0 ]; then
    echo "lab_smoke: skipped: needs root for network namespaces"
    [ "${CI:-}" = "true" ] && { echo "lab_smoke: CI=true: a skipped lab test is a failure"; exit 1; }
    exit 77
fi

# Namespaces of its own (prefix "ofus" unless OFU_LAB_NS_PREFIX names another), so a lab that
# is up or another lab test running at the same time (the default "ofu", the end-to-end
# tests' "ofut") is not touched.
export OFU_LAB_NS_PREFIX=${OFU_LAB_NS_PREFIX:-ofus}
export OFU_DEVSIM="$DEVSIM"
export OFU_LAB_DIR
OFU_LAB_DIR=$(mktemp -d /tmp/ofu-lab-smoke.XXXXXX)
LAB="$REPO/scripts/lab"
PROBE="$REPO/tests/devsim/lab_probe.py"
CONFIG="$OFU_LAB_DIR/smoke.json"
failures=0

fail() {
    echo "lab_smoke: FAIL: $*"
    failures=$((failures + 1))
}

cleanup() {
    "$LAB" down >/dev/null 2>&1
    rm -rf "$OFU_LAB_DIR"
}
trap cleanup EXIT

cat >"$CONFIG" <<'EOF'
{"devices": [
  {"name": "SMOKE1", "ip": "10.77.1.21", "gateway": "10.77.1.1", "device_id": "02:00:00:00:00:21",
   "answer_form": 8, "model": "OFN-420", "volumes": ["HDD_a", "USB1"], "link": "dev1",
   "shares": {"USB1": {"user": "smokeuser", "password": "smoke pw$1"}}},
  {"name": "SMOKE2", "ip": "10.77.2.22", "device_id": "02:00:00:00:00:22", "answer_form": 2,
   "answer_to": "unicast", "link": "dev2", "ssl": "1"},
  {"name": "SMOKE3", "ip": "10.77.1.23", "device_id": "02:00:00:00:00:23", "volumes": ["bad name"],
   "link": "dev1", "web": false},
  {"name": "SMOKE4", "ip": "10.77.2.24", "device_id": "02:00:00:00:00:24", "volumes": ["HDD_1"],
   "share_name": "hdd_1", "link": "dev2", "web": false, "smb_protocol": "NT1", "smb_ports": [139]},
  {"name": "SMOKE5.LAB", "ip": "10.77.1.25", "device_id": "02:00:00:00:00:25", "volumes": ["HDD_a"],
   "addon_folders": false, "link": "dev1", "web": false}
]}
EOF

probe() {  # probe LOCAL_ADDRESS ARGS...: the answers as JSON lines
    local local_address=$1
    shift
    "$LAB" exec python3 "$PROBE" --wait 0.6 --local "$local_address" "$@"
}

# field FIELD NAME: reads JSON lines on stdin, prints FIELD of the answer of device NAME
field() {
    python3 -c '
import json, sys
for line in sys.stdin:
    answer = json.loads(line)
    if answer.get("ours") and answer.get("name", answer.get("address")) == sys.argv[2]:
        print(answer.get(sys.argv[1], "")); break' "$1" "$2"
}

if ! "$LAB" up "$CONFIG"; then
    echo "lab_smoke: FAIL: lab up"
    exit 1
fi
pids=$(python3 -c 'import json,sys; print(" ".join(str(s["pid"]) for s in json.load(open(sys.argv[1]))["simulators"]))' \
    "$OFU_LAB_DIR/lab.json")
[ -n "$pids" ] || fail "no simulator PIDs recorded"
servers=$(python3 -c 'import json,sys; print(" ".join(s["kind"] + "-" + s["device"] for s in json.load(open(sys.argv[1]))["servers"]))' \
    "$OFU_LAB_DIR/lab.json")
[ "$servers" = "nmbd-SMOKE1 nmbd-SMOKE4 smbd-SMOKE1 lighttpd-SMOKE1 lighttpd-SMOKE2 smbd-SMOKE4 smbd-SMOKE5.LAB" ] \
    || fail "servers recorded: $servers"

# Names: NetBIOS answers for them; the hosts file and DNS know none.
"$LAB" exec getent hosts SMOKE1 && fail "the workstation's hosts file or DNS knows SMOKE1"
out=$("$LAB" exec nmblookup SMOKE4 2>&1)
grep -q '^10.77.2.24 SMOKE4<00>$' <<<"$out" || fail "NetBIOS name of SMOKE4: $out"
grep -q "device SMOKE5.LAB: no nmbd: its name is no NetBIOS name" "$OFU_LAB_DIR/lab.log" \
    || fail "lab log lacks the device name NetBIOS can't have"

# The servers, before SMOKE1 moves away from the address they listen on. The client accepts
# SMB1 servers as well, as an old device's users have to set up.
smb() { "$LAB" exec smbclient --option='client min protocol=NT1' "$@" 2>&1; }
out=$(smb -N -g -L //SMOKE1)
{ grep -q '^Disk|HDD_a|' <<<"$out" && grep -q '^Disk|USB1|' <<<"$out"; } || fail "share list of SMOKE1: $out"
out=$(smb -N //SMOKE1/HDD_a -c 'ls; get README.txt /dev/stdout')
{ grep -q ' README.txt ' <<<"$out" && grep -q 'volume HDD_a of the lab device SMOKE1' <<<"$out"; } \
    || fail "guest share HDD_a: $out"
# shellcheck disable=SC2016  # the "$1" is part of the password: no shell may expand it
out=$(smb //SMOKE1/USB1 -U 'smokeuser%smoke pw$1' -c 'get README.txt /dev/stdout')
grep -q 'volume USB1 of the lab device SMOKE1' <<<"$out" || fail "password share with its user: $out"
out=$(smb //SMOKE1/USB1 -U 'smokeuser%wrong' -c 'ls') && fail "password share took a wrong password: $out"
grep -q NT_STATUS_LOGON_FAILURE <<<"$out" || fail "wrong password: $out"
out=$(smb -N //SMOKE1/USB1 -c 'ls') && fail "password share let a guest in: $out"
"$LAB" exec curl -sS --max-time 5 http://10.77.1.21/ | grep -q '<h1>SMOKE1 web configuration</h1>' \
    || fail "web page of SMOKE1"
"$LAB" exec curl -sSk --max-time 5 https://10.77.2.22/ | grep -q '<title>SMOKE2 web configuration</title>' \
    || fail "https page of SMOKE2"
"$LAB" exec curl -s --max-time 5 http://10.77.1.23/ >/dev/null
[ $? -eq 7 ] || fail "SMOKE3 (\"web\": false) did not refuse port 80"
grep -q "volume 'bad name' gets no share" "$OFU_LAB_DIR/lab.log" || fail "lab log lacks the unusable volume name"
out=$("$LAB" status)
grep -q '^smbd for SMOKE1 .* running; shares HDD_a (guest; add-on folders), USB1 (user smokeuser)$' <<<"$out" \
    || fail "status does not list the smbd of SMOKE1: $out"

# The add-on folders: a guest puts a file into each, and it lands in the share's folder.
echo addon >"$OFU_LAB_DIR/addon.txt"
addon_put() {  # addon_put DEVICE SHARE FOLDER
    local disk="$OFU_LAB_DIR/devices/$1/shares/vol-$2/$3/addon.txt"
    out=$(smb -N "//$1/$2" -c "put $OFU_LAB_DIR/addon.txt $3/addon.txt")
    [ "$(cat "$disk" 2>/dev/null)" = addon ] || fail "guest put into $3 on $1/$2: $out"
}
addon_put SMOKE1 HDD_a .codepages
addon_put SMOKE1 HDD_a Nas_Prog/BT
addon_put SMOKE4 HDD_1 .systemfile/.codepages
addon_put SMOKE4 HDD_1 Nas_Prog/BT
out=$("$LAB" exec smbclient -N //SMOKE4/HDD_1 -c ls 2>&1) && fail "SMOKE4 spoke more than SMB1: $out"
grep -q NT_STATUS_CONNECTION_DISCONNECTED <<<"$out" || fail "SMB2 client to SMOKE4: $out"
grep -q '^smbd for SMOKE4 .* on 10.77.2.24:139: .*; SMB1 (NT1) only$' <<<"$("$LAB" status)" \
    || fail "status does not show SMOKE4 as SMB1 on port 139"
out=$(smb -N //10.77.1.25/HDD_a -c 'ls')
grep -q 'README.txt' <<<"$out" || fail "share of SMOKE5: $out"
grep -Eq '\.codepages|Nas_Prog|\.systemfile' <<<"$out" && fail "addon_folders false still gave folders: $out"
[ -e "$OFU_LAB_DIR/devices/SMOKE1/shares/vol-USB1/.codepages" ] && fail "add-on folders on a share not named"

answers=$(probe 10.77.1.1 search)
[ "$(field address SMOKE1 <<<"$answers")" = "10.77.1.21" ] || fail "search on link 1: $answers"
[ "$(field model SMOKE1 <<<"$answers")" = "OFN-420" ] || fail "model on link 1: $answers"
[ -z "$(field address SMOKE2 <<<"$answers")" ] || fail "link 2 device answered on link 1"

answers=$(probe 10.77.2.1 search)
[ "$(field address SMOKE2 <<<"$answers")" = "10.77.2.22" ] || fail "unicast search answer on link 2: $answers"

key=$(field key SMOKE1 <<<"$(probe 10.77.1.1 search)")
answers=$(probe 10.77.1.1 query 3 "$key")
[ "$(field value 10.77.1.21 <<<"$answers")" = "HDD_a:USB1" ] || fail "volume query: $answers"

answers=$(probe 10.77.1.1 set 1 "$key" 10.77.1.77 255.255.255.0 10.77.1.1)
[ "$(field address 10.77.1.77 <<<"$answers")" = "10.77.1.77" ] || fail "static address answer: $answers"
answers=$(probe 10.77.1.1 search)
[ "$(field address SMOKE1 <<<"$answers")" = "10.77.1.77" ] || fail "search after the change: $answers"
[ "$(field from SMOKE1 <<<"$answers")" = "10.77.1.77" ] || fail "answer not sent from the new address: $answers"
held=$(ip -n "$OFU_LAB_NS_PREFIX-dev1" -br -4 addr show dev dv1)
{ grep -q ' 10.77.1.77/32' <<<"$held" && ! grep -q ' 10.77.1.21/32' <<<"$held"; } \
    || fail "the address did not move in the device namespace: $held"
grep -q '"device":"SMOKE1".*"op":5.*"payload":"10.77.1.77".*"status":"answered".*"sub":1' \
    "$OFU_LAB_DIR/journal-dev1.jsonl" || fail "journal lacks the set request"

"$LAB" exec false && fail "exec did not pass the exit status through"

"$LAB" down || fail "lab down"
for ns in "$OFU_LAB_NS_PREFIX"-ws "$OFU_LAB_NS_PREFIX"-dev1 "$OFU_LAB_NS_PREFIX"-dev2; do
    [ -e "/run/netns/$ns" ] && fail "namespace $ns left"
done
for pid in $pids; do
    if [ -r "/proc/$pid/stat" ] && ! grep -q ') Z ' "/proc/$pid/stat"; then
        fail "simulator PID $pid still running"
    fi
done
# Every server the lab started, and the helpers smbd started for the share list, name a file
# of the lab's state directory on their command line (zombies have an empty one).
left=$(python3 -c '
import os, sys
for pid in filter(str.isdigit, os.listdir("/proc")):
    try:
        args = open(f"/proc/{pid}/cmdline", "rb").read().decode(errors="replace").split("\0")
    except OSError:
        continue
    if int(pid) != os.getpid() and any(sys.argv[1] in arg for arg in args):
        print(pid, *args)' "$OFU_LAB_DIR/")
[ -z "$left" ] || fail "processes of the lab left after down: $left"
[ -e "/etc/netns/$OFU_LAB_NS_PREFIX-ws" ] && fail "hosts file left"
grep -q '"event":"stop"' "$OFU_LAB_DIR/journal-dev1.jsonl" || fail "simulator did not stop cleanly"
"$LAB" down || fail "a second lab down failed"

if [ "$failures" -ne 0 ]; then
    echo "lab_smoke: $failures check(s) failed"
    exit 1
fi
echo "lab_smoke: passed"
