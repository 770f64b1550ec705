#!/usr/bin/env bash
# ./run.sh [plandown arguments...]
# Installs what is missing, builds into build/, then runs plandown with the arguments.
# With no arguments it converts the bundled examples into a fresh folder under out/;
# `./run.sh gui` starts the desktop application.
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
if [ $# -gt 0 ]; then
  exec build/plandown "$@"
fi

mkdir -p out
dest=$(mktemp -d "out/examples-$(date +%Y%m%d-%H%M%S)-XXXX")
examples=(examples/*.jww examples/*.jws)
echo "== plandown list examples"
build/plandown list examples
echo
echo "== plandown convert --to 6.00 --report $dest/report.json --out $dest ${examples[*]}"
status=0
build/plandown convert --to 6.00 --report "$dest/report.json" --out "$dest" "${examples[@]}" || status=$?
case $status in
  0) meaning="every file was converted from a clean read" ;;
  1) meaning="a file was refused, failed or read with errors (examples/old_300.jww, a 3.00 drawing, is refused on purpose)" ;;
  2) meaning="usage error: nothing was converted" ;;
  *) meaning="unexpected" ;;
esac
echo
echo "== plandown exit status $status: $meaning"
echo
echo "== plandown list $dest (the converted files and the JSON report)"
build/plandown list "$dest"
# A refused example is the expected result of the demonstration, not a failure of it.
if [ "$status" -le 1 ]; then exit 0; fi
exit "$status"
