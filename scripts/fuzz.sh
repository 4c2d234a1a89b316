#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ with clang in build/fuzz and runs
# each on its corpus, seeded from the generated content (models, textures,
# sounds; a few textures also converted to JPEG, BMP and TGA). Inputs that
# find new coverage are kept in build/fuzz/corpus/<harness> for later runs;
# a crash, hang, leak or sanitizer report stops its harness, leaves the input
# in build/fuzz/findings/ and fails the script.
#
#   scripts/fuzz.sh                         every harness for 20 s
#   scripts/fuzz.sh --seconds=600           every harness for 10 minutes
#   scripts/fuzz.sh --runs=1000000 mp3_stream image_loader
#                                           those two for a million inputs each
#
# The mutations follow a fixed seed, so that a run in CI does the same as the
# run before it; FUZZ_SEED=n picks another.
set -euo pipefail
cd "$(dirname "$0")/.."

limit=(-max_total_time=20)
harnesses=()
for argument in "$@"; do
  case $argument in
    --seconds=*) limit=(-max_total_time="${argument#--seconds=}") ;;
    --runs=*) limit=(-runs="${argument#--runs=}") ;;
    -*) echo "unknown option $argument" >&2; exit 2 ;;
    *) harnesses+=("$argument") ;;
  esac
done
[ ${#harnesses[@]} -gt 0 ] || harnesses=(ms3d_model image_header image_loader height_map mp3_stream)

./scripts/install-deps.sh
build=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELTA_FUZZ=ON \
  -DVELTA_BUILD_TESTS=OFF -DVELTA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target game_content "${harnesses[@]/%/_fuzzer}"

# The seeds of each harness.
seeds_of() {
  case $1 in
    ms3d_model) echo models ;;
    mp3_stream) echo sounds ;;
    *) echo images ;;
  esac
}

# Seeds only for the harnesses asked for, so that runs of different harnesses
# can share the build.
data=$build/bin
seeds=$build/seeds
mkdir -p "$build/findings"
for kind in $(for harness in "${harnesses[@]}"; do seeds_of "$harness"; done | sort -u); do
  rm -rf "${seeds:?}/$kind"
  mkdir -p "$seeds/$kind"
  case $kind in
    models) cp "$data"/models/*.ms3d "$seeds/models/" ;;
    sounds) cp "$data"/sound/*.mp3 "$seeds/sounds/" ;;
    images)
      find "$data/textures" -name '*.png' -o -name '*.pcx' | while read -r file; do
        cp "$file" "$seeds/images/$(basename "$(dirname "$file")")-$(basename "$file")"
      done
      for texture in buoy pole oxygenskin icons/banana; do
        for format in jpg bmp tga; do
          convert "$data/textures/$texture.png" "$seeds/images/$(basename "$texture").$format"
        done
      done
      convert "$data/textures/buoy.png" -interlace Plane "$seeds/images/buoy-progressive.jpg"
      convert "$data/textures/pole.png" -compress RLE "$seeds/images/pole-rle.tga"
      ;;
  esac
done

# The largest input each harness is given.
max_len_of() {
  case $1 in
    ms3d_model) echo 65536 ;;
    mp3_stream) echo 4096 ;;
    *) echo 32768 ;;
  esac
}
# DevIL has no frame pointers: only the slow unwinder sees far enough into it
# for the leak suppression of its PNG reader to match. The height-map harness,
# which decodes the same files as the image loader harness, runs with the fast
# one and its own suppression (fuzz/lsan.supp).
unwind_of() {
  case $1 in
    image_loader) echo 0 ;;
    *) echo 1 ;;
  esac
}
suppressions_of() {
  case $1 in
    height_map) echo "$PWD/fuzz/lsan.supp" ;;
    *) echo "$PWD/tests/sanitizer/lsan.supp" ;;
  esac
}

export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export ALSOFT_LOGLEVEL=0

failed=0
for harness in "${harnesses[@]}"; do
  corpus=$build/corpus/$harness
  mkdir -p "$corpus"
  log=$build/$harness.log
  start=$(date +%s)
  if ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1:fast_unwind_on_malloc=$(unwind_of "$harness") \
      LSAN_OPTIONS=suppressions=$(suppressions_of "$harness"):print_suppressions=0 \
      "$build/bin/${harness}_fuzzer" "$corpus" "$seeds/$(seeds_of "$harness")" "${limit[@]}" \
      -max_len="$(max_len_of "$harness")" -timeout=25 -rss_limit_mb=4096 -seed="${FUZZ_SEED:-1}" -print_final_stats=1 \
      -artifact_prefix="$build/findings/$harness-" >"$log" 2>&1; then
    result=ok
  else
    result=FAILED
    failed=1
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
  coverage=$(grep -E '^#[0-9]+' "$log" | tail -1 | grep -oE 'cov: [0-9]+ ft: [0-9]+' || true)
  echo "fuzz $harness: $result, ${runs:-?} inputs in $(($(date +%s) - start)) s, ${coverage:-no coverage figures} (log: $log)"
  if [ $result = FAILED ]; then
    grep -E 'ERROR|SUMMARY|Test unit written|runtime error' "$log" | head -20 || true
  fi
done
passed=0
for harness in "${harnesses[@]}"; do
  grep -q 'stat::number_of_executed_units' "$build/$harness.log" && ! grep -q '^==[0-9]*==ERROR\|^SUMMARY' "$build/$harness.log" && passed=$((passed + 1))
done
echo "fuzz: $passed passed, $((${#harnesses[@]} - passed)) failed"
exit $failed
