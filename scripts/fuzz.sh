#!/usr/bin/env bash
# Builds the libFuzzer targets of the metadata readers with clang into
# build-fuzz (or $QUILLBAY_FUZZ_BUILD_DIR) and runs each one for a bounded time.
#
#   scripts/fuzz.sh [seconds per target]     (default 20, or $QUILLBAY_FUZZ_SECONDS)
#
# Each target starts from its checked-in seeds in tests/fuzz/corpus/<target>;
# what it finds on the way is kept in <build dir>/fuzz-corpus/<target>, so a
# later run goes on from there. A crash, leak or timeout ends the script with
# a failure and leaves the input in <build dir>/fuzz-artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-${QUILLBAY_FUZZ_SECONDS:-20}}
build_dir=${QUILLBAY_FUZZ_BUILD_DIR:-build-fuzz}
jobs=${QUILLBAY_JOBS:-2}
instrument="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"

cmake -S . -B "$build_dir" -G Ninja -DQUILLBAY_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DCMAKE_C_FLAGS="$instrument" -DCMAKE_CXX_FLAGS="$instrument" >/dev/null
cmake --build "$build_dir" -j "$jobs" --target fuzz_exif fuzz_id3 fuzz_docprops

mkdir -p "$build_dir/fuzz-artifacts"
for target in exif id3 docprops; do
  corpus="$build_dir/fuzz-corpus/$target"
  mkdir -p "$corpus"
  echo "== fuzz_$target for ${seconds}s"
  "$build_dir/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -seed="${QUILLBAY_FUZZ_SEED:-1}" -print_final_stats=1 -artifact_prefix="$build_dir/fuzz-artifacts/$target-" \
    "$corpus" "tests/fuzz/corpus/$target"
done
