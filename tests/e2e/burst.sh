#!/usr/bin/env bash
# Bursts of real input (clicks of every button, menu keys with Escape, Ctrl+F, the undo key) while pairs vanish, the
# model answer is replayed, ThreeMove deals are made and runs slide, and the success display grows, in both builds.
# Their self-check (TESSARIN_SELFCHECK=1) stops a program at the first event after which the board or the counters
# disagree: it must neither crash nor stop, and must end cleanly on Escape.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"
dir="$E2E_WORK/game"
export TESSARIN_SELFCHECK=1
RANDOM=7  # the same bursts every run

# Starts a program of the game folder: sets pid, win and the board's origin BX, BY.
start_game() {
  program=$1
  rm -f "$dir/keptgame.txt"  # no game kept from the run before
  "$dir/$program" 2>"$E2E_WORK/$program.err" &
  pid=$!
  win=$(wait_window '^二角取り$' 100 "$pid") || fail "$program: no window: $(cat "$E2E_WORK/$program.err")"
  window_origin "$win"
  xdotool windowfocus --sync "$win"
}
alive() { kill -0 "$pid" 2>/dev/null || fail "$program stopped: $(cat "$E2E_WORK/$program.err")"; }
# A point of the cell of a three-digit cell code, $2 pixels down (the middle: 27).
cell() { local c=$((10#$1)); echo $((BX + (c / 10 - 1) * 45 + 22)) $((BY + (c % 10 - 1) * 55 + ${2:-27})); }
tile_at() { [ "$(screen_pixel $(cell "$1" 6))" != "0,128,0" ]; }
# burst N [KEY...]: N clicks of random buttons on random cells, then the keys.
burst() {
  local n=$1 args=() button
  shift
  for _ in $(seq "$n"); do
    button=$((RANDOM % 3 + 1))
    args+=(mousemove $((BX + RANDOM % 765)) $((BY + RANDOM % 440)) mousedown $button mouseup $button)
  done
  [ $# -gt 0 ] && args+=(key --delay 10 "$@")
  xdotool "${args[@]}"
}
# Ends the program with Escape (closing open menus first); it must end well.
quit_game() {
  for _ in 1 2 3 4; do kill -0 "$pid" 2>/dev/null && xdotool key Escape && sleep 0.5; done
  ! kill -0 "$pid" 2>/dev/null || fail "$program: Escape did not end it"
  wait "$pid" || fail "$program ended with status $?: $(cat "$E2E_WORK/$program.err")"
}

# The first stage of the selection window and its model answer.
stage=$(head -n 1 "$dir/maptwo0.map" | tr -d '\r')
answer=$(grep -h "^${stage:0:5}" "$dir"/anstwo?.map | head -n 1 | tr -d '\r')
[ ${#answer} -eq 413 ] || fail "no answer for stage ${stage:0:5}"
code() { echo "${answer:$((5 + 3 * ($1 - 1))):3}"; }  # the answer's click k, from 1

# --- The player's build: TwoCorner, the replay, ThreeMove. 面選択: Escape closes it, then a stage.
start_game tessarin
xdotool key alt+g Down Return
wait_window '^面選択$' >/dev/null || fail "no stage selection"
xdotool key Escape && sleep 0.5 && alive
xdotool search --onlyvisible --name '^面選択$' >/dev/null && fail "Escape left the stage selection open"
xdotool key alt+g Down Return
dialog=$(wait_window '^面選択$') || fail "no stage selection"
eval "$(xdotool getwindowgeometry --shell "$dialog")"
xdotool mousemove $((X + 33)) $((Y + 34)) click --repeat 2 --delay 80 1
within 20 tile_at "$(code 1)" || fail "the stage did not load"
xdotool windowfocus --sync "$win"
for k in 1 3 5 7 9 11 13 15; do  # pairs of the answer, each followed by a burst while it vanishes
  click_code "$(code "$k")" 3  # a right click drops what a burst picked
  click_code "$(code "$k")"
  click_code "$(code $((k + 1)))"
  burst 8 ctrl+f alt+g Escape ctrl+f alt+b alt+t Escape
  sleep 0.7 && alive
done
for run in 1 2; do  # the model answer: left for a while, then replayed to its end
  xdotool key alt+o Right Down Return
  sleep 0.3
  for _ in $(seq 10); do burst 6 alt+f Escape ctrl+f; done
  [ "$run" -eq 1 ] && xdotool mousemove "$BX" "$BY" click 3
  sleep 0.3 && alive
done
xdotool mousemove "$BX" "$BY" $(for _ in $(seq 140); do echo mousedown 1 mouseup 1; done)
sleep 0.5 && alive
xdotool key alt+t Down Return  # 三動牌, then ｽﾀｰﾄ with bursts while it deals and while runs slide
sleep 0.3
xdotool key alt+g Return
burst 10 alt+g Escape alt+b alt+t Escape
sleep 0.5
for _ in $(seq 12); do
  burst 5 alt+b alt+g Escape
  sleep 0.4 && alive
done
sleep 1 && quit_game

# --- The authoring build: loaded with all but the answer's last two pairs taken, then cleared.
awk -v s="$stage" -v a="$answer" 'BEGIN {
  for (j = 0; j < 136; j++) {
    t = substr(s, 6 + 3 * j, 3) + 0; x[t] = int(j / 8) + 1; y[t] = j % 8 + 1; at[x[t] * 10 + y[t]] = t
  }
  for (i = 1; i <= 132; i++) gone[at[substr(a, 3 + 3 * i, 3) + 0]] = 1
  tbl = "0002020"
  for (t = 1; t <= 136; t++) tbl = tbl sprintf("%02d%d%03d%d", x[t], y[t], int((t + 3) / 4), t in gone ? 2 : 0)
  hist = "000"
  for (i = 1; i <= 140; i++) hist = hist (i <= 132 ? substr(a, 3 + 3 * i, 3) : "000")
  printf "%s\r\n%s\r\n%s\r\n4\r\n132\r\n", s, tbl "00020100002000", hist
}' >"$dir/testdat.txt"
start_game tessarin-author
xdotool key alt+f Left Left Return  # from ﾌｧｲﾙ round to the last items of the menu bar: Load
within 20 tile_at "$(code 133)" || fail "the save did not load: $(cat "$E2E_WORK/$program.err")"
click_code "$(code 133)" 3
click_code "$(code 133)"
click_code "$(code 134)"
burst 8 ctrl+f alt+g Escape
sleep 1
xdotool mousemove "$BX" "$BY" click 3
click_code "$(code 135)"
click_code "$(code 136)"
burst 10 alt+g Escape ctrl+f alt+b alt+t Escape
stored() { grep -q "^${stage:0:5}" "$dir/anstwo.map" 2>/dev/null; }  # the cleared board, stored with its answer
within 20 stored || fail "the board was not cleared"
sleep 1 && alive && quit_game
echo "ok"
