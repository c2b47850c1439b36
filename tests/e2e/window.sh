#!/usr/bin/env bash
# The real program in a real X server: the window appears with its caption; a second start and the authoring build
# of the same folder leave at once without a window, while a copy of the folder elsewhere runs beside it; "ｽﾀｰﾄ"
# by keyboard fills the board; Escape ends the program. E2E_GAME_PREFIX runs the game under a tool (the test
# command's valgrind run); every wait is then E2E_WAIT_SCALE (30) times as long.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
read -r -a prefix <<<"${E2E_GAME_PREFIX:-}"
[ ${#prefix[@]} -gt 0 ] && E2E_SCALE=${E2E_WAIT_SCALE:-30}
e2e_setup "$1"
dir="$E2E_WORK/game"

"${prefix[@]}" "$dir/tessarin" &
pid=$!
win=$(wait_window '^二角取り$' $((100 * E2E_SCALE)) "$pid") || fail "no window with caption 二角取り"
windows() { xdotool search --onlyvisible --name '^二角取り$' | wc -l; }

# One program at a time runs from a folder: a second start and the authoring build leave at once.
timeout $((10 * E2E_SCALE)) "${prefix[@]}" "$dir/tessarin" || fail "a second start did not exit cleanly"
timeout 10 "$dir/tessarin-author" || fail "the authoring build did not exit at once beside the game"
[ "$(windows)" -eq 1 ] || fail "expected one window, found $(windows)"
kill -0 "$pid" || fail "the first instance ended"
# A copy of the folder is a program folder of its own: its game runs beside the first.
cp -r "$dir" "$E2E_WORK/copy"
"$E2E_WORK/copy/tessarin" &
copy=$!
two_windows() { [ "$(windows)" -eq 2 ]; }
within 10 two_windows || fail "the game of a copied folder did not run beside the first: $(windows) windows"
kill "$copy"
wait "$copy" || true

# The board starts empty and green; "ｽﾀｰﾄ" by keyboard (Alt+G opens ｹﾞｰﾑ開始(&G), its first item) fills it.
window_origin "$win"
green_at_start() { [ "$(screen_pixel $((BX + 22)) $((BY + 27)))" = "0,128,0" ]; }
within 2 green_at_start || fail "board not empty green at start"
xdotool windowfocus --sync "$win"
xdotool key alt+g && sleep 0.3 && xdotool key Return
dealt() {
  tiles=0
  for x in 1 5 9 13 17; do for y in 1 4 8; do
    [ "$(screen_pixel $((BX + (x - 1) * 45 + 22)) $((BY + (y - 1) * 55 + 6)))" != "0,128,0" ] && tiles=$((tiles + 1))
  done; done
  [ "$tiles" -eq 15 ]
}
within 2 dealt || fail "after ｽﾀｰﾄ only $tiles of 15 sampled cells show a tile"
[ -n "${E2E_SHOT:-}" ] && import -window root "$E2E_SHOT"

# Escape ends the program.
xdotool key Escape
within 5 ended || fail "Escape did not end the program"
wait "$pid" || fail "the program ended with an error"
echo "ok"
