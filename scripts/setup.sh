#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (only the missing ones).
set -euo pipefail
PACKAGES=(cmake g++ make pkg-config libgtest-dev libgmock-dev googletest libbenchmark-dev
  zlib1g-dev libwxgtk3.2-dev nlohmann-json3-dev libcli11-dev clang libclang-rt-14-dev xvfb xauth fonts-noto-cjk
  libx11-dev openbox x11-utils)
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
