#!/usr/bin/env bash
# Installs what is missing, builds the benchmarks optimised and runs them.
# Arguments go to every benchmark program (for example --benchmark_filter=Matrix).
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELTA_BUILD_TESTS=OFF >/dev/null
cmake --build build/bench -j "$(nproc)"

for bench in build/bench/bin/*_bench; do
  echo "== $(basename "$bench")"
  "$bench" "$@"
done
