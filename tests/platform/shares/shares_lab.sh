#!/usr/bin/env bash
# Drive connections against a real smbd: brings up a lab of its own (prefix "ofup") with one
# device, SHRNAS at 10.77.1.50, starts a private smbd for it in the device namespace with a
# guest share HDD_a and a password share HDD_p (user shruser, password secret1), and runs
# CHECK_PROGRAM in the workstation namespace twice: without a session bus (libsmbclient only)
# and under dbus-run-session (with the GVFS mount). Everything it started is stopped by PID.
# The device config lists no volumes, so the lab starts no smbd of its own for the device.
# Usage: shares_lab.sh OFU_DEVSIM_BINARY CHECK_PROGRAM REPO_ROOT
# Exit 77 (skipped) when not root; under CI=true a skip is a failure.
set -uo pipefail

devsim=${1:?usage: shares_lab.sh OFU_DEVSIM_BINARY CHECK_PROGRAM REPO_ROOT}
check=${2:?usage: shares_lab.sh OFU_DEVSIM_BINARY CHECK_PROGRAM REPO_ROOT}
repo=${3:?usage: shares_lab.sh OFU_DEVSIM_BINARY CHECK_PROGRAM REPO_ROOT}
here=$(cd "$(dirname "$0")" && pwd)

if [[ $(id -u) -ne 0 ]]; then
  echo "shares_lab: SKIPPED: the lab network needs root (network namespaces and veth pairs)" >&2
  [[ "${CI:-}" == "true" ]] && { echo "shares_lab: CI=true: a skipped lab test is a failure" >&2; exit 1; }
  exit 77
fi
for tool in smbd smbpasswd dbus-run-session unshare; do
  command -v "$tool" >/dev/null || { echo "shares_lab: $tool is not installed" >&2; exit 1; }
done

export OFU_LAB_NS_PREFIX=ofup
export OFU_DEVSIM="$devsim"
export OFU_LAB_DIR
OFU_LAB_DIR=$(mktemp -d /tmp/ofup-lab.XXXXXX)
lab="$repo/scripts/lab"
smb="$OFU_LAB_DIR/smb"
device_ns="$OFU_LAB_NS_PREFIX-dev1"
smbd_pid=""

cleanup() {
  if [[ -n "$smbd_pid" ]] && kill -0 "$smbd_pid" 2>/dev/null; then
    kill -TERM "$smbd_pid"
    for _ in $(seq 50); do kill -0 "$smbd_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$smbd_pid" 2>/dev/null && kill -KILL "$smbd_pid"
    wait "$smbd_pid" 2>/dev/null
  fi
  "$lab" down >/dev/null 2>&1 || "$lab" down
  rm -rf "$OFU_LAB_DIR"
}
trap cleanup EXIT

"$lab" up "$here/lab-shares.json" || exit 1

# ---- the private smbd -------------------------------------------------------------------
mkdir -p "$smb"/{private,lock,state,cache,pid,ncalrpc,log,share_a,share_p}
chmod 755 "$OFU_LAB_DIR" "$smb"  # the share user must reach its folder
chmod 1777 "$smb/share_a"
printf 'SHRNAS HDD_a\n' >"$smb/share_a/README.txt"
mkdir -p "$smb/share_a/backup"
printf 'SHRNAS HDD_p\n' >"$smb/share_p/private.txt"
chown -R 4243:4243 "$smb/share_p"
cp /etc/passwd "$smb/passwd"
cp /etc/group "$smb/group"
echo 'shruser:x:4243:4243:share user:/nonexistent:/usr/sbin/nologin' >>"$smb/passwd"
echo 'shruser:x:4243:' >>"$smb/group"
cat >"$smb/smb.conf" <<EOF
[global]
    workgroup = WORKGROUP
    netbios name = SHRNAS
    server role = standalone server
    interfaces = 10.77.1.50
    bind interfaces only = yes
    smb ports = 445
    disable netbios = yes
    private dir = $smb/private
    lock directory = $smb/lock
    state directory = $smb/state
    cache directory = $smb/cache
    pid directory = $smb/pid
    ncalrpc dir = $smb/ncalrpc
    usershare path =
    idmap config * : backend = tdb
    idmap config * : range = 3000-7999
    passdb backend = tdbsam:$smb/private/passdb.tdb
    log file = $smb/log/smbd.log
    log level = 1
    map to guest = Bad User
    guest account = nobody
    load printers = no
    printing = bsd
    printcap name = /dev/null
    disable spoolss = yes
[HDD_a]
    path = $smb/share_a
    read only = no
    guest ok = yes
    force user = root
[HDD_p]
    path = $smb/share_p
    read only = no
    guest ok = no
    valid users = shruser
EOF
# Runs in a mount namespace of its own, where the copies of passwd and group hold the share
# user; the folder comes as an argument, nothing is interpolated into the script.
cat >"$smb/start-smbd.sh" <<'EOF'
#!/bin/sh
set -e
dir=$1
mount --bind "$dir/passwd" /etc/passwd
mount --bind "$dir/group" /etc/group
printf 'secret1\nsecret1\n' | smbpasswd -c "$dir/smb.conf" -s -a shruser >/dev/null
exec smbd --foreground --debug-stdout -d 1 -s "$dir/smb.conf"
EOF
chmod 755 "$smb/start-smbd.sh"
ip netns exec "$device_ns" unshare -m "$smb/start-smbd.sh" "$smb" >"$smb/log/stdout.log" 2>&1 &
smbd_pid=$!
listening=""
for _ in $(seq 100); do
  if ip netns exec "$device_ns" ss -ltn | grep -q '10.77.1.50:445 '; then listening=yes; break; fi
  kill -0 "$smbd_pid" 2>/dev/null || break
  sleep 0.05
done
if [[ -z "$listening" ]]; then
  echo "shares_lab: smbd did not come up:" >&2
  tail -n 20 "$smb/log/stdout.log" >&2
  exit 1
fi

# ---- the checks, in the workstation namespace -------------------------------------------
status=0
run_check() {  # run_check NAME EXPECT_GVFS [WRAPPER...]: one pass of the check program, with fresh folders
  local name=$1 expect_gvfs=$2; shift 2
  local home="$OFU_LAB_DIR/$name/home" runtime="$OFU_LAB_DIR/$name/run"
  mkdir -p "$home" "$runtime"
  chmod 700 "$runtime"
  echo "== shares_lab: $name" >&2
  # Bounded, so that a hang fails the run and the clean-up below still happens.
  timeout -k 5 120 "$lab" exec env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME="$home" XDG_RUNTIME_DIR="$runtime" \
    OFU_SHARES_SERVER=SHRNAS OFU_SHARES_ABSENT=10.77.1.99 OFU_SHARES_EXPECT_GVFS="$expect_gvfs" \
    "$@" "$check" || status=1
}
run_check without-gvfs 0
run_check with-gvfs 1 dbus-run-session --
exit $status
