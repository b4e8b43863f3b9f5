#!/usr/bin/env bash
# Brings up a private lab with CONFIG, runs CMD in its workstation namespace, and tears
# the lab down again, whatever CMD did.
# Usage: run_in_lab.sh CONFIG CMD...
# Without root the lab cannot exist: the run is reported as skipped (exit 77), except under
# CI=true, where a skip is a failure.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
config=$1; shift

if [[ $(id -u) -ne 0 ]]; then
  echo "SKIPPED: the lab network needs root (network namespaces and veth pairs)" >&2
  [[ "${CI:-}" == "true" ]] && { echo "CI=true: a skipped lab test is a failure" >&2; exit 1; }
  exit 77
fi

# A lab of its own, so that a demo lab brought up with scripts/lab is left alone.
export OFU_LAB_NS_PREFIX=${OFU_LAB_NS_PREFIX:-ofut}
made_dir=""
if [[ -z "${OFU_LAB_DIR:-}" ]]; then
  OFU_LAB_DIR=$(mktemp -d /tmp/ofu-lab-test.XXXXXX)
  made_dir=$OFU_LAB_DIR
fi
export OFU_LAB_DIR
lab="$repo/scripts/lab"

cleanup() {
  "$lab" down >/dev/null 2>&1 || "$lab" down
  [[ -n "$made_dir" ]] && rm -rf "$made_dir"
}
trap cleanup EXIT
"$lab" up "$config" || exit 1
"$lab" exec "$@"
