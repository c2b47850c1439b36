#!/usr/bin/env bash
# The board sharp on a screen of scale 2 (2560 x 1600): after ｽﾀｰﾄ every tile on the screen is, pixel for pixel,
# its picture in paidat@2x.dat; the same at scale 1 with the zoom at 200 %. From the keyboard, the first arrow key
# shows the cursor, Space picks cell (1, 1) (drawn inverted) and Backspace drops it again.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
E2E_SCREEN=2560x1600x24 e2e_setup "$1"
dir="$E2E_WORK/game" sheet="$E2E_WORK/game/paidat@2x.dat"
convert=/usr/bin/convert

start() {
  "$dir/tessarin" 2>>"$E2E_WORK/game.err" &
  pid=$!
  win=$(wait_window '^二角取り$' 150 "$pid") || fail "no window: $(cat "$E2E_WORK/game.err")"
  xdotool windowfocus --sync "$win" && sleep 1
  eval "$(xdotool getwindowgeometry --shell "$win")"
  by=$((HEIGHT - 1034 + 20))  # the board in the window's picture: below the menu bar, (4, 10) doubled
}
# The sheet's picture of the tile dealt to cell j (column by column), at twice the size.
picture() {
  local t=$((10#${board:$((3 * $1)):3})) k sx sy
  k=$(((t + 3) / 4))
  if [ "$k" -le 7 ]; then sx=$((44 * k)) sy=0; else sx=$(((k - 8) % 9 * 44)) sy=$((54 * ((k - 8) / 9 + 1))); fi
  echo "$((2 * sx)) $((2 * sy))"
}
# The field as the sheet gives it: every tile's picture in its cell, the gaps board green.
expected_board() {
  local args=() j sx sy
  for j in $(seq 0 135); do
    read -r sx sy <<<"$(picture "$j")"
    args+=("(" "$sheet" -crop "88x108+$sx+$sy" +repage ")" -geometry "+$((j / 8 * 90))+$((j % 8 * 110))" -composite)
  done
  "$convert" -size 1528x878 xc:'rgb(0,128,0)' "${args[@]}" "$E2E_WORK/expected.png"
}
field_equals_sheet() {
  import -window "$win" "$E2E_WORK/$1.png"
  "$convert" "$E2E_WORK/$1.png" -crop "1528x878+8+$by" +repage "$E2E_WORK/$1-field.png"
  [ "$(compare -metric AE "$E2E_WORK/$1-field.png" "$E2E_WORK/expected.png" null: 2>&1)" = 0 ] ||
    fail "$1: the tiles on the screen are not the pictures of paidat@2x.dat"
  [ -n "${E2E_SHOT_DIR:-}" ] && cp "$E2E_WORK/$1.png" "$E2E_SHOT_DIR/" || true
}

export QT_SCREEN_SCALE_FACTORS=2
start
xdotool key alt+g Return && sleep 1 && quit
board=$(sed -n 's/^board //p' "$dir/keptgame.txt")
expected_board
start  # the kept deal, drawn at scale 2
field_equals_sheet scale2

# The first arrow key shows the cursor's ring (amber, just outside cell (1, 1)); Space picks the cell, whose
# picture is then the inverse; Backspace drops the pick and the cell is as before.
xdotool key Right && sleep 0.5
[ "$(screen_pixel $((X + 8 + 89)) $((Y + by + 50)))" = "255,176,0" ] || fail "no cursor after the arrow key"
xdotool key space && sleep 0.5
import -window "$win" "$E2E_WORK/picked.png"
read -r sx sy <<<"$(picture 0)"
# Within the ring, which lies on the tile's outermost pixel and the gap around it.
"$convert" "$sheet" -crop "84x104+$((sx + 2))+$((sy + 2))" +repage -negate "$E2E_WORK/inverse.png"
"$convert" "$E2E_WORK/picked.png" -crop "84x104+10+$((by + 2))" +repage "$E2E_WORK/cell.png"
[ "$(compare -metric AE "$E2E_WORK/cell.png" "$E2E_WORK/inverse.png" null: 2>&1)" = 0 ] || fail "Space did not pick (1, 1)"
# A click below the field hides the cursor and does nothing else.
xdotool key BackSpace && sleep 0.5 && xdotool mousemove $((X + 108)) $((Y + by + 940)) click 1 && sleep 0.5
field_equals_sheet dropped
quit

# Scale 1 with the zoom at 200 %: as sharp.
unset QT_SCREEN_SCALE_FACTORS
sed -i 's/^zoom=.*/zoom=200/' "$dir/settings.txt" 2>/dev/null || printf 'zoom=200\n' >"$dir/settings.txt"
start
field_equals_sheet zoom200
quit
echo "ok"
