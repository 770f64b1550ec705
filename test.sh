#!/usr/bin/env bash
# ./test.sh: installs what is missing, then builds and runs every test twice: a normal
# build (build/) and an AddressSanitizer+UndefinedBehaviorSanitizer build (build-asan/, the
# window tests included); runs the tests that convert side by side and the window tests
# under ThreadSanitizer (build-tsan/); runs every
# fuzz target for a bounded time (build-fuzz/); then builds the Windows download and runs
# the tests as Windows programs under wine (scripts/test-windows.sh, build-win/; the first
# run on a machine also builds the Windows libraries, about 20 minutes, in the background
# while the Linux steps run).
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
scripts/setup-windows.sh
jobs=$(nproc)
# The Windows libraries take longest to build (on a machine's first run): they build in
# the background, at a lower priority, while the Linux steps run, and the Windows step
# waits for them. An earlier build is reused at once.
nice -n 10 scripts/windows-deps.sh >build-windows-deps.log 2>&1 &
deps=$!

step "normal build"
scripts/build.sh build
(cd build && ctest --output-on-failure -j"$jobs")

step "Debian package: built, installed, used and removed"
scripts/test-deb.sh build

step "sanitizer build (the window and its tests included, under Xvfb)"
# Optimised a little and with line tables only: quicker to build, and the reports still
# name file and line.
sanitizer_flags=(-DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1")
scripts/build.sh build-asan -DPLANDOWN_SANITIZE=ON -DPLANDOWN_BENCH=OFF -DPLANDOWN_GUI=ON "${sanitizer_flags[@]}"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions="$PWD/../tests/lsan.supp" \
  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j"$jobs")

step "thread sanitizer: the conversions side by side, and the window with its threads"
PLANDOWN_BUILD_TARGETS="plandown plandown_tests gui_tests" \
  scripts/build.sh build-tsan -DPLANDOWN_TSAN=ON -DPLANDOWN_BENCH=OFF -DPLANDOWN_GUI=ON "${sanitizer_flags[@]}"
(cd build-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/../tests/tsan.supp" \
  ctest --output-on-failure -j"$jobs" -R 'SideBySide|SeveralThreads|Serialised|^gui_tests$')

step "fuzzing"
# 20 seconds a target keeps the whole of ./test.sh within its time on the build machine.
PLANDOWN_FUZZ_SECONDS=${PLANDOWN_FUZZ_SECONDS:-20} scripts/fuzz.sh

step "Windows: cross-build, download and tests under wine"
if ! wait "$deps"; then
  echo "the Windows libraries could not be built; the end of build-windows-deps.log:"
  tail -n 40 build-windows-deps.log
  exit 1
fi
scripts/test-windows.sh
step ""
echo "./test.sh: everything passed in $SECONDS s"
