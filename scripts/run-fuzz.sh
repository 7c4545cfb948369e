#!/usr/bin/env bash
# Replays each fuzz target's seed corpus and then fuzzes it for SECONDS.
# Usage: scripts/run-fuzz.sh BUILD_DIR SECONDS
set -euo pipefail
build=$1
seconds=$2
cd "$(dirname "$0")/.."
passed=0
failed=0
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus=fuzz/corpus/${name#fuzz_}
  work=$build/fuzz-work/$name
  mkdir -p "$work"
  if "$target" -runs=0 "$corpus" >"$work/replay.log" 2>&1 &&
     "$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 "$work" "$corpus" >"$work/fuzz.log" 2>&1; then
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
