#!/usr/bin/env bash
# A player of an installed game, who may not write where it is installed: the game in play comes back after an
# Escape exactly as it was (screenshots equal), a 三動牌 move made before a restart is taken back after it, a stage
# cleared from its model answer is marked in 面選択 after a restart, and nothing is written into the installed tree.
# Playing as another user needs root (as in CI); otherwise the check says it is skipped.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
[ "$(id -u)" -eq 0 ] || { echo "skipped: playing as another user needs root"; exit 0; }
E2E_XVFB_ARGS=-ac e2e_setup "$1"
prefix="$E2E_WORK/prefix" player=tessarin-player
cmake --install "$2" --prefix "$prefix" >"$E2E_WORK/install.log" 2>&1 || fail "install: $(tail -3 "$E2E_WORK/install.log")"
chmod 755 "$E2E_WORK" && chmod -R go-w "$prefix"
id "$player" >/dev/null 2>&1 || useradd -M "$player"
home="$E2E_WORK/home" && mkdir -m 700 "$home" "$E2E_WORK/prun" "$E2E_WORK/ptmp" && chown "$player" "$home" "$E2E_WORK"/p*
tree() { (cd "$prefix" && find . -printf '%p %s %T@\n' | sort); }
installed=$(tree)
folder="$home/.local/share/tessarin" tool="$prefix/bin/tessarin-tool"

# The installed game as the player: sets pid, win and the board's origin BX, BY.
start() {
  su "$player" -s /bin/bash -c "HOME='$home' XDG_RUNTIME_DIR='$E2E_WORK/prun' TMPDIR='$E2E_WORK/ptmp' \
    DISPLAY='$DISPLAY' exec '$prefix/bin/tessarin'" 2>>"$E2E_WORK/game.err" &
  pid=$!
  win=$(wait_window "^${1:-二角取り}$" 150 "$pid") || fail "no window: $(cat "$E2E_WORK/game.err")"
  window_origin "$win"
  xdotool windowfocus --sync "$win" && sleep 0.5
}
shot() { sleep 1 && import -window "$win" "$E2E_WORK/$1.png"; }

# A deal and two pairs, kept over an Escape: the same window afterwards.
start
xdotool key alt+g Return && sleep 1 && quit
line="00000$(sed -n 's/^board //p' "$folder/keptgame.txt")"
start
moves=""
for _ in 1 2; do
  pair=$("$tool" pairs "$line" $moves | head -n 1)
  click_code "${pair:0:3}" && click_code "${pair:3:3}" && sleep 1
  moves="$moves$pair"
done
shot before && quit && start && shot after
[ "$(compare -metric AE "$E2E_WORK/before.png" "$E2E_WORK/after.png" null: 2>&1)" = 0 ] ||
  fail "the kept game came back otherwise"
[ -n "${E2E_SHOT:-}" ] && cp "$E2E_WORK/after.png" "$E2E_SHOT"

# A 三動牌 move, an Escape, and its undo after the restart.
xdotool key alt+t Down Return alt+g Return && sleep 2
for code in $(seq 11 178); do
  [ $((code % 10)) -ge 1 ] && [ $((code % 10)) -le 8 ] || continue
  click_code "$code" && sleep 0.4
  [ -f "$folder/workthree1.dat" ] && break
done
sleep 2 && quit
read -r _ _ _ _ then_tiles then_moves then_done _ < <(grep '^threemove ' "$folder/keptgame.txt")
start 三動牌
xdotool key alt+b && sleep 1 && quit
read -r _ tiles moves done _ < <(grep '^threemove ' "$folder/keptgame.txt")
[ "$tiles $moves $done" = "$then_tiles $then_moves $then_done" ] || fail "the undo after the restart gave $tiles $moves $done"

# Stage 00257 cleared from its model answer: marked in 面選択 after a restart.
start 三動牌
xdotool key alt+t Return alt+g Down Return
dialog=$(wait_window '^面選択$') || fail "no stage selection"
eval "$(xdotool getwindowgeometry --shell "$dialog")"
xdotool mousemove $((X + 33)) $((Y + 36)) click --repeat 2 --delay 80 1 && sleep 1
answer=$(grep -h '^00257' "$prefix/share/tessarin/anstwo"?.map | head -n 1 | tr -d '\r')
for i in $(seq 0 135); do click_code "${answer:$((5 + 3 * i)):3}" && sleep 0.05; done
cleared() { grep -q '^00257' "$folder/cleared.map" 2>/dev/null; }
within 120 cleared || fail "clearing stage 00257 was not recorded"
quit && start
xdotool key alt+g Down Return
dialog=$(wait_window '^面選択$') || fail "no stage selection after the restart"
sleep 0.5 && import -window "$dialog" "$E2E_WORK/stages.png"
IFS=, read -r r g b < <(/usr/bin/convert "$E2E_WORK/stages.png" -crop 1x1+62+20 -depth 8 txt:- |
  sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p')  # cyan, perhaps tinted as the current cell
[ "$r" -lt 40 ] && [ "$g" -gt 200 ] && [ "$b" -gt 200 ] || fail "stage 00257 is not marked: $r,$g,$b"
xdotool key Escape && sleep 0.5 && xdotool windowfocus --sync "$win" && quit

[ "$(tree)" = "$installed" ] || fail "the installed tree changed"
echo "ok"
