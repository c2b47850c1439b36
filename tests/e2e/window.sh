#!/usr/bin/env bash
# The real program in a real X server: the window appears with its caption,
# a second start shows no second window, "ｽﾀｰﾄ" fills the board, Escape ends
# the program. E2E_GAME_PREFIX runs the game under a tool (the test command's
# valgrind run); every wait is then E2E_WAIT_SCALE (30) times as long.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

source "$here/lib.bash"
e2e_setup "$1"
game="$E2E_WORK/game/tessarin"
read -r -a prefix <<<"${E2E_GAME_PREFIX:-}"
scale=1
[ ${#prefix[@]} -gt 0 ] && scale=${E2E_WAIT_SCALE:-30}

"${prefix[@]}" "$game" &
pid=$!
win=$(wait_window '^二角取り$' $((100 * scale)) "$pid") || fail "no window with caption 二角取り"

# A second start leaves at once, without a window of its own.
timeout $((10 * scale)) "${prefix[@]}" "$game" || fail "second start did not exit cleanly"
count=$(xdotool search --onlyvisible --name '^二角取り$' | wc -l)
[ "$count" -eq 1 ] || fail "expected one window, found $count"
kill -0 "$pid" || fail "the first instance ended"

# The board area, found from the window's inner geometry: the client lies
# below the menu bar, the board 4 pixels in and 10 down.
window_origin "$win"
eval "$(xdotool getwindowgeometry --shell "$win")"
menu_h=$((HEIGHT - 517))
bx=$((WX + 4))
by=$((WY + menu_h + 10))
# Tries a check every tenth of a second, for at most $1 seconds (scaled).
within() {
  local tries=$(($1 * 10 * scale))
  shift
  for _ in $(seq 1 "$tries"); do "$@" && return 0; sleep 0.1; done
  return 1
}
green_at_start() { [ "$(screen_pixel $((bx + 22)) $((by + 27)))" = "0,128,0" ]; }
within 2 green_at_start || fail "board not empty green at start"

# "ｽﾀｰﾄ" by keyboard: Alt+G opens ｹﾞｰﾑ開始(&G), its first item is ｽﾀｰﾄ.
xdotool windowfocus --sync "$win"
xdotool key alt+g
sleep 0.3
xdotool key Return
dealt() {
  tiles=0
  for x in 1 5 9 13 17; do
    for y in 1 4 8; do
      px=$(screen_pixel $((bx + (x - 1) * 45 + 22)) $((by + (y - 1) * 55 + 6)))
      [ "$px" != "0,128,0" ] && tiles=$((tiles + 1))
    done
  done
  [ "$tiles" -eq 15 ]
}
within 2 dealt || fail "after ｽﾀｰﾄ only $tiles of 15 sampled cells show a tile"
[ -n "${E2E_SHOT:-}" ] && import -window root "$E2E_SHOT"

# Escape ends the program.
xdotool key Escape
ended() { ! kill -0 "$pid" 2>/dev/null; }
within 5 ended || fail "Escape did not end the program"
wait "$pid" || fail "the program ended with an error"
echo "ok"
