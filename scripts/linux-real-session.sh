#!/usr/bin/env bash
# The shipped ambrel driven through the X server as a user drives it, on a virtual display of its
# own with a window manager (openbox): LX7250 chosen, the audio dialog opened by its picture
# button, "46dB" typed into the microphone-sensitivity list, Tab, OK, File > 保存 through the menu
# and the save dialog with the name it proposes, Escape. Text typed into a list is never read:
# the header saved must be byte for byte the one saved by the same actions without the typing
# (run by the scenario runner). Then, in a second run: F4, Down, Enter in that list and OK save the
# item shown; Escape in an open list leaves the dialog open; F10, Right, Enter, Enter open 寄存器.
#   scripts/linux-real-session.sh <bin folder> <work folder>
# Exits 77 (skipped) where Xvfb, openbox or xdotool is missing.
#
# The places clicked are those of the controls as Qt lays the windows out with the fonts of
# scripts/install-deps.sh: a 747x318 main window and a 544x249 audio dialog. A window of another
# size stops the test with a note.
set -euo pipefail
# shellcheck source=scripts/x-input.sh
source "$(dirname "$0")/x-input.sh"
bin=$(cd "$1" && pwd)
mkdir -p "$2"
work=$(cd "$2" && pwd)
for program in Xvfb openbox xdotool; do
  if ! command -v "$program" >/dev/null; then
    echo "linux-real-session.sh: $program missing (scripts/install-deps.sh installs it): skipped"
    exit 77
  fi
done

# The display, its window manager and the program are ended with this script, however it ends.
started=()
cleanup() {
  local p
  for ((i = ${#started[@]} - 1; i >= 0; i--)); do
    p=${started[i]}
    kill "$p" 2>/dev/null || true
    wait "$p" 2>/dev/null || true
  done
}
trap cleanup EXIT

rm -f "$work/display" "$work/wm-ready"
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
started+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "FAIL: Xvfb did not start (see $work/xvfb.log)" >&2; exit 1; }
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY
# Qt's windows under X, whatever the test run chose for the tests in process.
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
openbox --startup "touch $work/wm-ready" >"$work/openbox.log" 2>&1 &
started+=($!)
for _ in $(seq 100); do [ -e "$work/wm-ready" ] && break; sleep 0.1; done
[ -e "$work/wm-ready" ] || { echo "FAIL: openbox did not start (see $work/openbox.log)" >&2; exit 1; }

keys() {
  xdotool key --clearmodifiers "$@"
  sleep 0.2
}

# Starts ambrel in a fresh folder $work/NAME (its output in $work/NAME.log) and waits for its main
# window: sets dir, program and main.
start_ambrel() {
  dir="$work/$1"
  rm -rf "$dir"
  mkdir -p "$dir"
  (cd "$dir" && exec "$bin/ambrel" >"$work/$1.log" 2>&1) &
  program=$!
  started+=("$program")
  main=$(window '^Ambrel  V1\.0$')
  [ -n "$main" ] || { echo "FAIL: ambrel showed no window (see $work/$1.log)" >&2; exit 1; }
}

start_ambrel real-ambrel
size_is "$main" 747x318 "ambrel's main window"
click "$main" 420 69   # LX7250
click "$main" 265 159  # the audio dialog's picture button
audio=$(window '^音频配置$')
[ -n "$audio" ] || { echo "FAIL: the audio dialog did not open" >&2; exit 1; }
size_is "$audio" 544x249 "the audio dialog"
click "$audio" 220 133  # into the microphone-sensitivity list's text
keys End shift+Home
xdotool type --delay 50 46dB
keys Tab
click "$audio" 203 216  # OK
gone '^音频配置$' || { echo "FAIL: the audio dialog did not close on OK" >&2; exit 1; }
click "$main" 21 8  # 文件
keys Down Down Return  # 保存
save=$(window '^另存为$')
[ -n "$save" ] || { echo "FAIL: File > 保存 showed no save dialog" >&2; exit 1; }
keys Return  # the proposed EEPROM.h in the data folder
gone '^另存为$' || { echo "FAIL: the save dialog did not close" >&2; exit 1; }
keys Escape
for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$program" 2>/dev/null; then
  echo "FAIL: ambrel did not end on Escape" >&2
  exit 1
fi
[ -f "$dir/data/EEPROM.h" ] || { echo "FAIL: ambrel saved no data/EEPROM.h" >&2; exit 1; }

rm -rf "$work/reference"
printf '%s\n' 'click 1003' 'click 1004' 'click 1' 'command 32772' 'file data/EEPROM.h' 'escape' |
  "$bin/uiscenario" ambrel "$work/reference" - >/dev/null
typed=$("$bin/lxcfg" show "$dir/data/EEPROM.h" | grep -E '^ +mic_sensitivity ')
untouched=$("$bin/lxcfg" show "$work/reference/data/EEPROM.h" | grep -E '^ +mic_sensitivity ')
echo "after typing 46dB into the list:${typed#*mic_sensitivity}; without typing:${untouched#*mic_sensitivity}"
if ! cmp "$dir/data/EEPROM.h" "$work/reference/data/EEPROM.h"; then
  echo "FAIL: the text typed into the list changed the header ambrel saved" >&2
  exit 1
fi
echo "ambrel: the header saved after typing into the list is the one saved without typing"

# An open list: F4 drops it, Down moves its selection, Enter closes only the list; OK then stores
# the item shown, and the header saved must be the one the same keys save on the headless host.
start_ambrel real-open-list
click "$main" 420 69   # LX7250
click "$main" 265 159  # the audio dialog
audio=$(window '^音频配置$')
[ -n "$audio" ] || { echo "FAIL: the audio dialog did not open" >&2; exit 1; }
click "$audio" 220 133  # into the microphone-sensitivity list
keys F4
keys Down
keys Return
sleep 0.3
xdotool search --onlyvisible --name '^音频配置$' >/dev/null ||
  { echo "FAIL: Enter in the open list closed the dialog" >&2; exit 1; }
click "$audio" 203 216  # OK
gone '^音频配置$' || { echo "FAIL: the audio dialog did not close on OK" >&2; exit 1; }
click "$main" 21 8  # 文件
keys Down Down Return  # 保存
save=$(window '^另存为$')
[ -n "$save" ] || { echo "FAIL: File > 保存 showed no save dialog" >&2; exit 1; }
keys Return
gone '^另存为$' || { echo "FAIL: the save dialog did not close" >&2; exit 1; }
rm -rf "$work/reference-open-list"
printf '%s\n' 'click 1003' 'click 1004' 'focus 1008' 'press f4' 'press down' 'press enter' 'click 1' \
  'command 32772' 'file data/EEPROM.h' 'escape' | "$bin/uiscenario" ambrel "$work/reference-open-list" - >/dev/null
shown=$("$bin/lxcfg" show "$dir/data/EEPROM.h" | grep -E '^ +mic_sensitivity ')
echo "after F4, Down, Enter and OK:${shown#*mic_sensitivity}"
cmp "$dir/data/EEPROM.h" "$work/reference-open-list/data/EEPROM.h" ||
  { echo "FAIL: the header saved is not the one the open list showed" >&2; exit 1; }
if cmp -s "$dir/data/EEPROM.h" "$work/reference/data/EEPROM.h"; then
  echo "FAIL: Down in the open list stored nothing" >&2
  exit 1
fi

# Escape in an open list closes only the list.
click "$main" 265 159
audio=$(window '^音频配置$')
[ -n "$audio" ] || { echo "FAIL: the audio dialog did not open again" >&2; exit 1; }
click "$audio" 220 133
keys F4
keys Escape
sleep 0.3
xdotool search --onlyvisible --name '^音频配置$' >/dev/null ||
  { echo "FAIL: Escape in the open list closed the dialog" >&2; exit 1; }
keys Escape
gone '^音频配置$' || { echo "FAIL: a second Escape did not cancel the audio dialog" >&2; exit 1; }

# The menu bar from the keyboard: F10, Right (查看), Enter (opens it), Enter (寄存器).
keys F10
keys Right
keys Return
keys Return
registers=$(window '^寄存器$')
[ -n "$registers" ] || { echo "FAIL: F10, Right, Enter, Enter did not open 查看 > 寄存器" >&2; exit 1; }
keys Escape
gone '^寄存器$' || { echo "FAIL: the register window did not close on Escape" >&2; exit 1; }
keys Escape
for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$program" 2>/dev/null; then
  echo "FAIL: ambrel did not end on Escape" >&2
  exit 1
fi
echo "ambrel: the open list stores what it shows, Escape closes only the list, F10 reaches the menus"
