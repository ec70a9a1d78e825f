#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a fresh folder as a clean installation would lay it
# out, and runs the programs from there: lxcfg through its link in bin/, a scripted session of
# each tool through the installed uiscenario, and each window offscreen and, when Xvfb is at
# hand, on a virtual display where it must paint and close from its close box.
#   scripts/test-package.sh [build-dir]      (default: build; configured when missing)
set -euo pipefail
cd "$(dirname "$0")/.."
build="$(realpath -m "${1:-build}")"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target ambrel ostrel uiscenario lxcfg lx_man lx_gui_man lx_icon_files lx_guiprobe

scratch=$(mktemp -d)
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT
failures=0
check() {  # check <what> <command...>: runs the command, counts a failure
  local what="$1"
  shift
  if "$@" >"$scratch/out" 2>&1; then
    echo "ok   $what"
  else
    echo "FAIL $what"
    sed 's/^/     /' "$scratch/out"
    failures=$((failures + 1))
  fi
}

echo "== package"
(cd "$build" && cpack -G DEB -B "$scratch/deb" >/dev/null)
deb=$(ls "$scratch"/deb/*.deb)
echo "$(basename "$deb"): $(dpkg-deb -f "$deb" Depends)"
check "library dependencies computed" sh -c "dpkg-deb -f '$deb' Depends | grep -q libqt6widgets6"
root="$scratch/root"
dpkg-deb -x "$deb" "$root"
check "programs, Data/, links, desktop entries, icons, man pages" sh -c "
  cd '$root/usr' &&
  for p in ambrel ostrel lxcfg; do test -x lib/lxtools/\$p && test \"\$(readlink bin/\$p)\" = ../lib/lxtools/\$p || exit 1; done &&
  for m in LX7240 LX7250 LX7240D LX7250D LX7140 LX7150 LXM7140; do test -s lib/lxtools/Data/\$m/EEPROM.h || exit 1; done &&
  for t in ambrel ostrel; do test -s share/applications/\$t.desktop && test -s share/icons/hicolor/48x48/apps/\$t.png &&
    test -s share/icons/hicolor/256x256/apps/\$t.png && test -s share/man/man1/\$t.1.gz || exit 1; done &&
  zcat share/man/man1/lxcfg.1.gz | grep -q '^\.SH EXAMPLES'"
command -v desktop-file-validate >/dev/null &&
  check "desktop entries valid" desktop-file-validate "$root"/usr/share/applications/*.desktop

echo "== programs from the unpacked package"
work="$scratch/work"
mkdir -p "$work"
check "lxcfg new writes the default image" sh -c "
  cd '$work' && '$root/usr/bin/lxcfg' new --model LX7250 -o EEPROM.h &&
  test \"\$(wc -l < EEPROM.h)\" -eq 102 && grep -q '^#define LX7250' EEPROM.h"
check "lxcfg show reads it back" sh -c "cd '$work' && '$root/usr/bin/lxcfg' show EEPROM.h | grep -q LX7250"
for tool in ambrel ostrel; do
  model=LX7240
  [ "$tool" = ostrel ] && model=LX7140
  check "$tool: scripted session loads $model's default image and saves it" sh -c "
    cd '$work' && printf 'click 1001\ncommand 32772\nfile data/$tool.h\n' |
      '$root/usr/lib/lxtools/uiscenario' $tool '$work/$tool' - > $tool.log &&
    ! grep -q '打开EEPROM.h文件失败' $tool.log && grep -q 'wrote data/$tool.h' $tool.log &&
    grep -q '^#define $model' '$work/$tool/data/$tool.h'"
  # Offscreen: the main window is created (its initialisation makes the data folder) and the
  # program is still running when stopped.
  check "$tool: window comes up offscreen" sh -c "
    mkdir -p '$work/off-$tool' && cd '$work/off-$tool' &&
    { QT_QPA_PLATFORM=offscreen timeout 3 '$root/usr/bin/$tool'; test \$? -eq 124; } && test -d data"
done

if command -v Xvfb >/dev/null; then
  exec {fd}<> <(:)
  Xvfb -displayfd "$fd" -screen 0 1280x1024x24 -br -noreset -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r -t 10 display <&"$fd" || display=""
  if [ -n "$display" ]; then
    for tool in ambrel ostrel; do
      title=Ambrel
      [ "$tool" = ostrel ] && title=Ostrel
      mkdir -p "$work/x-$tool"
      check "$tool: window paints on a display and its close box ends the program" sh -c "
        cd '$work/x-$tool' && DISPLAY=:$display '$build/bin/lx_guiprobe' $title 5 60 FFFFFF '$root/usr/bin/$tool'"
    done
  else
    echo "skip: Xvfb did not start"
  fi
fi

echo "package checks: $failures failed"
[ "$failures" -eq 0 ]
