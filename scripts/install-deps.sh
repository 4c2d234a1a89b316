#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs to build, run and test.
# Only missing packages are installed; apt-get runs through sudo when not root.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config
  # tests and benchmarks
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  # engine back ends: window, input and timer; OpenGL; images; sound
  libsdl1.2-dev libx11-dev
  libgl-dev libglu1-mesa-dev libglew-dev libgl1-mesa-dri
  libdevil-dev
  libopenal-dev libmpg123-dev
  # content generation: MP3 encoding, glyphs, writing PNG images
  libmp3lame-dev libfreetype-dev fonts-dejavu-core libpng-dev
  # rendering and end-to-end tests: a virtual display, X input, screenshots
  xvfb xauth xdotool imagemagick
  # fuzz harnesses: clang with libFuzzer and its sanitizer runtimes
  clang libclang-rt-14-dev
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$package")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
