#!/usr/bin/env bash
# Installs the Debian packages that the Windows build and its tests under wine need (only
# the missing ones): the mingw-w64 cross-compilers with POSIX threads, zlib for mingw,
# wine, a virtual display, a Japanese font, and what building Debian's source packages
# takes.
set -euo pipefail
PACKAGES=(mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix libz-mingw-w64-dev
  wine wine64 xvfb xauth fonts-noto-cjk cmake make pkg-config dpkg-dev zip unzip xz-utils
  googletest ca-certificates)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
