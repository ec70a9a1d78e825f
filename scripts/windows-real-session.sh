#!/usr/bin/env bash
# The shipped Windows programs themselves, driven through the X server as a user drives them:
# ambrel.exe and ostrel.exe started in an empty folder, a model chosen, the channel dialog
# opened, a frequency typed into a channel and copied to its bank, OK, File > Save with the
# name the save dialog proposes, Escape. The header each program saves must be byte for byte
# the one the Linux build saves for the same actions; the time from the start of a program to
# its window on the screen is printed as its start-up time.
#   scripts/windows-real-session.sh <windows bin folder> <linux bin folder> <work folder>
# Called by scripts/test-windows.sh, inside its virtual display and Wine prefix.
#
# The places clicked are those of the controls as Wine lays the windows out with the font
# substitutes of the test prefix: a 753x323 main window and a 648x359 channel dialog, the sizes
# of the screenshots in docs/windows/. A window of another size stops the test with a note.
set -euo pipefail
# shellcheck source=scripts/x-input.sh
source "$(dirname "$0")/x-input.sh"
win_bin=$1
linux_bin=$2
work=$3
command -v xdotool >/dev/null || { echo "windows-real-session.sh: xdotool missing (scripts/install-deps.sh installs it)" >&2; exit 2; }

# Key strokes for a window: with no window manager on the display, the X input focus is given
# to it first.
keys() {
  local target=$1
  shift
  xdotool windowfocus --sync "$target" 2>/dev/null || true
  xdotool key --clearmodifiers "$@"
}

# tool, main-window title, model radio x y, channel box x y, bank button x y, frequency, the same
# actions as a scenario script.
session() {
  local tool=$1 title=$2 radio=($3) box=($4) bank=($5) frequency=$6 script=$7
  local dir="$work/real-$tool"
  rm -rf "$dir"
  mkdir -p "$dir"
  local start
  start=$(date +%s%N)
  (cd "$dir" && LC_ALL=C.UTF-8 exec wine "$win_bin/$tool.exe" >/dev/null 2>&1) &
  local program=$!
  local main
  main=$(window "^$title\$")
  if [ -z "$main" ]; then
    echo "FAIL: $tool.exe showed no window" >&2
    return 1
  fi
  echo "$tool.exe: its window on the screen $((($(date +%s%N) - start) / 1000000)) ms after the start"
  size_is "$main" 753x323 "$tool.exe's main window" || return 1
  click "$main" "${radio[@]}"
  click "$main" 610 180  # the channel dialog's picture button
  local channel
  channel=$(window '^频道配置$')
  [ -n "$channel" ] || { echo "FAIL: $tool.exe: the channel dialog did not open" >&2; return 1; }
  size_is "$channel" 648x359 "$tool.exe's channel dialog" || return 1
  click "$channel" "${box[@]}"
  keys "$channel" End shift+Home
  xdotool type --delay 20 "$frequency"
  sleep 0.2
  click "$channel" "${bank[@]}"
  click "$channel" 272 316  # OK
  gone '^频道配置$' || { echo "FAIL: $tool.exe: the channel dialog did not close on OK" >&2; return 1; }
  click "$main" 20 32  # 文件
  keys "$main" Down Down Return  # 保存
  local save
  save=$(window '^Save As$')
  [ -n "$save" ] || { echo "FAIL: $tool.exe: File > Save showed no save dialog" >&2; return 1; }
  keys "$save" Return  # the proposed EEPROM.h in the data folder
  gone '^Save As$' || { echo "FAIL: $tool.exe: the save dialog did not close" >&2; return 1; }
  sleep 0.3
  # The menu bar from the keyboard: F10 highlights 文件, Right 查看, Enter opens it, Enter runs 寄存器.
  keys "$main" F10 Right Return Return
  local registers
  registers=$(window '^寄存器$')
  [ -n "$registers" ] || { echo "FAIL: $tool.exe: F10, Right, Enter, Enter did not open 寄存器" >&2; return 1; }
  keys "$registers" Escape
  gone '^寄存器$' || { echo "FAIL: $tool.exe: the register window did not close on Escape" >&2; return 1; }
  sleep 0.3
  keys "$main" Escape
  for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$program" 2>/dev/null; then
    echo "FAIL: $tool.exe did not end on Escape" >&2
    return 1
  fi
  rm -rf "$work/linux-$tool"
  printf '%s\n' "$script" | "$linux_bin/uiscenario" "$tool" "$work/linux-$tool" - >/dev/null
  if cmp "$dir/data/EEPROM.h" "$work/linux-$tool/data/EEPROM.h"; then
    echo "$tool.exe: the header it saved is identical to the Linux build's ($(stat -c %s "$dir/data/EEPROM.h") bytes)"
  else
    echo "FAIL: $tool.exe saved another header than the Linux build" >&2
    return 1
  fi
}

status=0
session ambrel 'Ambrel  V1.0' '422 89' '135 106' '136 316' 606000 \
  "$(printf '%s\n' 'click 1003' 'click 1006' 'type 1009 606000' 'click 1041' 'click 1' 'command 32772' \
    'file data/EEPROM.h' 'escape')" || status=1
session ostrel 'Ostrel V1.7' '368 86' '452 106' '505 316' 250000 \
  "$(printf '%s\n' 'click 1007' 'click 1006' 'type 1018 250000' 'click 1042' 'click 1' 'command 32772' \
    'file data/EEPROM.h' 'escape')" || status=1
exit $status
