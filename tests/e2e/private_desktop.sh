#!/usr/bin/env bash
# Runs CMD as a user with a private desktop of its own: a fresh home and XDG folders (so the
# drive table, drive C, the mapped drives' folders and the settings are never the machine's),
# a recorder as the default web browser and as the handler of widget files, and with --bus a
# private session bus, as a desktop session has (with GVFS activatable on it). The recorder
# appends each command line it was started with to $OFU_RECORDER_LOG. Everything is removed
# afterwards: a mount a test left behind is ended first (its helper, by the PID the drive
# table records), and the folders go without ever following a mount onto a share.
# Usage: private_desktop.sh [--bus] RECORDER CMD...
set -uo pipefail
bus=false
if [[ "${1:-}" == "--bus" ]]; then bus=true; shift; fi
recorder=$1; shift

desk=$(mktemp -d /tmp/ofu-desktop.XXXXXX)
end_mounts() {
  local table="$desk/home/.local/state/ostrel-ferrow-utility/drive-connections" pid
  [[ -f "$table" ]] || return 0
  # Fields: drive, remote name, helper PID, its start time, folder.
  while IFS=$'\t' read -r _ _ pid _ _; do
    [[ "$pid" =~ ^[0-9]+$ ]] || continue
    [[ "$(cat "/proc/$pid/comm" 2>/dev/null)" == ofu-share-mount ]] && kill -TERM "$pid" 2>/dev/null
  done <"$table"
  sleep 0.2
}
trap 'end_mounts; rm -rf --one-file-system "$desk"' EXIT
export HOME="$desk/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_STATE_HOME="$HOME/.local/state"
export XDG_CACHE_HOME="$HOME/.cache" XDG_RUNTIME_DIR="$desk/run" XDG_CONFIG_DIRS=/etc/xdg
export XDG_DATA_DIRS=/usr/local/share:/usr/share
export OFU_RECORDER_LOG="$desk/recorder.jsonl"
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION DBUS_SESSION_BUS_ADDRESS BROWSER DISPLAY WAYLAND_DISPLAY
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME/applications" "$XDG_DATA_HOME/mime/packages" "$XDG_STATE_HOME"
mkdir -m 0700 "$XDG_RUNTIME_DIR"

cat > "$XDG_DATA_HOME/applications/ofu-recorder.desktop" <<DESKTOP
[Desktop Entry]
Type=Application
Name=Recorder Browser
Exec="$recorder" --new-window %u
MimeType=x-scheme-handler/http;x-scheme-handler/https;text/html;application/x-ofu-widget;
DESKTOP
cat > "$XDG_CONFIG_HOME/mimeapps.list" <<LIST
[Default Applications]
x-scheme-handler/http=ofu-recorder.desktop
x-scheme-handler/https=ofu-recorder.desktop
text/html=ofu-recorder.desktop
application/x-ofu-widget=ofu-recorder.desktop
LIST
# Widget files get a type of their own, as a widget engine's package would register it.
cat > "$XDG_DATA_HOME/mime/packages/ofu-widget.xml" <<'MIME'
<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="application/x-ofu-widget">
    <comment>Desktop widget</comment>
    <glob pattern="*.widget"/>
  </mime-type>
</mime-info>
MIME
update-mime-database "$XDG_DATA_HOME/mime" >/dev/null 2>&1

if $bus; then
  dbus-run-session -- "$@"
else
  "$@"
fi
