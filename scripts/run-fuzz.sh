#!/usr/bin/env bash
# Replays each fuzz target's seeds and then fuzzes it for SECONDS.
# Usage: scripts/run-fuzz.sh BUILD_DIR SECONDS
# The seeds are read only: libFuzzer writes what it finds into the first
# folder it is given, the target's work folder in BUILD_DIR/fuzz-work.
set -euo pipefail
build=$1
seconds=$2
cd "$(dirname "$0")/.."
# The folders of seeds of a target: its own corpus and, for the two .tlx
# readers (the library's and the GDAL driver's), the samples and the reader's
# test surveys.
seeds_of() {
  case $1 in
    tlx | tlx_gdal) echo fuzz/corpus/tlx samples tests/data/reader ;;
    *) echo "fuzz/corpus/$1" ;;
  esac
}
passed=0
failed=0
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  read -r -a seeds <<<"$(seeds_of "${name#fuzz_}")"
  work=$build/fuzz-work/$name
  mkdir -p "$work"
  if "$target" -runs=0 "${seeds[@]}" >"$work/replay.log" 2>&1 &&
     "$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 "$work" "${seeds[@]}" >"$work/fuzz.log" 2>&1; then
    echo "fuzz $name: ok (corpus replayed, fuzzed ${seconds}s)"
    passed=$((passed + 1))
  else
    echo "fuzz $name: FAILED; see $work/*.log"
    tail -40 "$work"/*.log
    failed=$((failed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
