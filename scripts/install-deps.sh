#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running libzep need.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libgtest-dev googletest
  libgtk2.0-dev libcairo2-dev libpango1.0-dev libglib2.0-dev libfontconfig1-dev
  fonts-dejavu-core fonts-droid-fallback
  xvfb xauth xdotool x11-apps
  poppler-utils imagemagick
  hershey-fonts-data
  # the geography package: netCDF reader and the shoreline database (crude to intermediate)
  libnetcdf-dev gmt-gshhg-low
  # image pages are written through libpng directly; PDF streams compressed at our zlib level
  libpng-dev zlib1g-dev
  # the sanitizer suite and the fuzz harnesses of CI are built with clang
  clang-14 libclang-rt-14-dev
  # baselines of the benchmarks only (bench/); the library never links them
  libproj-dev libplplot-dev plplot-driver-cairo
  python3-contourpy python3-numpy python3-matplotlib
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "install-deps: installing ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
