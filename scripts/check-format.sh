#!/usr/bin/env bash
# Lists every C++ file under src, tests, fuzz, bench, tools and examples that
# differs from .clang-format and fails when there is one.
#   scripts/check-format.sh         check only
#   scripts/check-format.sh --fix   rewrite the files in place
# CLANG_FORMAT names the program (default clang-format; the style is written
# for version 14).
set -uo pipefail
cd "$(dirname "$0")/.."
clang_format=${CLANG_FORMAT:-clang-format}
fix=0
case "${1:-}" in
  --fix) fix=1 ;;
  "") ;;
  *) echo "usage: $0 [--fix]" >&2; exit 2 ;;
esac
if ! command -v "$clang_format" >/dev/null; then
  echo "check-format: $clang_format not found" >&2
  exit 2
fi

mapfile -t files < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'fuzz/*.cpp' 'fuzz/*.h' \
  'bench/*.cpp' 'bench/*.h' 'tools/*.cpp' 'tools/*.h' 'examples/*.cpp' 'examples/*.h')
unformatted=()
for f in "${files[@]}"; do
  if ! "$clang_format" --style=file "$f" | cmp -s - "$f"; then
    unformatted+=("$f")
  fi
done
if [ ${#unformatted[@]} -eq 0 ]; then
  echo "check-format: ${#files[@]} files, all formatted"
  exit 0
fi
if [ $fix -eq 1 ]; then
  "$clang_format" --style=file -i "${unformatted[@]}"
  echo "check-format: reformatted ${#unformatted[@]} of ${#files[@]} files"
  exit 0
fi
printf '%s\n' "${unformatted[@]}"
echo "check-format: ${#unformatted[@]} of ${#files[@]} files are not formatted (scripts/check-format.sh --fix)" >&2
exit 1
