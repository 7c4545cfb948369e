#!/usr/bin/env bash
# Every test: the format check, the unit, dialog and read-back tests built with
# AddressSanitizer and UndefinedBehaviorSanitizer, then the fuzz targets
# replaying their corpora and fuzzing for a short while (TLX_FUZZ_SECONDS each,
# 30 by default).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

# An unformatted file fails the run, but only after every other test has had
# its say.
set +e
scripts/check-format.sh
format_status=$?
set -e

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DTLX_SANITIZE=ON -DTLX_DIALOGS=ON >/dev/null
cmake --build build-test -j"$jobs"
ctest_log=build-test/ctest-summary.log
set +e
(cd build-test && ctest --output-on-failure -j"$jobs") | tee "$ctest_log"
ctest_status=${PIPESTATUS[0]}
set -e

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTLX_FUZZ=ON -DTLX_DIALOGS=OFF >/dev/null
cmake --build build-fuzz -j"$jobs"
set +e
scripts/run-fuzz.sh build-fuzz "${TLX_FUZZ_SECONDS:-30}" | tee build-fuzz/fuzz-summary.log
fuzz_status=${PIPESTATUS[0]}
set -e

# One closing line for both kinds of test.
read -r total failed < <(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\2 \1/p' "$ctest_log")
read -r fuzz_passed fuzz_failed < <(sed -n 's/^fuzz: \([0-9]*\) passed, \([0-9]*\) failed$/\1 \2/p' build-fuzz/fuzz-summary.log)
format_passed=$(( format_status == 0 ))
echo "tests: $(( ${total:-0} - ${failed:-0} + ${fuzz_passed:-0} + format_passed )) passed, $(( ${failed:-0} + ${fuzz_failed:-0} + 1 - format_passed )) failed"
[ "$ctest_status" -eq 0 ] && [ "$fuzz_status" -eq 0 ] && [ "$format_status" -eq 0 ] && [ -n "${total:-}" ]
