#!/usr/bin/env bash
# Installs what is missing, builds everything, runs the fuzz targets of the
# metadata readers on a fixed number of inputs from a fixed seed (so a commit
# always gives the same result), then runs every test. The include lines are
# checked against the layers first, before anything is built.
set -euo pipefail
cd "$(dirname "$0")/.."
QUILLBAY_WITH_TEST_TOOLS=1 bash scripts/install-deps.sh
python3 scripts/check-layers.py
bash scripts/build.sh
build_dir=${QUILLBAY_BUILD_DIR:-build}
if [[ "${QUILLBAY_SKIP_FUZZ:-0}" != 1 ]]; then
  QUILLBAY_FUZZ_RUNS=${QUILLBAY_FUZZ_RUNS:-40000} bash scripts/fuzz.sh
fi
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"
