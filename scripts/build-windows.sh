#!/usr/bin/env bash
# build-windows.sh [BUILD_DIR]: the Windows download, built on this Debian machine.
#
# Installs what is missing (scripts/setup-windows.sh; as root), builds or reuses the static
# Windows libraries (scripts/windows-deps.sh, cached in ~/.cache/plandown/), cross-builds
# plandown.exe and plandown-gui.exe with mingw-w64 into BUILD_DIR (default build-win/)
# and writes dist/plandown-windows-x64.zip (the two programs, README.txt and the licence
# texts of the libraries linked in) and the installer dist/plandown-setup-VERSION.exe
# (NSIS, packaging/windows/installer.nsi). Everything is linked statically.
#
# PLANDOWN_WINDOWS_TARGETS (default "plandown plandown-gui") names the targets to build;
# "all" builds the test programs too (scripts/test-windows.sh does). The download is
# written only when both programs are built.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build-win}")  # absolute: makensis reads it from elsewhere
jobs=$(nproc)

"$root/scripts/setup-windows.sh"

started=$SECONDS
prefix=$("$root/scripts/windows-deps.sh")
echo "build-windows: Windows libraries ready in $prefix ($((SECONDS - started)) s)"

started=$SECONDS
# Libraries built anew (another key) live in another folder: what CMake found in the old
# one is forgotten.
if [ -f "$build/CMakeCache.txt" ] &&
  ! grep -q "^PLANDOWN_WINDOWS_PREFIX:[A-Z]*=$prefix\$" "$build/CMakeCache.txt"; then
  rm -f "$build/CMakeCache.txt"
fi
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DPLANDOWN_WINDOWS_PREFIX="$prefix" -DwxWidgets_CONFIG_EXECUTABLE="$prefix/bin/wx-config" \
  -DCMAKE_BUILD_TYPE=Release -DPLANDOWN_BENCH=OFF >"$build.configure.log" 2>&1 ||
  { cat "$build.configure.log" >&2; exit 1; }
rm -f "$build.configure.log"
read -r -a targets <<<"${PLANDOWN_WINDOWS_TARGETS:-plandown plandown-gui}"
target_args=()
for t in "${targets[@]}"; do target_args+=(--target "$t"); done
cmake --build "$build" -j"$jobs" "${target_args[@]}"
echo "build-windows: project built in $((SECONDS - started)) s"

# The download needs both programs: a build of some targets only stops here.
has_target() { [[ " ${targets[*]} " == *" $1 "* ]]; }
if ! has_target all && ! { has_target plandown && has_target plandown-gui; }; then
  echo "build-windows: built ${targets[*]} only; no download written"
  exit 0
fi

# Only the windowed program may be one: a console program that became windowed prints
# nothing in a console.
subsystem() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^Subsystem[[:space:]]*//p'; }
case "$(subsystem "$build/plandown.exe")" in
  *"Windows CUI"*) ;;
  *) echo "build-windows: plandown.exe is not a console program" >&2; exit 1 ;;
esac
case "$(subsystem "$build/plandown-gui.exe")" in
  *"Windows GUI"*) ;;
  *) echo "build-windows: plandown-gui.exe is not a windowed program" >&2; exit 1 ;;
esac
# Nothing beyond the DLLs every Windows has.
for exe in plandown.exe plandown-gui.exe; do
  extra=$(x86_64-w64-mingw32-objdump -p "$build/$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' |
    grep -viE '^winspool\.drv$|^(kernel32|user32|gdi32|comdlg32|winmm|shell32|shlwapi|comctl32|ole32|oleaut32|uuid|rpcrt4|advapi32|version|ws2_32|wininet|oleacc|uxtheme|msvcrt|imm32|msimg32|gdiplus|bcrypt|api-ms-win-.*)\.dll$' || true)
  if [ -n "$extra" ]; then
    echo "build-windows: $exe needs DLLs that Windows does not have: $extra" >&2
    exit 1
  fi
done

# Each program carries its manifest (visual styles, DPI awareness), icon and version: the
# resource types 24, 14 (icon group) and 16 at the top of its resource directory.
for exe in plandown.exe plandown-gui.exe; do
  types=$(x86_64-w64-mingw32-objdump -p "$build/$exe" | sed -n 's/^[0-9a-f]*   Entry: ID: 0x\([0-9a-f]*\),.*/\1/p')
  for type in "000018:manifest" "00000e:icon" "000010:version"; do
    if ! grep -qx "${type%%:*}" <<<"$types"; then
      echo "build-windows: $exe has no ${type#*:} resource" >&2
      exit 1
    fi
  done
done

# The download.
stage=$build/zip/plandown
rm -rf "$build/zip"
mkdir -p "$stage/licenses" "$root/dist"
for exe in plandown.exe plandown-gui.exe; do
  x86_64-w64-mingw32-strip -o "$stage/$exe" "$build/$exe"
done
# UTF-8 with a byte-order mark, so that every Notepad shows the Japanese half.
{ printf '\xEF\xBB\xBF'; cat "$build/README.txt"; } >"$stage/README.txt"
for f in "$prefix"/licenses/*.txt; do
  sed 's/$/\r/' "$f" >"$stage/licenses/$(basename "$f")"
done
zip_file=$root/dist/plandown-windows-x64.zip
rm -f "$zip_file"
(cd "$build/zip" && zip -q -X -r "$zip_file" plandown)
echo "build-windows: wrote $zip_file ($(du -h "$zip_file" | cut -f1))"

# The installer, from the same files.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
setup_file=$root/dist/plandown-setup-$version.exe
rm -f "$root"/dist/plandown-setup-*.exe
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DICON="$build/icons/plandown.ico" \
  -DOUTFILE="$setup_file" "$root/packaging/windows/installer.nsi"
echo "build-windows: wrote $setup_file ($(du -h "$setup_file" | cut -f1))"
