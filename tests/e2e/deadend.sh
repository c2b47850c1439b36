#!/usr/bin/env bash
# A stage played into a dead end: the moment the pair that loses is taken, a message says so and offers to take
# it back; accepted, the window shows exactly the last position that could still be cleared. The pairs are found
# with tessarin-tool: safe pairs while the solver proves none of the pairs there loses, then the one that does.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"
dir="$E2E_WORK/game" tool="$E2E_WORK/game/tessarin-tool"
rm -f "$dir"/maptwo[0-8].map  # the hardest stages only: 面選択 lists maptwo9.map's first stage first
line=$(head -n 1 "$dir/maptwo9.map" | tr -d '\r')
moves="" fatal=""
while [ -z "$fatal" ]; do
  safe=""
  for pair in $("$tool" pairs "$line" $moves); do
    verdict=$("$tool" solve --budget-ms 3000 "$line" "$moves$pair" || true)
    if [ "$verdict" = unsolvable ]; then fatal=$pair && break; fi
    [ -z "$safe" ] && [ "$verdict" != undecided ] && safe=$pair
  done
  [ -n "$fatal" ] || { [ -n "$safe" ] || fail "no pair to play after '$moves'"; moves="$moves$safe"; }
done

"$dir/tessarin" 2>"$E2E_WORK/game.err" &
pid=$!
win=$(wait_window '^二角取り$' 150 "$pid") || fail "no window: $(cat "$E2E_WORK/game.err")"
window_origin "$win"
xdotool windowfocus --sync "$win" && xdotool key alt+g Down Return
dialog=$(wait_window '^面選択$') || fail "no stage selection"
eval "$(xdotool getwindowgeometry --shell "$dialog")"
xdotool mousemove $((X + 33)) $((Y + 36)) click --repeat 2 --delay 80 1 && sleep 1
for i in $(seq 0 3 $((${#moves} - 1))); do click_code "${moves:$i:3}" && sleep 0.05; done
sleep $((${#moves} / 6 + 2))
import -window "$win" "$E2E_WORK/clearable.png"
click_code "${fatal:0:3}" && click_code "${fatal:3:3}"
asked() { [ "$(xdotool search --onlyvisible --name '^二角取り$' | wc -l)" -ge 2 ]; }
within 20 asked || fail "no message after the losing pair"
xdotool key Return && sleep 1  # Yes: take it back
xdotool mousemove 0 0 && import -window "$win" "$E2E_WORK/back.png"
[ "$(compare -metric AE "$E2E_WORK/clearable.png" "$E2E_WORK/back.png" null: 2>&1)" = 0 ] ||
  fail "taken back, the window differs from the last clearable position"
[ -n "${E2E_SHOT_DIR:-}" ] && cp "$E2E_WORK/clearable.png" "$E2E_SHOT_DIR/deadend-back.png"
xdotool key Escape
echo "ok"
