#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need,
# only when one of them is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config          # compiler and build
  libgtest-dev                              # unit tests
  qt6-base-dev                              # the dialogs (Qt 6 Widgets)
  clang libclang-rt-14-dev                  # libFuzzer targets
  clang-format                              # the format check (.clang-format)
  gdal-bin python3-gdal                     # GDAL read-back of every output and ogr2ogr baselines
  libgdal-dev                               # the GDAL driver ogr_TLX.so
  postgresql postgis                        # the driver's PostGIS round trip (a throwaway cluster)
  python3-ezdxf                             # DXF read-back and audit
  python3-pyshp python3-dbfread shapelib    # shapefile and DBF read-back, shpdump -validate
  man-db groff-base bash-completion         # the installed man page and completion in tests
  file dpkg-dev                             # the Debian package (cpack -G DEB, its shlibdeps)
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null
fi
