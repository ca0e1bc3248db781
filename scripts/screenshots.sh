#!/usr/bin/env bash
# Pictures of every screen, for a person to look at: starts a virtual display
# with a window manager, builds the screenshot program and runs it in English
# and Japanese, at the desktop's font and at 14 points.
#
#   bash scripts/screenshots.sh [OUTPUT_FOLDER]     (default: build/screenshots)
#
# Nothing of the user's is touched: the program's files go to a temporary
# folder, and HOME and the XDG folders point there too.
set -euo pipefail
cd "$(dirname "$0")/.."
QUILLBAY_WITH_TEST_TOOLS=1 bash scripts/install-deps.sh
bash scripts/build.sh >/dev/null
build_dir=${QUILLBAY_BUILD_DIR:-build}
out=$(realpath -m "${1:-$build_dir/screenshots}")
rm -rf "$out"
mkdir -p "$out"

work=$(mktemp -d)
display=":$(( 90 + RANDOM % 9 ))"
cleanup() {
  [[ -n "${wm_pid:-}" ]] && kill "$wm_pid" 2>/dev/null || true
  [[ -n "${xvfb_pid:-}" ]] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1600x1200x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
  DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done
export DISPLAY=$display HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_CACHE_HOME=$work/home/.cache XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
openbox >"$work/wm.log" 2>&1 &
wm_pid=$!
sleep 1

status=0
for lang in en ja; do
  for points in default 14; do
    args=("$out")
    [[ $lang == ja ]] && args+=(--japanese)
    [[ $points != default ]] && args+=(--points "$points")
    LANG=C.UTF-8 LC_ALL= LANGUAGE= "$build_dir/tests/ui/quillbay-screenshots" "${args[@]}" || status=1
  done
done
echo "Screenshots in $out:"
ls "$out"
exit $status
