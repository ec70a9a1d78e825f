#!/usr/bin/env bash
# Builds the browser site: build-web/site/ (the pages, the module, the font subset, the pictures
# and icons, the service worker) and build-web/lxtools-web-1.0.zip.
#   scripts/build-web.sh [build folder]      (default build-web)
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-build-web}"
# Debian's emscripten finds its JavaScript modules here, whatever node is first on the PATH.
export NODE_PATH=/usr/share/nodejs
if command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
# The pictures are drawn by the Linux build's code: in build/ when it is there, else in a host
# build of its own inside the web build.
host=()
[ -f build/CMakeCache.txt ] && host=(-DLX_HOST_BUILD="$PWD/build")
emcmake cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${host[@]}" >/dev/null
cmake --build "$out" -j2
