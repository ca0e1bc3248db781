#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
QUILLBAY_WITH_TEST_TOOLS=1 bash scripts/install-deps.sh
bash scripts/build.sh
build_dir=${QUILLBAY_BUILD_DIR:-build}
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"
