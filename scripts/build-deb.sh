#!/usr/bin/env bash
# build-deb.sh [BUILD_DIR]: the Debian package dist/plandown_VERSION_amd64.deb.
#
# Installs what is missing (scripts/setup.sh), builds the programs, the graphics module,
# the icon and the manual page in BUILD_DIR (default build/, as scripts/build.sh makes it)
# and packs them with CPack; the dependencies come from the built binaries (dpkg-shlibdeps).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build}")  # absolute: cpack runs inside it

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target plandown plandown-gui plandown-graphics plandown_icon plandown_manpage
mkdir -p "$root/dist"
rm -rf "$build/cpack"
(cd "$build" && cpack -G DEB -B "$build/cpack" >"$build/cpack.log" 2>&1) || { cat "$build/cpack.log" >&2; exit 1; }
deb=$(ls "$build"/cpack/plandown_*.deb)
rm -f "$root"/dist/plandown_*.deb
cp "$deb" "$root/dist/"
echo "build-deb: wrote dist/$(basename "$deb")"
