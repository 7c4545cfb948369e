#!/usr/bin/env bash
# The main job: reads every survey in samples/ and exports it to every format
# into out/<sample>/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTLX_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)" --target tlxexport >/dev/null
tlx=build/src/cli/tlxexport

for sample in samples/*.tlx; do
  name=$(basename "$sample" .tlx)
  out=out/$name
  mkdir -p "$out"
  echo "== $sample"
  status=0
  "$tlx" check "$sample" --log "$out/check.log" || status=$?
  echo "   check: exit $status ($(grep -c '^E[0-9]' "$out/check.log" || true) error reports; $(grep 'Total errors' "$out/check.log"))"
  for cmd in $("$tlx" --help | awk '$1 == "tlxexport" {print $2}'); do
    case $cmd in
      dxf)  "$tlx" dxf "$sample" "$out/$name.dxf" --log "$out/dxf.log" && echo "   dxf:   $out/$name.dxf" ;;
      mif)  "$tlx" mif "$sample" "$out/mif" --overwrite all --log "$out/mif.log" && echo "   mif:   $out/mif/" ;;
      shp)  "$tlx" shp "$sample" "$out/shp" --overwrite all --log "$out/shp.log" && echo "   shp:   $out/shp/" ;;
      text) "$tlx" text "$sample" "$out/$name.txt" --log "$out/text.log" && echo "   text:  $out/$name.txt" ;;
    esac
  done
done
echo "Outputs and logs are in out/."
