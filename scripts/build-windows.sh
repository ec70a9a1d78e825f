#!/usr/bin/env bash
# Cross-builds the Windows programs on Debian with mingw-w64 and packs them as a zip:
#   build-win/package/lxtools-<version>-windows-x64.zip
# holding ambrel.exe, ostrel.exe and lxcfg.exe (statically linked, no DLLs, with our icons) with
# Data/, the read-me and the documentation beside them. The build folder is build-win/ unless LX_WIN_BUILD names another.
set -euo pipefail
cd "$(dirname "$0")/.."
LX_WINDOWS=1 scripts/install-deps.sh
build="${LX_WIN_BUILD:-build-win}"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
  "${launcher[@]}" >/dev/null
# The programs' icons come from a host build of the icon program inside $build (Qt, drawn as the
# Linux icons are): built first and on its own, so that it too keeps to LX_JOBS jobs.
export CMAKE_BUILD_PARALLEL_LEVEL="${LX_JOBS:-2}"
cmake --build "$build" --target lx_host_icons >/dev/null
cmake --build "$build" -j"${LX_JOBS:-2}" --target ambrel ostrel lxcfg lx_data
(cd "$build" && cpack -G ZIP >/dev/null)
zip=$(ls "$build"/package/*.zip)
# What users unpack: a packaging change that leaves something out fails here, not on their desk.
python3 - "$zip" resources/Data <<'PY'
import pathlib, sys, zipfile
archive, data = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
top = archive.name.removesuffix(".zip") + "/"
names = set(zipfile.ZipFile(archive).namelist())
wanted = ["ambrel.exe", "ostrel.exe", "lxcfg.exe", "README.txt", "docs/guide.md", "docs/lxcfg.md",
          "docs/default-images.md"] + [f"Data/{m.name}/EEPROM.h" for m in sorted(data.iterdir())]
missing = [w for w in wanted if top + w not in names]
if missing:
    sys.exit(f"build-windows.sh: {archive} lacks {', '.join(missing)}")
PY
echo "$zip ($(stat -c %s "$zip") bytes)"
