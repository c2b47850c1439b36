# Helpers for end-to-end checks of the real program under Xvfb (sourced).

# Copies the built game into a fresh program folder of its own, so each run
# has its own files and its own single-instance lock.
e2e_setup() {
  local game_dir=$1
  E2E_WORK=$(mktemp -d)
  cp -r "$game_dir"/. "$E2E_WORK/game"
  export XDG_RUNTIME_DIR="$E2E_WORK/runtime"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  unset QT_QPA_PLATFORM
  trap 'e2e_cleanup' EXIT
  # The X server is asked until it answers: a program started before that
  # fails at once ("could not connect to display").
  for _ in $(seq 1 100); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  fail "the X server $DISPLAY does not answer"
}

e2e_cleanup() {
  local pids
  pids=$(jobs -p)
  [ -n "$pids" ] && kill $pids 2>/dev/null || true
  rm -rf "$E2E_WORK"
}

fail() { echo "FAIL: $*" >&2; exit 1; }

# Waits until a window whose name matches $1 is mapped, at most $2 tenths
# of a second (100), and only while the process $3 (when given) lives;
# prints its id.
wait_window() {
  local name=$1 id="" owner=${3:-}
  for _ in $(seq 1 "${2:-100}"); do
    id=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    [ -n "$owner" ] && ! kill -0 "$owner" 2>/dev/null && return 1
    sleep 0.1
  done
  return 1
}

# Colour of one screen pixel as "r,g,b".
screen_pixel() {
  /usr/bin/convert x:root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null |
    sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p' | head -n 1
}

# Window position: sets WX, WY.
window_origin() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  WX=$X
  WY=$Y
}
