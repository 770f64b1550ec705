#!/usr/bin/env bash
# build.sh DIR [cmake options...]: configures and builds into DIR.
#   PLANDOWN_BUILD_TARGETS  targets to build (default: all)
set -euo pipefail
dir=$1; shift
cmake -S "$(dirname "$0")/.." -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
target_args=()
for t in ${PLANDOWN_BUILD_TARGETS:-}; do target_args+=(--target "$t"); done
cmake --build "$dir" -j"$(nproc)" "${target_args[@]}"
