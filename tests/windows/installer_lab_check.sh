#!/usr/bin/env bash
# The Windows installer under wine in the lab, in a fresh prefix with a server of its own: a
# quiet install puts both programs under Program Files, the Start Menu shortcut with its icon
# and the entry in Programs and Features in place; the installed executables have the right
# subsystem, description and resources; the installed ofu.exe runs and the installed window
# lists the lab's devices; a quiet uninstall leaves no file, shortcut or registry key of ours.
# Usage: installer_lab_check.sh MSI PROBE_EXE UPGRADE_CODE PREFIX_DIR PICTURE_PNG
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lab_guard.sh"
msi=$1 probe=$2 upgrade_code=$3 prefix=$4 picture=$5
wineserver=$(dirname "$wine")/wineserver
status=0
fail() { echo "$*" >&2; status=1; }
since() { echo $((($(date +%s%N) - $1) / 1000000)); }
# A product or upgrade code as the Installer's registry keys spell it: the first three groups
# reversed, the two digits of each later byte swapped.
packed() {
  local g=${1//[\{\}-]/}
  echo "$(rev <<<"${g:0:8}")$(rev <<<"${g:8:4}")$(rev <<<"${g:12:4}")$(sed 's/\(.\)\(.\)/\2\1/g' <<<"${g:16}")"
}

# winemenubuilder stays off, so that the shortcut never reaches the machine's own desktop.
export WINEPREFIX=$prefix WINEDLLOVERRIDES=winemenubuilder.exe=d
"$wineserver" -k >/dev/null 2>&1
rm -rf "$prefix" && mkdir -p "$prefix" || exit 1
trap '"$wineserver" -k >/dev/null 2>&1' EXIT
"$wineserver" -p </dev/null >/dev/null 2>&1
"$wine" wineboot </dev/null >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1

started=$(date +%s%N)
"$wine" msiexec /i "$msi" /qn </dev/null || { echo "the quiet install failed" >&2; exit 1; }
echo "installed in $(since "$started") ms"
folder="$prefix/drive_c/Program Files/Ostrel Ferrow Utility"
shortcut=$(find "$prefix/drive_c" -path '*/Start Menu/Programs/Ostrel Ferrow Utility.lnk')
icon=$(tr -d '\000' <"${shortcut:-/dev/null}" | grep -aio 'C:\\windows\\Installer\\[^:]*\.ico' | head -n 1)
icon_file=$prefix/drive_c/$(tr '\\' / <<<"${icon#?:\\}")
[[ -n "$icon" && -f "$icon_file" ]] || fail "no Start Menu shortcut with its icon (shortcut '$shortcut', icon '$icon')"

# The entry in Programs and Features, found by its name; its key is the product code. Both it
# and the product's registration are the machine's (HKLM), as a per-machine install makes them.
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
entry=$("$wine" reg query "$uninstall" /s | tr -d '\r' |
        awk '/^HKEY_/ {key = $0} /DisplayName +REG_SZ +Ostrel Ferrow Utility$/ {print key}')
product=${entry##*\\}
[[ -n "$product" ]] || { echo "no entry in Programs and Features" >&2; exit 1; }
values=$("$wine" reg query "$entry" | tr -d '\r')
product_icon=$("$wine" reg query "HKLM\\Software\\Classes\\Installer\\Products\\$(packed "$product")" /v ProductIcon |
               tr -d '\r' | sed -n 's/.*REG_SZ *//p')
if ! grep -Eq 'DisplayVersion +REG_SZ +4\.6\.0\.0$' <<<"$values" ||
   ! grep -Eq 'Publisher +REG_SZ +Ostrel Ferrow Utility developers$' <<<"$values" || [[ "$product_icon" != "$icon" ]]; then
  fail "Programs and Features: entry '$entry', icon '$product_icon'; $values"
else
  echo "shortcut and Programs and Features entry $product (4.6.0.0, its publisher, its icon) in place"
fi

# Both executables are installed, and Windows sees the window (subsystem 2) with its dialogs
# (5), strings (6) and manifest (24), the console client (3) with its icon (3, 14), version (16)
# and payloads only.
described=$(for program in ostrel-ferrow-utility ofu; do
              "$wine" "$probe" describe "C:\\Program Files\\Ostrel Ferrow Utility\\$program.exe"
            done | tr -d '\r')
expected="subsystem 2
description Ostrel Ferrow Utility
resources BT CODEPAGE 3 5 6 14 16 24
subsystem 3
description Ostrel Ferrow Utility command-line client
resources BT CODEPAGE 3 14 16"
[[ "$described" == "$expected" ]] || fail "the installed executables: $described"

version=$("$wine" "$folder/ofu.exe" --version | tr -d '\r')
[[ "$version" == *4.6.0.0* ]] || fail "the installed ofu.exe --version printed '$version'"
"$here/window_lab_check.sh" "$folder/ostrel-ferrow-utility.exe" "$probe" "$picture" || status=1

started=$(date +%s%N)
"$wine" msiexec /x "$msi" /qn </dev/null || fail "the quiet uninstall failed"
echo "uninstalled in $(since "$started") ms"
# The server writes the registry to the prefix's files when it ends.
"$wineserver" -k
files=$(find "$prefix/drive_c" -ipath '*ostrel*' -o -ipath "*$product*")
keys=$(grep -Fil -e ostrel -e "${product//[\{\}]/}" -e "$(packed "$product")" -e "$(packed "$upgrade_code")" "$prefix"/*.reg)
[[ -z "$files$keys" ]] || fail "left behind after the uninstall: $files $keys"
[[ $status -eq 0 ]] && echo "the uninstall left no file, shortcut or registry key behind" && rm -rf "$prefix"
exit $status
