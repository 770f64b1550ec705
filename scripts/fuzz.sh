#!/usr/bin/env bash
# scripts/fuzz.sh: builds the libFuzzer targets with clang into build-fuzz/ and runs each
# for a bounded time on seeds written by make_seeds (plus the shared corpus when present),
# one target after the other. Fails on any crash, sanitizer report, leak, timeout or
# out-of-memory; the inputs that failed are kept in build-fuzz/artifacts/TARGET/.
#   PLANDOWN_FUZZ_SECONDS  seconds per target (default 45)
#   PLANDOWN_FUZZ_TARGETS  targets to run (default: all)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${PLANDOWN_FUZZ_SECONDS:-45}
targets=${PLANDOWN_FUZZ_TARGETS:-"jww jws roundtrip dos gzip settings text"}

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPLANDOWN_FUZZ=ON -DPLANDOWN_GUI=OFF -DPLANDOWN_BENCH=OFF >/dev/null
cmake --build build-fuzz --target fuzz_all -j"$(nproc)"

# Seeds, the growing corpus and the targets' scratch files live only for this run (real
# files never enter the tree), in memory where the system offers it.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
work=$(mktemp -d "${TMPDIR:-/tmp}/plandown-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT
seed_args=("$work/seeds")
if [ -d ../shared/corpus ]; then seed_args+=(../shared/corpus); fi
build-fuzz/fuzz/make_seeds "${seed_args[@]}"

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
failed=()
for target in $targets; do
  case $target in
    jww|jws|roundtrip) max_len=32768 ;;  # room for a 7.00 header and entities after it
    *) max_len=4096 ;;
  esac
  artifacts=build-fuzz/artifacts/$target
  mkdir -p "$work/corpus/$target" "$artifacts"
  log=$work/$target.log
  status=0
  timeout $((seconds + 120)) build-fuzz/fuzz/fuzz_$target -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -max_len=$max_len -print_final_stats=1 -artifact_prefix="$artifacts/" \
    "$work/corpus/$target" "$work/seeds/$target" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  if [ "$status" -ne 0 ]; then
    failed+=("$target")
    echo "fuzz_$target: FAILED (exit $status) after ${runs:-?} executions"
    grep -E "ERROR|SUMMARY|broken promise|runtime error|Test unit written" "$log" | head -20 || true
  else
    echo "fuzz_$target: ${runs:-?} executions in ${seconds} s, no failure"
  fi
done

if ((${#failed[@]})); then
  echo "fuzzing failed: ${failed[*]}"
  exit 1
fi
