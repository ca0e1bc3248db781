#!/usr/bin/env bash
# Installs what is missing, builds everything, runs the fuzz targets of the
# metadata readers for a short bounded time, then runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
QUILLBAY_WITH_TEST_TOOLS=1 bash scripts/install-deps.sh
bash scripts/build.sh
build_dir=${QUILLBAY_BUILD_DIR:-build}
if [[ "${QUILLBAY_SKIP_FUZZ:-0}" != 1 ]]; then
  bash scripts/fuzz.sh "${QUILLBAY_FUZZ_SECONDS:-15}"
fi
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"
