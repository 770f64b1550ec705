#!/usr/bin/env bash
# ./run.sh [plandown arguments...]
# Installs what is missing, builds into build/, then runs plandown with the arguments.
# With no arguments it runs the main job on the bundled examples; `./run.sh gui` starts the
# desktop application.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
scripts/build.sh build
if [ "${1:-}" = gui ]; then
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "plandown-gui needs a desktop session (no DISPLAY or WAYLAND_DISPLAY is set)." >&2
    exit 1
  fi
  shift
  exec build/plandown-gui "$@"
fi
if [ $# -eq 0 ]; then
  echo "== plandown info examples/*"
  exec build/plandown info examples/*.jww examples/*.jws
fi
exec build/plandown "$@"
