#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12 (only what is missing).
set -euo pipefail
packages=(
  cmake ninja-build g++ git pkg-config ccache
  qt6-base-dev fonts-wqy-microhei xvfb xauth openbox xdotool
  libcli11-dev libfmt-dev nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev libexpat1-dev
  clang-14 libclang-rt-14-dev clang-tidy-14 cppcheck python3
  help2man dpkg-dev file qt6-translations-l10n libxcb1-dev
)
# xdotool drives the shipped programs through the X server, on Linux under a window manager
# (openbox). The Windows programs are cross-built with mingw-w64 and tested under Wine (and
# zipped); fonts-wine holds Marlett, the font of the title bar's buttons (without it they read
# "0 1 r").
if [ "${LX_WINDOWS:-1}" != 0 ]; then
  packages+=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 fonts-wine python3)
fi
# The browser build and its tests: emscripten, the font the site's subset is cut from (with
# fonttools and brotli for WOFF2), and Chromium driven through Selenium (LX_WEB=0 leaves them out).
if [ "${LX_WEB:-1}" != 0 ]; then
  packages+=(emscripten python3-fonttools python3-brotli chromium chromium-driver python3-selenium)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi
