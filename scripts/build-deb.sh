#!/usr/bin/env bash
# Builds the Debian package of tlxexport and prints its path:
#   scripts/build-deb.sh [BUILD_DIR]   (default build-deb)
# A Release tree installed under /usr with Debian's build flags (hardening
# included); the GDAL plugin is in the package when GDAL's development files
# are there to build it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh >&2
build=${1:-build-deb}

# Debian's flags with every hardening; without -g, as the binaries are
# stripped anyway.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
flags() { echo "$(dpkg-buildflags --get "$1") $(dpkg-buildflags --get CPPFLAGS)" | sed -E 's/(^| )-g( |$)/ /'; }
ldflags=$(dpkg-buildflags --get LDFLAGS)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DTLX_TESTS=OFF \
  -DCMAKE_C_FLAGS="$(flags CFLAGS)" -DCMAKE_CXX_FLAGS="$(flags CXXFLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
  -DCMAKE_SHARED_LINKER_FLAGS="$ldflags" -DCMAKE_MODULE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build "$build" -j"$(nproc)" >"$build/build.log" || { tail -30 "$build/build.log" >&2; exit 1; }
rm -f "$build"/tlxexport_*.deb
(cd "$build" && cpack -G DEB >cpack.log 2>&1) || { tail -30 "$build/cpack.log" >&2; exit 1; }
ls "$PWD/$build"/tlxexport_*.deb
