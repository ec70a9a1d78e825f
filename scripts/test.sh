#!/usr/bin/env bash
# Builds and runs every test twice: a normal build, then one under AddressSanitizer and
# UndefinedBehaviorSanitizer; static analysis of our sources (clang-tidy, cppcheck); a short
# libFuzzer run of each fuzz target; then the Windows programs, cross-built and tested under Wine
# (LX_WINDOWS=0 leaves them out).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
jobs=2
# A compiler cache keyed on paths relative to this checkout: a second run, or a run from another
# clone on the same machine, rebuilds only what changed.
if command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi

echo "== build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build -j"$jobs" --output-on-failure -LE web

if [ "${LX_WEB:-1}" != 0 ]; then
  # The browser build and its tests: the browser column of the differential test and the
  # real-input session in headless Chromium. Its budget is 6 minutes, the host build of its
  # pictures included; the time is printed against it, and only a hang (15 minutes) stops it.
  echo "== browser (emscripten, Chromium)"
  web_start=$SECONDS
  timeout -k 30 900 bash -c 'scripts/build-web.sh && ctest --test-dir build -L web -j2 --output-on-failure' || {
    echo "FAIL: the web stage failed or did not finish within 15 minutes" >&2
    exit 1
  }
  web_time=$((SECONDS - web_start))
  echo "web stage: ${web_time} s (budget 360 s)$([ "$web_time" -gt 360 ] && echo ', OVER BUDGET')"
fi

echo "== static analysis (clang-tidy, cppcheck)"
LX_JOBS="$jobs" scripts/analyse.sh build

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLX_SANITIZE=ON -DLX_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan -j"$jobs" --output-on-failure

if command -v clang++-14 >/dev/null; then
  # Every library of this build is instrumented (coverage and sanitizers), not only the harnesses.
  targets="header h2bin codec bin2h set lxcfg plan scan exchange script"
  echo "== fuzzing (${LX_FUZZ_SECONDS:-20} s per target)"
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DLX_GUI=OFF -DLX_BENCH=OFF -DLX_FUZZ=ON >/dev/null
  cmake --build build-fuzz -j"$jobs" --target $(printf 'fuzz_%s ' $targets)
  for t in $targets; do
    work=$(mktemp -d)
    cp fuzz/corpus/"$t"/* "$work"/
    # Scratch files (bin To h, lxcfg) go to memory where there is some: fsync there costs nothing.
    (cd "$work" && TMPDIR=$( [ -d /dev/shm ] && echo /dev/shm || echo /tmp ) \
      "$OLDPWD"/build-fuzz/bin/fuzz_"$t" -max_total_time="${LX_FUZZ_SECONDS:-20}" -max_len=4096 -timeout=10 \
      -artifact_prefix="$work"/ "$work" 2>&1 | tail -n 2)
    rm -rf "$work"
  done
fi

echo "== Debian package"
scripts/test-package.sh build

if [ "${LX_WINDOWS:-1}" != 0 ]; then
  # The Windows programs: cross-built, packed, and tested under Wine on a virtual display. Each
  # step has its own time limit (together 45 minutes, beside about 30 for the Linux stages), so
  # that a hung Wine or a slow machine fails the run in time instead of holding it; the whole
  # process group of a step is ended, Wine and the virtual display included.
  echo "== Windows programs (mingw-w64, Wine)"
  windows_step() {
    local limit=$1
    shift
    local status=0
    timeout -k 30 "$limit" "$@" || status=$?
    if [ "$status" = 124 ] || [ "$status" = 137 ]; then
      echo "FAIL: $* did not finish within $limit s" >&2
    fi
    return "$status"
  }
  windows_step 1200 bash scripts/build-windows.sh
  windows_step 1500 bash scripts/test-windows.sh
fi

# The browser tests ran in their own stage, within its time limit.
echo "== summary (normal build, run again after the fuzzing)"
log=build/ctest-summary.log
if ! ctest --test-dir build -j"$jobs" -LE web >"$log" 2>&1; then
  cat "$log"
  exit 1
fi
grep -E 'tests passed' "$log"
total=$(sed -nE 's/.*tests failed out of ([0-9]+).*/\1/p' "$log")
failed=$(sed -nE 's/.* ([0-9]+) tests failed out of.*/\1/p' "$log")
echo "tests: $((total - failed)) passed, $failed failed"
