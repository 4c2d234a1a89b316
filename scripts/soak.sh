#!/usr/bin/env bash
# Plays the real game for a long while on a virtual display and checks that it
# holds up: the autopilot races while keys arrive at random moments (items
# chosen and used, the duck put back or near the finish, new races, pauses,
# the help, full-screen switches). At the end the game must quit cleanly on
# Escape, have logged nothing but the expected lines, and its resident memory
# must not grow, by 1 MB or more over the run, after the first minute.
#
# Memory is compared like with like. Resident memory swings by megabytes with
# the moment it is read: the driver's buffers follow the window's size and the
# view, and freed pages stay with the process until a new race or window hands
# them back. So every five minutes (and at the start and the end) the soak
# brings the game to the same point, a new race in full screen 30 s in, and
# reads it there: these checkpoints carry everything earlier races and keys
# left behind, and nothing of the moment. Growth is their least-squares line
# over the time they span. The samples every 10 s are kept for the record.
#
#   scripts/soak.sh                 30 minutes, release build
#   scripts/soak.sh --minutes=5     a shorter run
#
# Writes build/soak/{memory.txt,checkpoints.txt,stderr.txt,keys.txt}. Needs
# Xvfb and xdotool (scripts/install-deps.sh installs them).
set -euo pipefail
cd "$(dirname "$0")/.."

minutes=30
for argument in "$@"; do
  case $argument in
    --minutes=*) minutes=${argument#--minutes=} ;;
    *) echo "unknown option $argument" >&2; exit 2 ;;
  esac
done

./scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELTA_BUILD_TESTS=OFF -DVELTA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build/release -j "$(nproc)" --target ripplejet

out=$PWD/build/soak
mkdir -p "$out"
: >"$out/memory.txt"
: >"$out/checkpoints.txt"
: >"$out/keys.txt"

# A display of our own, so that nothing else types into the game.
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
game=
cleanup() {
  [ -n "$game" ] && kill "$game" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 1 50); do
  DISPLAY=$display xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.2
done

export ALSOFT_DRIVERS=null LIBGL_ALWAYS_SOFTWARE=1
(cd build/release/bin && exec ./ripplejet --autopilot --windowed) 2>"$out/stderr.txt" >/dev/null &
game=$!

resident_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$game/status" 2>/dev/null || echo 0; }
full_screen=0
press() {
  echo "$(date +%s) $*" >>"$out/keys.txt"
  xdotool key "$@" 2>/dev/null || true
  [ "$*" != t ] || full_screen=$((1 - full_screen))
}

start=$(date +%s)
end=$((start + minutes * 60))
next_sample=$start
sample() {
  now=$(date +%s)
  if [ "$now" -ge "$next_sample" ]; then
    echo "$((now - start)) $(resident_kb)" >>"$out/memory.txt"
    next_sample=$((now + 10))
  fi
}
# A new race in full screen, read once it is 30 s in; nothing else is pressed
# meanwhile.
checkpoint() {
  if [ "$full_screen" = 0 ]; then
    press t
    sleep 3
  fi
  press Return
  sleep 30
  echo "$(($(date +%s) - start)) $(resident_kb)" >>"$out/checkpoints.txt"
  next_checkpoint=$(($(date +%s) + 300))
}

# The first minute does everything, so that what the game keeps for good
# (the smoke of a booster, the heap's layout once a few races have come and
# gone) is there before memory is compared. Three new races: memory settles
# by the third, and goes on rising for half a minute after each while the
# race gets going, so the last comes early. It ends in full screen, the
# bigger of the two windows by a few megabytes of frame buffer, so that a
# bigger window is not counted as growth.
sleep 6
for keys in "click" "e" "Return" "click" "q" "Return" "t" "t" "Return" "click" "r" "c" "Pause" "Pause" \
  "F1" "F1" "t" "e"; do
  if [ "$keys" = click ]; then
    xdotool click 1 2>/dev/null || true
  else
    press "$keys"
  fi
  sample
  sleep 2
done
checkpoint

while [ "$(date +%s)" -lt "$end" ]; do
  if ! kill -0 "$game" 2>/dev/null; then
    echo "soak: the game ended by itself after $(($(date +%s) - start)) s" >&2
    cat "$out/stderr.txt" >&2
    exit 1
  fi
  sample
  if [ "$(date +%s)" -ge "$next_checkpoint" ]; then
    checkpoint
    continue
  fi
  case $((RANDOM % 20)) in
    0 | 1 | 2) press e ;;
    3 | 4) press q ;;
    5 | 6 | 7) echo "$(date +%s) click" >>"$out/keys.txt"; xdotool click 1 2>/dev/null || true ;;
    8) press r ;;
    9) press c ;;
    10) press Return ;;
    11) press Pause; sleep 3; press Pause ;;
    12) press F1; sleep 2; press F1 ;;
    13) press t ;;
    *) ;;
  esac
  sleep $((2 + RANDOM % 6))
done
checkpoint

press Escape
for _ in $(seq 1 60); do
  kill -0 "$game" 2>/dev/null || break
  sleep 1
done
status=0
wait "$game" || status=$?
game=

# The game prints nothing while played like this.
unexpected=$(grep -v -E '^$' "$out/stderr.txt" || true)
first_minute=$(awk '$1 >= 60 { print $2; exit }' "$out/memory.txt")
last=$(tail -n 1 "$out/memory.txt" | awk '{ print $2 }')
peak=$(awk '$1 >= 60 && $2 > max { max = $2 } END { print max + 0 }' "$out/memory.txt")
# The level of every sample after the first minute, for the record: single
# readings differ by megabytes, so this line moves by a megabyte or two
# between runs of the same build.
level_trend() {
  awk -v from="$1" '$1 >= from { n++; x += $1; y += $2; xx += $1 * $1; xy += $1 * $2; if (n == 1) first = $1; t = $1 }
    END { d = n * xx - x * x; print (n >= 2 && d > 0) ? int((n * xy - x * y) / d * (t - first)) : 0 }' "$2"
}
sampled=$(level_trend 60 "$out/memory.txt")
growth=$(level_trend 0 "$out/checkpoints.txt")
checkpoints=$(awk '{ printf "%s%s", sep, $2; sep = ", " }' "$out/checkpoints.txt")
echo "soak: $minutes min, exit status $status, resident memory after the first minute ${first_minute} kB," \
  "at the end ${last} kB, highest ${peak} kB, trend of all samples ${sampled} kB;" \
  "at the checkpoints ${checkpoints} kB, growth ${growth} kB;" \
  "$(wc -l <"$out/keys.txt") keys and clicks"
failed=0
[ "$status" = 0 ] || { echo "soak: the game did not end cleanly" >&2; failed=1; }
[ -z "$unexpected" ] || { echo "soak: unexpected log lines:" >&2; echo "$unexpected" >&2; failed=1; }
[ "$growth" -lt 1024 ] || { echo "soak: memory grew by ${growth} kB over the run" >&2; failed=1; }
exit $failed
