#!/usr/bin/env bash
# Plays the first 300 frames of the golden race (tests/ripplejet/data) in the
# real game under valgrind's memcheck, on a virtual display, with sound into
# nothing; fails on any error or leak that tests/sanitizer/memcheck.supp does
# not name. Uses the debug build (scripts/test.sh --quick makes it).
#
#   scripts/memcheck.sh             300 frames
#   scripts/memcheck.sh 1000        another count
set -euo pipefail
cd "$(dirname "$0")/.."

frames=${1:-300}
out=$PWD/build/memcheck
mkdir -p "$out"
./scripts/install-deps.sh
cmake -S . -B build/debug -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/debug -j "$(nproc)" --target ripplejet

# The race cut after its first frames; its end line is not the replay's to
# match, so the game's own exit status is not looked at.
awk -v n="$frames" '/^f / { if (++count > n) exit } { print }' tests/ripplejet/data/golden-race.rjr >"$out/race.rjr"
echo "end $frames unfinished 0" >>"$out/race.rjr"

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 1 50); do
  DISPLAY=$display xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.2
done

status=0
(cd build/debug/bin &&
  DISPLAY=$display ALSOFT_DRIVERS=null LP_NUM_THREADS=0 valgrind --tool=memcheck --leak-check=full \
    --show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite,indirect --num-callers=30 \
    --suppressions="$PWD/../../../tests/sanitizer/memcheck.supp" --error-exitcode=99 \
    --log-file="$out/log.txt" ./ripplejet --replay "$out/race.rjr" --windowed --size 320x240 >/dev/null) ||
  status=$?
grep -E "ERROR SUMMARY|definitely lost|indirectly lost" "$out/log.txt" || true
if [ "$status" = 99 ]; then
  echo "memcheck: errors in $out/log.txt" >&2
  exit 1
fi
echo "memcheck: $frames frames clean"
