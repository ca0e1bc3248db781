#!/usr/bin/env bash
# Builds the libFuzzer targets of the metadata readers with clang into
# build-fuzz (or $QUILLBAY_FUZZ_BUILD_DIR) and runs each one for a bounded time.
#
#   scripts/fuzz.sh [seconds per target]     (default 20, or $QUILLBAY_FUZZ_SECONDS)
#   QUILLBAY_FUZZ_RUNS=N scripts/fuzz.sh     (N inputs per target instead)
#
# Each target starts from its checked-in seeds in tests/fuzz/corpus/<target>.
# A timed run keeps what it finds in <build dir>/fuzz-corpus/<target>, so a
# later run goes on from there. A counted run starts from the seeds alone in
# a fresh folder, with a fixed seed: the same commit always tries the same
# inputs, which is what the test command wants. A crash, leak or timeout ends
# the script with a failure and leaves the input in <build dir>/fuzz-artifacts/.
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

# Full unwinding lets the suppressions name the library function that leaks;
# they match function names, which only the symbolizer gives.
export ASAN_OPTIONS=fast_unwind_on_malloc=0
symbolizer=${ASAN_SYMBOLIZER_PATH:-/usr/lib/llvm-14/bin/llvm-symbolizer}
if [[ ! -x $symbolizer ]]; then
  echo "fuzz.sh: $symbolizer is missing (Debian package llvm-14); without it the leak suppressions match nothing." >&2
  exit 1
fi
export ASAN_SYMBOLIZER_PATH=$symbolizer
export LSAN_OPTIONS="suppressions=$PWD/tests/fuzz/lsan-suppressions.txt:print_suppressions=0"

runs=${QUILLBAY_FUZZ_RUNS:-}
mkdir -p "$build_dir/fuzz-artifacts"
for target in exif id3 docprops; do
  if [[ -n "$runs" ]]; then
    corpus="$build_dir/fuzz-corpus-counted/$target"
    rm -rf "$corpus"
    bound=(-runs="$runs")
    echo "== fuzz_$target for $runs inputs"
  else
    corpus="$build_dir/fuzz-corpus/$target"
    bound=(-max_total_time="$seconds")
    echo "== fuzz_$target for ${seconds}s"
  fi
  mkdir -p "$corpus"
  "$build_dir/tests/fuzz/fuzz_$target" "${bound[@]}" -timeout=10 -rss_limit_mb=2048 \
    -seed="${QUILLBAY_FUZZ_SEED:-1}" -print_final_stats=1 -artifact_prefix="$build_dir/fuzz-artifacts/$target-" \
    "$corpus" "tests/fuzz/corpus/$target"
done
