#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
#
#   scripts/run.sh            the worked example (scripts/try-example.sh)
#   scripts/run.sh ARGS...    quillbay-cli with these arguments
#
# Until the window exists, starting the program without arguments shows the
# worked example: it needs no display and no settings of the user's own.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
if [[ $# -eq 0 ]]; then
  exec bash scripts/try-example.sh
fi
build_dir=${QUILLBAY_BUILD_DIR:-build}
exec "$build_dir/app/cli/quillbay-cli" "$@"
