#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need.
# Only what is missing is installed, so a second call costs nothing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libqt6test6
  libpugixml-dev libpcre2-dev libgsf-1-dev libxslt1-dev
  dbus xvfb xdg-utils
  libnautilus-extension-dev
  python3
)
# scripts/build-deb.sh --lintian and scripts/deb-install-check.sh.
if [[ "${QUILLBAY_WITH_PACKAGE_TOOLS:-0}" == 1 ]]; then
  packages+=(lintian debootstrap)
fi
if [[ "${QUILLBAY_WITH_TEST_TOOLS:-0}" == 1 ]]; then
  packages+=(clang libclang-rt-14-dev libimage-exiftool-perl dosfstools fusefat)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
echo "Installing: ${missing[*]}" >&2
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
