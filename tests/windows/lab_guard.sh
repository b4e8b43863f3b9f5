# Sourced by the Windows lab checks: stops (skip, or failure under CI=true) unless this network
# namespace holds only loopback and lab addresses (10.77.0.0/16), because the programs under
# test search every local network. Wine also lists the addresses of the namespace its server
# started in, which wine_session.sh starts here.
lab_only_addresses() {
  local address
  for address in $(ip -4 -o addr show | awk '{print $4}'); do
    case $address in
      127.*|10.77.*) ;;
      *) return 1 ;;
    esac
  done
  ip -4 -o addr show | grep -q ' 10\.77\.'
}
if ! lab_only_addresses; then
  echo "SKIPPED: not inside the lab's workstation namespace (run scripts/test-windows)" >&2
  [[ "${CI:-}" == "true" ]] && exit 1
  exit 77
fi
wine=${OFU_WINE:-/usr/lib/wine/wine64}
