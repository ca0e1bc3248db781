#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
#
#   scripts/run.sh            the window (Quillbay); without a display, a line
#                             that says so, then the worked example on the
#                             command line (scripts/try-example.sh)
#   scripts/run.sh ARGS...    Quillbay with these arguments (a folder to add,
#                             or -exec for the unattended run)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
build_dir=${QUILLBAY_BUILD_DIR:-build}
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && $# -eq 0 ]]; then
  # Quillbay itself says in one line that it needs a display and names
  # quillbay-cli; the example shows what the command-line tool does.
  "$build_dir/app/main/Quillbay" || true
  exec bash scripts/try-example.sh
fi
exec "$build_dir/app/main/Quillbay" "$@"
