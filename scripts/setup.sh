#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need, when they are missing.
set -euo pipefail

packages=(
    g++ make cmake             # the toolchain
    python3                    # the layer check of the tests
    qt6-base-dev               # Qt 6 Widgets and Test
    libgtest-dev               # the tests
    man-db                     # the test that renders the manual pages
    fonts-arphic-ukai          # the launcher title, taken from this Kai face when building
    fonts-wqy-microhei         # every other Chinese caption, and the report's Chinese
    fonts-dejavu-core          # the report's Latin, Greek and symbols (½ ² ³ ≥ · √ °)
    qt6-translations-l10n      # Qt's own dialogs and buttons in Chinese
)

# `setup.sh fuzz` adds clang and its fuzzer runtime; `setup.sh bench` Python
# and Xvfb for the benchmark report; `setup.sh package` what builds and checks the Debian package.
case "${1:-}" in
    fuzz) packages+=(clang libclang-rt-14-dev) ;;
    bench) packages+=(python3 xvfb xauth) ;;
    package) packages+=(dpkg-dev file lintian appstream desktop-file-utils) ;;
esac

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "setup: missing Debian packages: ${missing[*]}" >&2
    echo "setup: run 'make' as root or install sudo, or install them with apt-get yourself" >&2
    exit 1
fi

echo "setup: installing ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
