#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the run need.
# Safe to run again: only missing packages are installed.
set -euo pipefail

packages=(
  cmake ninja-build pkg-config clang clang-format libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  mingw-w64-x86-64-dev mingw-w64-i686-dev binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  googletest libgtest-dev libbenchmark-dev
  wine wine64 xvfb xdotool x11-utils x11-apps x11-xserver-utils imagemagick fonts-wqy-microhei
  zbar-tools libzbar-dev qrencode libqrencode-dev zxing-cpp-tools libzxing-dev
  # The decode test: a local web server and the clipboard read back.
  python3 xclip
  # The export test: SVG drawings checked and rendered to pictures.
  libxml2-utils librsvg2-bin
  # zh_CN.UTF-8 must exist for Wine to use code page 936 file names.
  locales-all
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
