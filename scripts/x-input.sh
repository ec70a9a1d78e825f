# What the real-input sessions share (sourced by linux-real-session.sh and
# windows-real-session.sh): finding windows on the X display and clicking into them with xdotool.

# The first visible window whose title matches, once it shows (nothing after 20 s); looked for
# every 20 ms, so that a start-up time can be measured to it.
window() {
  local found
  for _ in $(seq 1000); do
    found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
    [ -n "$found" ] && { echo "$found"; return 0; }
    sleep 0.02
  done
}
# Whether no visible window's title matches any more (within 10 s).
gone() {
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}
click() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
  sleep 0.3
}
# Whether window $1 is $2 (WIDTHxHEIGHT) big; the places clicked are measured for that size.
size_is() {
  local WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(WIDTH|HEIGHT)=')"
  [ "${WIDTH}x${HEIGHT}" = "$2" ] && return 0
  echo "FAIL: $3 is ${WIDTH}x${HEIGHT}, not $2: the places this test clicks are not where the controls are" >&2
  return 1
}
