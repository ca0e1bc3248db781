#!/usr/bin/env bash
# Checks the Debian package on a fresh Debian 12 as a user's machine would
# get it:
#
#   scripts/deb-install-check.sh [PACKAGE]   (default: build-deb/quillbay_*.deb,
#                                            made by scripts/build-deb.sh)
#
# Makes a minimal Debian 12 with debootstrap (variant minbase, from the mirror
# that this machine's apt sources name, or $QUILLBAY_DEBIAN_MIRROR), installs
# the package with apt so that its dependencies come from Debian, runs
# "Quillbay -exec" from it on a setting that renames two files, removes the
# package with "dpkg -r" and checks that none of its files is left.
#
# Needs root (debootstrap, chroot, mounts) and the network to the mirror. The
# system is made in a new folder under $QUILLBAY_FRESH_DIR (default /var/tmp)
# and removed at the end however the check ends; its /proc is mounted in a
# mount and process namespace of its own, so nothing outlives the check.
set -euo pipefail
cd "$(dirname "$0")/.."

package=$(realpath "${1:-$(ls build-deb/quillbay_*.deb)}")
mirror=${QUILLBAY_DEBIAN_MIRROR:-$(awk '/^URIs:/ { print $2; exit }' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)}
mirror=${mirror:-http://deb.debian.org/debian}
work=$(mktemp -d "${QUILLBAY_FRESH_DIR:-/var/tmp}/quillbay-deb-check.XXXXXX")
system=$work/system
trap 'rm -rf --one-file-system "$work"' EXIT

in_system() {
  unshare --mount --pid --fork --mount-proc="$system/proc" \
    chroot "$system" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive /bin/bash -euo pipefail -c "$1" </dev/null
}

echo "== a fresh Debian 12 from $mirror"
if ! debootstrap --variant=minbase bookworm "$system" "$mirror" >"$work/debootstrap.log" 2>&1; then
  tail -n 20 "$work/debootstrap.log"
  exit 1
fi
cp /etc/resolv.conf "$system/etc/resolv.conf"
cp "$package" "$system/root/"

echo "== install $(basename "$package")"
in_system "apt-get update -qq && apt-get install -y -qq --no-install-recommends /root/$(basename "$package") >/root/install.log \
  || { tail -n 30 /root/install.log; exit 1; }; dpkg -L quillbay >/root/installed-files"

echo "== Quillbay -exec"
in_system '
  data=$HOME/.local/share/Tolvane/Quillbay
  mkdir -p "$data" /root/files
  echo a >/root/files/a.txt
  echo b >/root/files/b.txt
  printf "%s" "<?xml version=\"1.0\"?><settings version=\"2.0\" select=\"S\"><setting name=\"S\"><folders>" \
    "<folder path=\"/root/files\"/></folders><newNameRules><rule type=\"add\" text=\"new_\" position=\"before\"/>" \
    "</newNameRules></setting></settings>" >"$data/Setting.xml"
  status=0
  Quillbay -exec || status=$?
  echo "exit status $status; files: $(ls /root/files | tr "\n" " ")"
  [[ $status -eq 0 && -f /root/files/new_a.txt && -f /root/files/new_b.txt ]]
  ls "$data"/Report/*.xml >/dev/null
  # Without a session bus the opener ends quietly with status 2.
  status=0
  QuillbayOpener /root/files 2>/root/opener.err || status=$?
  [[ $status -eq 2 && ! -s /root/opener.err ]]
'

echo "== dpkg -r quillbay"
in_system '
  dpkg -r quillbay >/dev/null
  left=0
  while read -r path; do
    if [[ -d $path && ! -L $path ]]; then
      # A folder may stay when another package owns it too.
      if ! dpkg -S "$path" >/dev/null 2>&1; then echo "left: $path/"; left=1; fi
    elif [[ -e $path || -L $path ]]; then
      echo "left: $path"; left=1
    fi
  done </root/installed-files
  [[ $left -eq 0 ]]
  echo "$(grep -c . /root/installed-files) paths installed, none left"
'
echo "== passed"
