#!/usr/bin/env bash
# ./test.sh: installs what is missing, then builds and runs every test twice: a normal
# build (build/) and an AddressSanitizer+UndefinedBehaviorSanitizer build (build-asan/, the
# window tests included); runs the tests that convert side by side and the window tests
# under ThreadSanitizer (build-tsan/); runs every
# fuzz target for a bounded time (build-fuzz/); then builds the Windows download and runs
# the tests as Windows programs under wine (scripts/test-windows.sh, build-win/; the first
# run on a machine also builds the Windows libraries, about 20 minutes).
set -euo pipefail
cd "$(dirname "$0")"
# Each step says how long the one before it took, and the run ends with the whole time.
step_started=$SECONDS
step_name=
step() {
  if [ -n "$step_name" ]; then echo "-- $step_name: $((SECONDS - step_started)) s (at $SECONDS s)"; fi
  step_name=$1
  step_started=$SECONDS
  [ -z "$1" ] || echo "== $1"
}
step "packages"
scripts/setup.sh
jobs=$(nproc)

step "normal build"
scripts/build.sh build
(cd build && ctest --output-on-failure -j"$jobs")

step "Debian package: built, installed, used and removed"
scripts/test-deb.sh build

step "sanitizer build (the window and its tests included, under Xvfb)"
scripts/build.sh build-asan -DPLANDOWN_SANITIZE=ON -DPLANDOWN_BENCH=OFF -DPLANDOWN_GUI=ON
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions="$PWD/../tests/lsan.supp" \
  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j"$jobs")

step "thread sanitizer: the conversions side by side, and the window with its threads"
scripts/build.sh build-tsan -DPLANDOWN_TSAN=ON -DPLANDOWN_BENCH=OFF -DPLANDOWN_GUI=ON
(cd build-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/../tests/tsan.supp" \
  ctest --output-on-failure -j"$jobs" -R 'SideBySide|SeveralThreads|Serialised|^gui_tests$')

step "fuzzing"
# 30 seconds a target keeps the whole of ./test.sh well within its time on the build machine.
PLANDOWN_FUZZ_SECONDS=${PLANDOWN_FUZZ_SECONDS:-30} scripts/fuzz.sh

step "Windows: cross-build, download and tests under wine"
scripts/test-windows.sh
step ""
echo "./test.sh: everything passed in $SECONDS s"
