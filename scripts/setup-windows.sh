#!/usr/bin/env bash
# Installs the Debian packages that the Windows build and its tests under wine need (only
# the missing ones): the mingw-w64 cross-compilers with POSIX threads, zlib for mingw,
# wine, a virtual display, a Japanese font, and what building Debian's source packages
# takes.
set -euo pipefail
PACKAGES=(mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix libz-mingw-w64-dev
  wine wine64 xvfb xauth fonts-noto-cjk cmake make pkg-config dpkg-dev zip unzip xz-utils
  googletest ca-certificates nsis librsvg2-bin icoutils)
"$(dirname "$0")/install-packages.sh" "${PACKAGES[@]}"
