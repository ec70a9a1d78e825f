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
emcmake cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$out" -j2
