#!/usr/bin/env bash
# The main job: reads every survey in samples/ and exports it to every format
# into out/<sample>/: DXF, MapInfo MIF/MID, shapefiles and the text export.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh || exit 1

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTLX_TESTS=OFF >/dev/null || exit 1
cmake --build build -j"$(nproc)" --target tlxexport >/dev/null || exit 1
tlx=build/src/cli/tlxexport

failed=0
run() {  # run LABEL WHERE COMMAND...
  local label=$1 where=$2
  shift 2
  if "$@"; then
    printf '   %-6s %s\n' "$label" "$where"
  else
    printf '   %-6s FAILED (exit %d), see the log beside it\n' "$label" "$?"
    failed=1
  fi
}

for sample in samples/*.tlx; do
  name=$(basename "$sample" .tlx)
  out=out/$name
  rm -rf "$out"
  mkdir -p "$out"
  echo "== $sample"
  # check exits 3 when the survey has reading errors: reported, not a failure.
  summary=$("$tlx" check "$sample" --log "$out/check.log")
  status=$?
  if [ $status -eq 0 ] || [ $status -eq 3 ]; then
    echo "   check  $summary (reading log: $out/check.log)"
  else
    echo "   check  FAILED (exit $status)"
    failed=1
  fi
  run dxf  "$out/$name.dxf" "$tlx" dxf  "$sample" "$out/$name.dxf" --log "$out/dxf.log"
  run mif  "$out/mif/"      "$tlx" mif  "$sample" "$out/mif" --overwrite all --log "$out/mif.log"
  run shp  "$out/shp/"      "$tlx" shp  "$sample" "$out/shp" --overwrite all --log "$out/shp.log"
  run text "$out/$name.txt" "$tlx" text "$sample" "$out/$name.txt" --log "$out/text.log"
done
echo "Outputs and logs are in out/."
exit $failed
