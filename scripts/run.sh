#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program with the given arguments.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
build_dir=${QUILLBAY_BUILD_DIR:-build}
exec "$build_dir/app/cli/quillbay-cli" "$@"
