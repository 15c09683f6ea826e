#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build, the tests and the demo need,
# asking apt only for those that are missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  dpkg-dev scdoc librsvg2-bin desktop-file-utils appstream man-db groff-base
  qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev
  libicu-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth xdotool trayer openbox x11-utils imagemagick fonts-dejavu-core fonts-liberation
  dbus-daemon weston qt6-wayland
  clang-format
  python3-prometheus-client
  at-spi2-core python3-dbus
  libmicrohttpd-dev libcurl4-openssl-dev prometheus lintian
  clang llvm libclang-rt-14-dev
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  sudo=sudo
else
  sudo=
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
