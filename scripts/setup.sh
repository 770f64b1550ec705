#!/usr/bin/env bash
# Installs the Debian packages the build, the packages (icon, manual page, .deb) and the
# tests need (only the missing ones).
set -euo pipefail
PACKAGES=(cmake g++ make pkg-config libgtest-dev libgmock-dev googletest libbenchmark-dev
  zlib1g-dev libwxgtk3.2-dev nlohmann-json3-dev libcli11-dev clang libclang-rt-14-dev xvfb xauth fonts-noto-cjk
  libx11-dev openbox x11-utils librsvg2-bin icoutils help2man desktop-file-utils man-db dpkg-dev file)
"$(dirname "$0")/install-packages.sh" "${PACKAGES[@]}"
