#!/usr/bin/env bash
# Registers Quillon with the desktop of the current user: a .desktop entry
# that opens .min files, the application/x-quillon-minute type and the icon.
# Files are rewritten only when they change, so running it again does nothing.
# Usage: install-desktop.sh PATH-TO-QUILLON
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "$1")
data=${XDG_DATA_HOME:-$HOME/.local/share}
changed=0

put() { # put SOURCE-TEXT DESTINATION
    mkdir -p "$(dirname "$2")"
    if [ ! -f "$2" ] || [ "$(cat "$2")" != "$1" ]; then
        printf '%s\n' "$1" > "$2"
        changed=1
    fi
}

put "$(sed "s|@QUILLON_EXECUTABLE@|$program|" resources/quillon.desktop.in)" "$data/applications/quillon.desktop"
put "$(cat resources/quillon-mime.xml)" "$data/mime/packages/quillon.xml"
put "$(cat resources/icons/quillon.svg)" "$data/icons/hicolor/scalable/apps/quillon.svg"

if [ "$changed" -eq 1 ]; then
    command -v update-mime-database >/dev/null 2>&1 && update-mime-database "$data/mime" >/dev/null 2>&1 || true
    command -v update-desktop-database >/dev/null 2>&1 && update-desktop-database "$data/applications" >/dev/null 2>&1 || true
    command -v xdg-mime >/dev/null 2>&1 && xdg-mime default quillon.desktop application/x-quillon-minute >/dev/null 2>&1 || true
fi
exit 0
