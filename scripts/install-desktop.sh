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

# The entry's Exec quotes the program: inside the quotes ", `, $ and \ take a
# backslash and % doubles; the value, being a desktop-file string, then doubles
# every backslash and writes newline, tab and carriage return as \n, \t, \r.
exec_path=${program//\\/\\\\}
exec_path=${exec_path//\"/\\\"}
exec_path=${exec_path//\`/\\\`}
exec_path=${exec_path//\$/\\\$}
exec_path=${exec_path//%/%%}
exec_path=${exec_path//\\/\\\\}
exec_path=${exec_path//$'\n'/\\n}
exec_path=${exec_path//$'\t'/\\t}
exec_path=${exec_path//$'\r'/\\r}
entry=$(cat resources/quillon.desktop.in)
put "${entry//@QUILLON_EXECUTABLE@/"$exec_path"}" "$data/applications/quillon.desktop"
put "$(cat resources/quillon-mime.xml)" "$data/mime/packages/quillon.xml"
put "$(cat resources/icons/quillon.svg)" "$data/icons/hicolor/scalable/apps/quillon.svg"

if [ "$changed" -eq 1 ]; then
    command -v update-mime-database >/dev/null 2>&1 && update-mime-database "$data/mime" >/dev/null 2>&1 || true
    command -v update-desktop-database >/dev/null 2>&1 && update-desktop-database "$data/applications" >/dev/null 2>&1 || true
    command -v xdg-mime >/dev/null 2>&1 && xdg-mime default quillon.desktop application/x-quillon-minute >/dev/null 2>&1 || true
fi
exit 0
