#!/usr/bin/env bash
# Installs, from Debian 12's packages, everything Quillet needs to build, run and test.
set -euo pipefail

if [ "$(id -u)" -eq 0 ]; then
  SUDO=()
elif command -v sudo >/dev/null 2>&1; then
  SUDO=(sudo)
else
  echo "install-deps: run as root or install sudo" >&2
  exit 1
fi

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config git clang-format
  # Qt 6: widgets, translations, embedded browser
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
  qt6-webengine-dev qt6-webengine-dev-tools libgl-dev libvulkan-dev libxkbcommon-dev
  # codecs
  libmad0-dev libogg-dev libvorbis-dev
  libavformat-dev libavcodec-dev libavutil-dev libswresample-dev
  # loudness measurement (EBU R128)
  libebur128-dev
  # network, sound devices, audio CD
  libcurl4-openssl-dev curl libasound2-dev
  libcdio-dev libcdio-cdda-dev libcdio-paranoia-dev
  # reference service
  libboost-dev
  # tests: GoogleTest, a virtual display, tools that make and measure fixtures
  googletest libgtest-dev libgmock-dev xvfb xauth xdotool imagemagick x11-utils fonts-dejavu-core
  sox vorbis-tools lame ffmpeg ccache
  # packaging: the icon's PNG sizes, the Debian packages, and the validators of the desktop
  # entry, the metainfo, the manual pages and the packages
  librsvg2-bin dpkg-dev file desktop-file-utils appstream man-db lintian bash-completion
)

export DEBIAN_FRONTEND=noninteractive
# A fresh machine has no package lists yet; refresh them at most once a day.
lists=$(find /var/lib/apt/lists -maxdepth 1 -name '*Packages*' -mmin -1440 2>/dev/null | head -n 1)
if [ -z "$lists" ]; then
  "${SUDO[@]}" apt-get update -q
fi
"${SUDO[@]}" apt-get install -y -q --no-install-recommends "${packages[@]}"
