#!/usr/bin/env bash
# test-windows.sh: the Windows build and its tests. Builds the download and every test
# program for Windows (scripts/build-windows.sh into build-win/), then runs the test suite
# under wine (scripts/wine-run.sh is the tests' emulator) on a virtual display; the window
# tests save docs/screenshots/windows-*.png. The full-disk fault tests get a small volume
# when one can be mounted (as root); without it they are skipped. With a Linux build in
# build/ (./test.sh makes it first), both builds convert the examples and the real files
# and must write the same bytes (scripts/compare-windows-output.sh). Last, the console
# habits and the installer (scripts/test-windows-packaging.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-win
jobs=$(nproc)

if [ "${1:-}" != --tests-only ]; then
  PLANDOWN_WINDOWS_TARGETS=all "$root/scripts/build-windows.sh" "$build"
  # Every wine process of the run shares one wine server and one desktop, which takes
  # the display of the process that starts it: all of them run on one virtual display.
  exec xvfb-run -a -s '-screen 0 1024x768x24' "$0" --tests-only
fi

started=$SECONDS
export NO_AT_BRIDGE=1
export WINEPREFIX=${PLANDOWN_WINEPREFIX:-${PLANDOWN_CACHE:-$HOME/.cache/plandown}/wine-prefix}
# A wine server left from an earlier run would keep its desktop on another display.
if [ -d "$WINEPREFIX" ]; then /usr/lib/wine/wineserver -k 2>/dev/null || true; fi

# Wine shows the host's / as the drive Z:.
winpath() { local p=$1; echo "Z:${p//\//\\}"; }

volume=$(mktemp -d "${TMPDIR:-/tmp}/plandown-small-volume.XXXXXX")
cleanup() {
  /usr/lib/wine/wineserver -w 2>/dev/null || true
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
# The day-of-use window test again and again, with wine's heap checks on: a crash on exit
# after a long session was seen here once and came intermittently.
WINEDEBUG=warn+heap "$root/scripts/wine-run.sh" "$build/tests/gui/gui_tests.exe" \
  --gtest_filter='WindowLifetime.DayOfUse' --gtest_repeat="${PLANDOWN_DAY_OF_USE_REPEAT:-3}"
# The Windows build converts the examples and the real files as the Linux build does.
if [ -x "$root/build/plandown" ]; then
  "$root/scripts/compare-windows-output.sh" "$root/build/plandown" "$build/plandown.exe"
else
  echo "test-windows: no Linux build in build/; the outputs of the two builds are not compared"
fi
# The console habits, the installer and the uninstaller as a Windows user meets them.
"$root/scripts/test-windows-packaging.sh" "$build"
echo "test-windows: tests under wine ran in $((SECONDS - started)) s"
