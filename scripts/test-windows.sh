#!/usr/bin/env bash
# test-windows.sh: the Windows build and its tests. Builds the download and every test
# program for Windows (scripts/build-windows.sh into build-win/), then runs the test suite
# under wine (scripts/wine-run.sh, the tests' emulator): the window tests under a virtual
# display, saving docs/screenshots/windows-*.png. The fault tests for a full disk get a
# small volume when one can be mounted (as root); without it they are skipped.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-win
jobs=$(nproc)

PLANDOWN_WINDOWS_TARGETS=all "$root/scripts/build-windows.sh" "$build"

started=$SECONDS
# Wine shows the host's / as the drive Z:.
winpath() { local p=$1; echo "Z:${p//\//\\}"; }

volume=$(mktemp -d "${TMPDIR:-/tmp}/plandown-small-volume.XXXXXX")
cleanup() {
  if mountpoint -q "$volume"; then umount "$volume"; fi
  rmdir "$volume" 2>/dev/null || true
}
trap cleanup EXIT
if [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=1m,mode=0777 plandown-small-volume "$volume" 2>/dev/null; then
  export PLANDOWN_SMALL_VOLUME
  PLANDOWN_SMALL_VOLUME=$(winpath "$volume")
else
  echo "test-windows: no small volume could be mounted; the full-disk tests are skipped"
fi
export PLANDOWN_SCREENSHOTS
PLANDOWN_SCREENSHOTS=$(winpath "$root/docs/screenshots")

# The private prefix is made before the tests start, so that parallel tests find it ready.
"$root/scripts/wine-run.sh" cmd /c exit 0
(cd "$build" && ctest --output-on-failure -j"$jobs")
echo "test-windows: tests under wine ran in $((SECONDS - started)) s"
