#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite twice: once in
# a debug build with warnings as errors, once under AddressSanitizer,
# UndefinedBehaviorSanitizer and LeakSanitizer; then runs each fuzz harness
# for 15 seconds (scripts/fuzz.sh).
#
#   scripts/test.sh              both builds and the fuzz harnesses
#   scripts/test.sh --quick      the debug build only
#   scripts/test.sh -L unit      arguments after the options go to ctest
set -euo pipefail
cd "$(dirname "$0")/.."

sanitize=1
if [ "${1:-}" = "--quick" ]; then
  sanitize=0
  shift
fi

./scripts/install-deps.sh

jobs=$(nproc)
export CTEST_OUTPUT_ON_FAILURE=1
# Every test runs here: a skipped test means something is missing.
export VELTA_FAIL_ON_SKIP=1

run_suite() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELTA_WARNINGS_AS_ERRORS=ON "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  # A test that fails is run once more before it counts: sound is checked in
  # real time on a busy shared machine. A fault that fails twice still fails
  # the suite.
  ctest --test-dir "$dir" -j "$jobs" --no-tests=error --repeat until-pass:2 "${ctest_args[@]}"
}

ctest_args=("$@")

echo "== debug build"
run_suite build/debug

if [ "$sanitize" = 1 ]; then
  echo "== sanitizer build"
  # intercept_tls_get_addr=0: with it on, this compiler's runtime guesses the
  # extent of a thread-local block that a loaded module (the GL driver's)
  # takes from the heap; when the block happens to start 16 bytes into a page
  # it reads the allocator's own header as that extent, and the leak check at
  # exit dies scanning a wild address ("Tracer caught signal 11"), in whichever
  # program's heap is laid out that way, every run. Off, those blocks are still
  # scanned, as memory the dynamic linker allocated.
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1:intercept_tls_get_addr=0
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0
  run_suite build/sanitize -DVELTA_SANITIZE=ON -DVELTA_BUILD_BENCHMARKS=OFF

  echo "== fuzz harnesses"
  ./scripts/fuzz.sh --seconds=15
fi
echo "== all tests passed"
