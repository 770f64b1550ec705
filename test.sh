#!/usr/bin/env bash
# ./test.sh: installs what is missing, then builds and runs every test twice: a normal
# build (build/) and an AddressSanitizer+UndefinedBehaviorSanitizer build (build-asan/);
# then runs every fuzz target for a bounded time (build-fuzz/).
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
jobs=$(nproc)

echo "== normal build"
scripts/build.sh build
(cd build && ctest --output-on-failure -j"$jobs")

echo "== sanitizer build"
scripts/build.sh build-asan -DPLANDOWN_SANITIZE=ON -DPLANDOWN_BENCH=OFF -DPLANDOWN_GUI=OFF
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j"$jobs")

echo "== fuzzing"
# 30 seconds a target keeps the whole of ./test.sh well within its time on the build machine.
PLANDOWN_FUZZ_SECONDS=${PLANDOWN_FUZZ_SECONDS:-30} scripts/fuzz.sh
