#!/usr/bin/env bash
# Tries the README's two commands as a new user would, on a fresh Debian 12.
#
#   scripts/fresh-debian-check.sh [REPOSITORY [REF]]   (default: this repository, HEAD)
#
# Makes a minimal Debian 12 system with debootstrap (variant minbase, from the
# Debian mirror that this machine's own apt sources name), installs only git,
# ca-certificates, build-essential and sudo into it, puts a clean clone of REF
# at /root/quillbay and runs the commands of the README's "Two commands" block
# there, exactly as written, one after the other, as root with an environment
# emptied by env -i down to what a fresh root shell has. There is no display
# and no session bus. Prints their output and exit statuses, ctest's summary
# and every SKIP line of the test run.
#
# Passes (exit 0) when both commands exit 0, ctest reports every test passed
# and no test was skipped for want of a tool.
#
# Needs root (debootstrap, chroot, mounts) and takes a while: the packages of
# the whole build and test tool chain are downloaded and the project is built
# from nothing. The system is made in a new folder under $QUILLBAY_FRESH_DIR
# (default /var/tmp) and removed at the end, however the check ends. Its mounts
# and processes live in a mount and a process namespace of their own, so they
# end with the check and none of them can reach this machine's own.
#
# QUILLBAY_DEBIAN_MIRROR overrides the mirror (for example http://deb.debian.org/debian).
set -euo pipefail

readonly suite=bookworm
readonly fresh_path=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
# Reasons of a test's skip that mean a tool the install script should have brought.
readonly missing_tool='not installed|cannot start'

# The first URI of an apt source for the given suite, deb822 files first.
apt_source_for() {
  local want=$1 file
  for file in /etc/apt/sources.list.d/*.sources; do
    [[ -f $file ]] || continue
    # One stanza a record; a stanza is used when it is enabled, of type deb
    # and names the suite.
    awk -v want="$want" '
      BEGIN { RS = ""; FS = "\n" }
      {
        delete field
        for (i = 1; i <= NF; i++)
          if ($i !~ /^[ \t]*#/ && match($i, /^[A-Za-z-]+:/))
            field[tolower(substr($i, 1, RLENGTH - 1))] = substr($i, RLENGTH + 1)
        if (tolower(field["enabled"]) ~ /no/ || !has(field["types"], "deb") || !has(field["suites"], want))
          next
        split(field["uris"], uris, " ")
        print uris[1]
        exit
      }
      function has(list, word,   words, n, i) {
        n = split(list, words, " ")
        for (i = 1; i <= n; i++) if (words[i] == word) return 1
        return 0
      }
    ' "$file" | head -n 1
  done
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [[ -f $file ]] || continue
    # deb [options] URI suite components...
    sed -E 's/\[[^]]*\]//' "$file" | awk -v want="$want" '$1 == "deb" && $3 == want { print $2; exit }'
  done
}

# The two commands of the README's "Two commands" block, one a line.
readme_commands() {
  awk '
    /^## / { if (section) exit; section = ($0 == "## Two commands") ; next }
    section && /^```/ { if (block) exit; block = 1; next }
    section && block && $0 !~ /^[ \t]*(#|$)/ { print }
  ' "$1"
}

run_in_system() {
  chroot "$system" /usr/bin/env -i HOME=/root PATH="$fresh_path" USER=root LOGNAME=root SHELL=/bin/bash TERM=dumb \
    /bin/bash -c "$1" </dev/null
}

# Everything below runs in the namespaces: builds the system, runs the commands.
inside() {
  work=$1 repository=$2 commit=$3 mirror=$4 security=$5
  system=$work/system

  echo "== Making a Debian 12 minbase system from $mirror (log: only on failure)"
  if ! debootstrap --variant=minbase "$suite" "$system" "$mirror" >"$work/debootstrap.log" 2>&1; then
    tail -n 40 "$work/debootstrap.log"
    return 1
  fi
  {
    echo "deb $mirror $suite main"
    echo "deb $mirror $suite-updates main"
    [[ -n $security ]] && echo "deb $security $suite-security main"
  } >"$system/etc/apt/sources.list"
  cp /etc/resolv.conf "$system/etc/resolv.conf"
  # Services are not started inside the system: nothing would stop them again.
  printf '#!/bin/sh\nexit 101\n' >"$system/usr/sbin/policy-rc.d"
  chmod 755 "$system/usr/sbin/policy-rc.d"

  mount -t proc proc "$system/proc"
  mount -t sysfs sysfs "$system/sys"
  mount --rbind /dev "$system/dev"
  mount -t tmpfs -o mode=1777 tmpfs "$system/dev/shm"
  mount -t tmpfs -o mode=755 tmpfs "$system/run"

  echo "== Installing git, ca-certificates, build-essential and sudo"
  run_in_system "apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    git ca-certificates build-essential sudo >/dev/null"

  echo "== Cloning $commit of $repository into /root/quillbay"
  local clone=$system/root/quillbay
  git init -q "$clone"
  git -C "$clone" fetch -q --no-tags "$repository" "$commit"
  git -C "$clone" checkout -q --detach FETCH_HEAD

  mapfile -t commands < <(readme_commands "$clone/README.md")
  if [[ ${#commands[@]} -ne 2 ]]; then
    echo "The README's \"Two commands\" block holds ${#commands[@]} commands, not 2:" >&2
    printf '  %s\n' "${commands[@]}" >&2
    return 1
  fi

  local statuses=() times=() i start
  for i in 0 1; do
    echo
    echo "== README command $((i + 1)): ${commands[i]}"
    start=$SECONDS
    set +e
    run_in_system "cd /root/quillbay && ${commands[i]}" 2>&1 | tee "$work/command$i.log"
    statuses[i]=${PIPESTATUS[0]}
    set -e
    times[i]=$((SECONDS - start))
  done

  local summary skips missing
  summary=$(grep -E '^[0-9]+% tests passed' "$work/command1.log" || true)
  skips=$(grep -h '^SKIP' "$clone/build/Testing/Temporary/LastTest.log" 2>/dev/null || true)
  missing=$(grep -E "$missing_tool" <<<"$skips" || true)

  echo
  echo "== Results: commit $commit on a fresh Debian 12 ($mirror)"
  for i in 0 1; do
    printf 'README command %d: %s: exit %d after %dm%02ds\n' $((i + 1)) "${commands[i]}" "${statuses[i]}" \
      $((times[i] / 60)) $((times[i] % 60))
  done
  echo "ctest: ${summary:-no summary line}"
  if [[ -n $skips ]]; then
    echo "SKIP lines of the test run ($(wc -l <<<"$skips")):"
    sed 's/^/  /' <<<"$skips"
  else
    echo "SKIP lines of the test run: none"
  fi
  if [[ ${statuses[0]} -eq 0 && ${statuses[1]} -eq 0 && $summary == "100% tests passed"* && -z $missing ]]; then
    echo "PASSED: both commands exit 0, every test passed, no test skipped for a missing tool."
    return 0
  fi
  [[ -n $missing ]] && echo "Skipped for a missing tool:" && sed 's/^/  /' <<<"$missing"
  echo "FAILED"
  return 1
}

if [[ ${1:-} == --inside ]]; then
  shift
  inside "$@"
  exit
fi

if [[ $(id -u) -ne 0 ]]; then
  exec sudo -- "$0" "$@"
fi

here=$(cd "$(dirname "$0")/.." && pwd)
repository=$(cd "${1:-$here}" && pwd)
commit=$(git -C "$repository" rev-parse --verify "${2:-HEAD}^{commit}")
mirror=${QUILLBAY_DEBIAN_MIRROR:-$(apt_source_for "$suite" | head -n 1)}
security=$(apt_source_for "$suite-security" | head -n 1)
if [[ -z $mirror ]]; then
  echo "No apt source of this machine names Debian's $suite; set QUILLBAY_DEBIAN_MIRROR." >&2
  exit 2
fi
if ! command -v debootstrap >/dev/null; then
  apt-get -o DPkg::Lock::Timeout=600 update -qq
  DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends debootstrap
fi

parent=${QUILLBAY_FRESH_DIR:-/var/tmp}
mkdir -p "$parent"
work=$(mktemp -d "$(cd "$parent" && pwd)/quillbay-fresh.XXXXXX")

# The mounts ended with their namespace; should one be left all the same, the
# folder stays rather than that anything below a mount be deleted.
cleanup() {
  local status=$?
  if awk -v w="$work" '$5 == w || index($5, w "/") == 1 { found = 1 } END { exit !found }' /proc/self/mountinfo; then
    echo "Something is still mounted below $work; it is left in place." >&2
  else
    rm -rf --one-file-system "$work"
  fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

unshare --mount --propagation private --pid --fork --kill-child \
  bash "$(readlink -f "$0")" --inside "$work" "$repository" "$commit" "$mirror" "$security"
