#!/usr/bin/env bash
# test-windows-packaging.sh [BUILD_DIR]: the Windows download as a Windows user meets it,
# under wine (scripts/test-windows.sh runs it on its virtual display):
# - console habits of plandown.exe: redirected text in the console's output code page
#   (932 after `chcp 932` in a console; the ANSI code page of a Japanese system without
#   one) with CR LF, JSON in UTF-8, "/?" for help;
# - the installer dist/plandown-setup-VERSION.exe: a silent per-user install gives the
#   program, the Start-menu and Send to shortcuts and the entry under Settings -> Apps; the
#   installed plandown.exe answers; a silent uninstall removes all of it and leaves the
#   settings file;
# - the window at 96 and 144 dots per inch (wine's LogPixels, in a prefix of its own so
#   that no other wine run sees the change): its measures grow by half, and a picture of
#   each is kept as docs/screenshots/windows-main-window-{96,144}dpi.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-win}
wine=$root/scripts/wine-run.sh
export WINEPREFIX=${PLANDOWN_WINEPREFIX:-${PLANDOWN_CACHE:-$HOME/.cache/plandown}/wine-prefix}
wineserver=/usr/lib/wine/wineserver
started=$SECONDS
winpath() { local p=$1; echo "Z:${p//\//\\}"; }
fail() { echo "test-windows-packaging: $*" >&2; exit 1; }
work=$(mktemp -d)
trap '[ -n "${KEEP_WORK:-}" ] || rm -rf "$work"' EXIT

# --- console habits
# ASCII names: wine takes arguments and file names in the host's locale, and this machine
# has no Japanese one; the drawing's memo is Japanese.
mkdir "$work/drawings"
cp "$root/examples/plan.jww" "$work/drawings/plan.jww"
folder=$(winpath "$work/drawings")
memo='サンプル平面図'
name932=$(printf '%s' "$memo" | iconv -f UTF-8 -t CP932)
check_cp932() {  # FILE: the Japanese memo in code page 932, every line ended by CR LF
  grep -qF "$name932" "$1" || fail "$1 does not hold the name in code page 932: $(od -c "$1" | head -5)"
  ! grep -qF "$memo" "$1" || fail "$1 holds UTF-8"
  [ "$(grep -c $'\r$' "$1")" = "$(wc -l <"$1")" ] || fail "$1 has lines without CR LF"
}
# Without a console: the ANSI code page, here that of a Japanese system.
LC_ALL=ja_JP.UTF-8 "$wine" "$build/plandown.exe" list "$folder" >"$work/ansi.txt"
check_cp932 "$work/ansi.txt"
# In a console (a pseudo-terminal) whose code page is 932 while the ANSI code page is not.
script -qec "'$wine' cmd /c 'chcp 932 >nul & $(winpath "$build/plandown.exe") list $folder > $(winpath "$work/console.txt")'" \
  /dev/null >/dev/null 2>&1 || true
[ -s "$work/console.txt" ] || fail "no output redirected from a console"
check_cp932 "$work/console.txt"
# JSON stays UTF-8.
LC_ALL=ja_JP.UTF-8 "$wine" "$build/plandown.exe" list --json "$folder" >"$work/list.json"
grep -qF "\"$memo" "$work/list.json" || fail "the JSON list is not UTF-8: $(head -c 300 "$work/list.json")"
# PLANDOWN_UTF8=1 keeps UTF-8 and LF.
PLANDOWN_UTF8=1 LC_ALL=ja_JP.UTF-8 "$wine" "$build/plandown.exe" list "$folder" >"$work/utf8.txt"
grep -qF "$memo" "$work/utf8.txt" && ! grep -q $'\r' "$work/utf8.txt" || fail "PLANDOWN_UTF8=1 does not keep UTF-8"
"$wine" "$build/plandown.exe" '/?' | grep -q "Usage:" || fail "plandown.exe /? shows no help"
echo "test-windows-packaging: console habits ok"

# --- the installer
setup=$(ls "$root"/dist/plandown-setup-*.exe)
version=$(basename "$setup" .exe)
version=${version#plandown-setup-}
user_dir=$WINEPREFIX/drive_c/users/$(id -un)
installed=$user_dir/AppData/Local/Programs/Plandown
start_menu="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Plandown.lnk"
send_to="$user_dir/AppData/Roaming/Microsoft/Windows/SendTo/Plandown で変換.lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Plandown'

"$wine" "$setup" /S
"$wineserver" -w
for f in "$installed/plandown.exe" "$installed/plandown-gui.exe" "$installed/README.txt" \
  "$installed/uninstall.exe" "$start_menu" "$send_to"; do
  [ -f "$f" ] || fail "not installed: $f"
done
"$wine" reg query "$key" /v UninstallString >"$work/reg.txt" 2>&1 || fail "no entry under Settings -> Apps"
grep -q 'uninstall.exe' "$work/reg.txt" || fail "the uninstaller entry does not name uninstall.exe"
answer=$("$wine" "$installed/plandown.exe" --version | tr -d '\r')
[ "$answer" = "plandown $version" ] || fail "the installed plandown.exe answers '$answer'"

# The user's settings file stays; everything installed goes.
echo settings >"$installed/plandown-gui.dat"
"$wine" "$installed/uninstall.exe" /S
"$wineserver" -w
for f in "$installed/plandown.exe" "$installed/plandown-gui.exe" "$installed/README.txt" \
  "$installed/uninstall.exe" "$installed/licenses" "$start_menu" "$send_to" "$user_dir/Desktop/Plandown.lnk"; do
  [ ! -e "$f" ] || fail "left after uninstalling: $f"
done
! "$wine" reg query "$key" >/dev/null 2>&1 || fail "the Settings -> Apps entry is left"
[ -f "$installed/plandown-gui.dat" ] || fail "the uninstaller removed the settings file"
rm -rf "$installed"
echo "test-windows-packaging: installer ok ($((SECONDS - started)) s)"

# --- the window at the display's scale
if [ ! -f "$build/tests/gui/gui_tests.exe" ]; then
  echo "test-windows-packaging: no window tests built; the display scale is not tried"
  exit 0
fi
started=$SECONDS
scaled_prefix=$work/prefix
for dpi in 96 144; do
  PLANDOWN_WINEPREFIX=$scaled_prefix "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
    /d "$dpi" /f >/dev/null 2>&1
  WINEPREFIX=$scaled_prefix "$wineserver" -k 2>/dev/null || true
  WINEPREFIX=$scaled_prefix "$wineserver" -w 2>/dev/null || true
  PLANDOWN_WINEPREFIX=$scaled_prefix PLANDOWN_SCALE_REPORT=$(winpath "$work/scale-$dpi.txt") \
    PLANDOWN_SCREENSHOTS=$(winpath "$root/docs/screenshots") \
    "$wine" "$build/tests/gui/gui_tests.exe" --gtest_filter='DisplayScale.*' >"$work/gui-$dpi.log" 2>&1 ||
    { cat "$work/gui-$dpi.log" >&2; fail "the window test failed at $dpi dpi"; }
  [ -s "$work/scale-$dpi.txt" ] || { cat "$work/gui-$dpi.log" >&2; fail "no measures at $dpi dpi"; }
  sed -i 's/\r$//' "$work/scale-$dpi.txt"
  grep -qx "dpi $dpi" "$work/scale-$dpi.txt" || fail "wine did not take LogPixels $dpi: $(head -1 "$work/scale-$dpi.txt")"
done
WINEPREFIX=$scaled_prefix "$wineserver" -k 2>/dev/null || true
# Each measure at 144 dpi is about one and a half times that at 96.
paste "$work/scale-96.txt" "$work/scale-144.txt" | while read -r name small _ large; do
  [ "$name" = dpi ] && continue
  awk -v s="$small" -v l="$large" 'BEGIN { exit !(s > 0 && l / s >= 1.3 && l / s <= 1.7) }' ||
    fail "$name does not scale with the display: $small at 96 dpi, $large at 144 dpi"
done
echo "test-windows-packaging: the window scales with the display ($(tr '\n' ' ' <"$work/scale-144.txt"); $((SECONDS - started)) s)"
