#!/usr/bin/env bash
# Builds the Debian package of the program: a build folder of its own
# (build-deb) configured for /usr with Debian's build flags (hardening
# included), then cpack. Prints the package's path as its last line.
#
#   scripts/build-deb.sh            build the package
#   scripts/build-deb.sh --lintian  and check it with lintian
set -euo pipefail
cd "$(dirname "$0")/.."

# Debian's compiler and linker flags (fortify, stack protector, relro, now).
eval "$(dpkg-buildflags --export=sh)"
export CFLAGS="$CFLAGS $CPPFLAGS" CXXFLAGS="$CXXFLAGS $CPPFLAGS"

cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  -DQUILLBAY_BUILD_TESTS=OFF -DQUILLBAY_BUILD_BENCH=OFF >/dev/null
cmake --build build-deb -j2
rm -f build-deb/quillbay_*.deb
(cd build-deb && cpack -G DEB >/dev/null)
package=$(ls "$PWD"/build-deb/quillbay_*.deb)

if [[ "${1:-}" == --lintian ]]; then
  # Exits non-zero on errors only; warnings and notes are printed.
  lintian --fail-on error --info "$package" || exit 1
fi
echo "$package"
