#!/usr/bin/env bash
# Every test: the unit and read-back tests built with AddressSanitizer and
# UndefinedBehaviorSanitizer, then the fuzz targets replaying their corpora.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DTLX_SANITIZE=ON -DTLX_DIALOGS=ON >/dev/null
cmake --build build-test -j"$jobs"
(cd build-test && ctest --output-on-failure -j"$jobs")

# Fuzz targets: replay the seed corpora, then fuzz each for a short while.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTLX_FUZZ=ON -DTLX_DIALOGS=OFF >/dev/null
cmake --build build-fuzz -j"$jobs"
scripts/run-fuzz.sh build-fuzz "${TLX_FUZZ_SECONDS:-30}"
