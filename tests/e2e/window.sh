#!/usr/bin/env bash
# The real program in a real X server: the window appears with its caption,
# a second start shows no second window, "ｽﾀｰﾄ" fills the board, Escape ends
# the program.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

if [ "${1:-}" != "--inner" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" --inner "$@"
fi
shift
source "$here/lib.bash"
e2e_setup "$1"
game="$E2E_WORK/game/tessarin"

"$game" &
pid=$!
win=$(wait_window '^二角取り$') || fail "no window with caption 二角取り"

# A second start leaves at once, without a window of its own.
timeout 10 "$game" || fail "second start did not exit cleanly"
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
[ "$(screen_pixel $((bx + 22)) $((by + 27)))" = "0,128,0" ] || fail "board not empty green at start"

# "ｽﾀｰﾄ" by keyboard: Alt+G opens ｹﾞｰﾑ開始(&G), its first item is ｽﾀｰﾄ.
xdotool windowfocus --sync "$win"
xdotool key alt+g
sleep 0.3
xdotool key Return
sleep 0.5
tiles=0
for x in 1 5 9 13 17; do
  for y in 1 4 8; do
    px=$(screen_pixel $((bx + (x - 1) * 45 + 22)) $((by + (y - 1) * 55 + 6)))
    [ "$px" != "0,128,0" ] && tiles=$((tiles + 1))
  done
done
[ "$tiles" -eq 15 ] || fail "after ｽﾀｰﾄ only $tiles of 15 sampled cells show a tile"
[ -n "${E2E_SHOT:-}" ] && import -window root "$E2E_SHOT"

# Escape ends the program.
xdotool key Escape
for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then fail "Escape did not end the program"; fi
wait "$pid" || fail "the program ended with an error"
echo "ok"
