#!/usr/bin/env bash
# ./run.sh [plandown arguments...]
# Installs what is missing, builds into build/, then runs plandown with the arguments.
# With no arguments it runs the main job on the bundled examples.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
scripts/build.sh build
if [ $# -eq 0 ]; then
  echo "== plandown info examples/*"
  exec build/plandown info examples/*.jww examples/*.jws
fi
exec build/plandown "$@"
