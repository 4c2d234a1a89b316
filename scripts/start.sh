#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it.
# Arguments are passed on to ripplejet.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELTA_BUILD_TESTS=OFF -DVELTA_BUILD_BENCHMARKS=OFF >/dev/null
# Building the game also generates its data (models, textures, sounds) into bin/.
cmake --build build/release -j "$(nproc)" --target ripplejet

# The game reads its data relative to the working directory.
cd build/release/bin
exec ./ripplejet "$@"
