#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need.
# Only what is missing is installed, so a second call costs nothing.
#
# Packages are installed without their recommends, so everything a command
# uses is named here, even where another package would normally bring it.
#
#   scripts/install-deps.sh                              building and starting the programs
#   QUILLBAY_WITH_TEST_TOOLS=1 scripts/install-deps.sh   also every tool the test command uses
#   QUILLBAY_WITH_PACKAGE_TOOLS=1 scripts/install-deps.sh  also the packaging checks' tools (test tools include them)
set -euo pipefail

packages=(
  # Building
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libqt6test6
  libpugixml-dev libpcre2-dev libgsf-1-dev libxslt1-dev
  # The file manager's folder context-menu extension (Nautilus 43)
  libnautilus-extension-dev libglib2.0-dev
  # The window in Japanese: Qt's own dialog texts, and a font with the characters
  qt6-translations-l10n fonts-noto-cjk
  # Talking to the desktop: the session bus, gdbus, xdg-open
  dbus libglib2.0-bin xdg-utils
  # The worked example's sample files; the case-table generator
  python3
)
# Packaging checks: scripts/build-deb.sh --lintian, scripts/deb-install-check.sh
# and scripts/fresh-debian-check.sh. Part of the test tools as well.
if [[ "${QUILLBAY_WITH_PACKAGE_TOOLS:-0}" == 1 || "${QUILLBAY_WITH_TEST_TOOLS:-0}" == 1 ]]; then
  packages+=(appstream lintian debootstrap)
fi
if [[ "${QUILLBAY_WITH_TEST_TOOLS:-0}" == 1 ]]; then
  packages+=(
    # Fuzzing with libFuzzer; llvm-14 holds llvm-symbolizer, without which the
    # leak suppressions, matched by function name, match nothing
    clang llvm-14 libclang-rt-14-dev
    # Reference readers: exiftool, and LibreOffice to write real .doc and .xls files
    libimage-exiftool-perl libreoffice-writer-nogui libreoffice-calc-nogui
    # A file system that ignores letter case
    dosfstools fusefat
    # Windows on a real X server with a window manager, for screenshots
    # (xdpyinfo tells when the server is up)
    xvfb x11-utils openbox dbus-x11
  )
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
echo "Installing: ${missing[*]}" >&2
# Waits for another package manager (an unattended upgrade, say) to finish.
wait_for_lock=(-o DPkg::Lock::Timeout=600)
"${sudo[@]}" apt-get "${wait_for_lock[@]}" update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "${wait_for_lock[@]}" install -y -qq --no-install-recommends "${missing[@]}"
