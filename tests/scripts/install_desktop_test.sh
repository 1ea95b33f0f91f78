#!/usr/bin/env bash
# The desktop registration writes its three files, pointing at the program,
# and a second run changes nothing.
set -euo pipefail
source_dir=$1
program=$2
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export XDG_DATA_HOME="$home"

"$source_dir/scripts/install-desktop.sh" "$program"
desktop="$home/applications/quillon.desktop"
grep -qx "Exec=\"$(realpath "$program")\" %f" "$desktop" || { echo "wrong Exec line"; cat "$desktop"; exit 1; }
grep -qx "MimeType=application/x-quillon-minute;" "$desktop" || { echo "no MIME type"; exit 1; }
grep -q '<glob pattern="\*.min"/>' "$home/mime/packages/quillon.xml" || { echo "no glob for .min"; exit 1; }
test -s "$home/icons/hicolor/scalable/apps/quillon.svg" || { echo "no icon"; exit 1; }

stamps() { stat -c '%n %y' "$desktop" "$home/mime/packages/quillon.xml" "$home/icons/hicolor/scalable/apps/quillon.svg"; }
before=$(stamps)
"$source_dir/scripts/install-desktop.sh" "$program"
[ "$(stamps)" = "$before" ] || { echo "a second run rewrote files"; exit 1; }

# A program in a folder whose name holds reserved characters: quoted, with
# ", $ and \ escaped inside the quotes, % doubled, and every backslash doubled
# again for the string value.
odd="$home/"'bin/a b&c|d"e$f%g\h'
mkdir -p "$odd"
touch "$odd/quillon"
"$source_dir/scripts/install-desktop.sh" "$odd/quillon"
expected='Exec="'"$home"'/bin/a b&c|d\\"e\\$f%%g\\\\h/quillon" %f'
grep -qxF "$expected" "$desktop" || { echo "wrong Exec line for an odd path, expected"; echo "$expected"; cat "$desktop"; exit 1; }

# The entry CMake configures for a system-wide install names the program the same way.
configured="$(dirname "$(dirname "$program")")/quillon.desktop"
grep -qx 'Exec="quillon" %f' "$configured" || { echo "wrong Exec line in $configured"; cat "$configured"; exit 1; }
echo ok
