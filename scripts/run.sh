#!/usr/bin/env bash
# Builds everything and starts a tool's window on its shipped default images.
#   scripts/run.sh            Ambrel (transmitter chips)
#   scripts/run.sh ostrel     Ostrel (receiver chips)
#   scripts/run.sh lxcfg ...  the command line
#   scripts/run.sh web        both tools in the browser: builds the site and serves it on 127.0.0.1
set -euo pipefail
cd "$(dirname "$0")/.."
tool="${1:-ambrel}"
shift || true
scripts/install-deps.sh
if [ "$tool" = web ]; then
  scripts/build-web.sh
  port="${LX_WEB_PORT:-8765}"
  echo "Ambrel and Ostrel in the browser: http://127.0.0.1:$port/ (Ctrl+C ends the server)"
  exec /usr/bin/python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web/site
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2
if [ "$tool" = lxcfg ]; then exec build/bin/lxcfg "$@"; fi
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display here: run it under a virtual one, e.g. 'xvfb-run -a build/bin/$tool'," >&2
  echo "or use the command line 'build/bin/lxcfg --help'." >&2
  exit 1
fi
exec "build/bin/$tool" "$@"
