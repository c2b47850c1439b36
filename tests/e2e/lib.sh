# Helpers for the end-to-end checks of the real program under Xvfb, sourced by the scripts beside it (run on its
# own, as the test list runs every script here, it checks that an X server starts and answers).

# Copies the built game into a fresh program folder, so each run has its own files and single-instance lock (in
# TMPDIR), and starts a private X server for it.
e2e_setup() {
  local game_dir=$1
  E2E_WORK=$(mktemp -d)
  trap 'e2e_cleanup' EXIT
  cp -r "$game_dir"/. "$E2E_WORK/game"
  export XDG_RUNTIME_DIR="$E2E_WORK/runtime" TMPDIR="$E2E_WORK/tmp"
  mkdir -m 700 "$XDG_RUNTIME_DIR" "$TMPDIR"
  unset QT_QPA_PLATFORM
  E2E_SCALE=${E2E_SCALE:-1}
  e2e_xserver
}

# Starts Xvfb on a display number it picks itself and writes to fd 3 once it takes connections (xvfb-run -a
# chooses the number before the server owns it, and two tests starting at once could end up on one display),
# then asks it until it answers. -noreset keeps the server from resetting whenever its last client leaves, so
# the game never arrives in the middle of a reset (the check below is such a client).
e2e_xserver() {
  local numfile="$E2E_WORK/display"
  # E2E_SCREEN: another screen size; E2E_XVFB_ARGS: more arguments (-ac lets another user's program in).
  Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN:-1280x1024x24}" -nolisten tcp -noreset ${E2E_XVFB_ARGS:-} \
    3>"$numfile" 2>"$E2E_WORK/xvfb.log" &
  E2E_XVFB=$!
  for _ in $(seq 1 100); do
    grep -q . "$numfile" 2>/dev/null && break
    kill -0 "$E2E_XVFB" 2>/dev/null || fail "Xvfb did not start: $(cat "$E2E_WORK/xvfb.log")"
    sleep 0.1
  done
  grep -q . "$numfile" || fail "Xvfb gave no display number"
  export DISPLAY=":$(head -n 1 "$numfile")"
  within 10 xdotool getdisplaygeometry >/dev/null 2>&1 || fail "the X server $DISPLAY does not answer"
}

# Ends what the test started, the X server last.
e2e_cleanup() {
  local pids
  pids=$(jobs -p | grep -vx "${E2E_XVFB:-}" || true)
  [ -n "$pids" ] && kill $pids 2>/dev/null || true
  [ -n "${E2E_XVFB:-}" ] && { kill "$E2E_XVFB"; wait "$E2E_XVFB"; } 2>/dev/null || true
  rm -rf "$E2E_WORK"
}

# Stops the check; the X server's own log goes with the message, since an end-to-end failure is often the server's.
fail() {
  echo "FAIL: $*" >&2
  [ -s "${E2E_WORK:-}/xvfb.log" ] && { echo "--- Xvfb on ${DISPLAY:-?}:"; tail -n 20 "$E2E_WORK/xvfb.log"; } >&2
  exit 1
}

# Tries a command every tenth of a second for at most $1 seconds (times E2E_SCALE, for a game run under a tool).
within() {
  local tries=$(($1 * 10 * ${E2E_SCALE:-1}))
  shift
  for _ in $(seq 1 "$tries"); do "$@" && return 0; sleep 0.1; done
  return 1
}

# Waits until a window whose name matches $1 is mapped, at most $2 tenths of a second (100), and only while the
# process $3 (when given) lives; prints its id.
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

# Window position: sets WX, WY; and the board's top left on the screen: BX, BY (the client lies below the menu
# bar, 517 pixels high; the board 4 pixels in and 10 down).
window_origin() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  WX=$X WY=$Y BX=$((X + 4)) BY=$((Y + HEIGHT - 517 + 10))
}

# The game started as $pid: whether it has ended; Escape, which must end it; a click (button $2, else the left) in
# the middle of the cell of a three-digit cell code, on the board at BX, BY.
ended() { ! kill -0 "$pid" 2>/dev/null; }
quit() { xdotool key Escape && within 10 ended || fail "Escape did not end the game"; }
click_code() { xdotool mousemove $((BX + (10#$1 / 10 - 1) * 45 + 22)) $((BY + (10#$1 % 10 - 1) * 55 + 27)) click "${2:-1}"; }

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -euo pipefail
  e2e_setup "$1"
  echo "ok"
fi
