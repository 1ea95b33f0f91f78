#!/usr/bin/env bash
# Installs whatever the build needs and the machine lacks, with apt.
# Does nothing when everything is present. Usage: install-deps.sh [--fuzz] [--screenshots]
set -euo pipefail

# xdg-utils: the viewers an export or the help page opens in go through xdg-open.
# cmark and poppler-utils (pdftotext): the readers the Markdown and PDF exports are checked against.
packages=(g++ make cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev libgtest-dev libbenchmark-dev xdg-utils cmark poppler-utils)
for arg in "$@"; do
    case "$arg" in
        --fuzz) packages+=(clang libclang-rt-14-dev) ;;
        --screenshots) packages+=(xvfb xauth imagemagick) ;;
        *) echo "install-deps.sh: unknown option $arg" >&2; exit 2 ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    sudo=()
elif command -v sudo >/dev/null 2>&1; then
    sudo=(sudo)
else
    echo "install-deps.sh: need root or sudo to install ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
