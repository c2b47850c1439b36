#!/usr/bin/env bash
# Takes the manual's screenshots of the real game under Xvfb, so they show
# the game as it is: a 二角取り deal, a 三動牌 deal and the window 面選択,
# written to data/manual/ (twocorner.png, threemove.png, stages.png).
#
#   tools/make-manual-shots.sh [BUILD_DIR]     (default: build; built first)
#
# Needs Xvfb, xdotool and imagemagick (scripts/install-deps.sh installs them).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build}
cmake --build "$build" --target tessarin game_data >/dev/null

work=$(mktemp -d)
trap 'kill "${game:-}" "${xvfb:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
# A copy of the game folder: the game keeps its game in progress beside it.
cp -r "$build/game" "$work/game"
rm -f "$work"/game/keptgame.txt "$work"/game/settings.txt "$work"/game/cleared.map
export XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/data
mkdir -m 0700 "$XDG_RUNTIME_DIR"
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")

"$work/game/tessarin" &
game=$!
win=$(xdotool search --sync --onlyvisible --name '^二角取り$' | head -1)
shot() { sleep "$2"; import -window "$1" "$root/data/manual/$3"; echo "wrote data/manual/$3"; }
mkdir -p "$root/data/manual"
xdotool windowfocus --sync "$win"
xdotool key alt+g Return                      # ｹﾞｰﾑ開始 → ｽﾀｰﾄ
shot "$win" 1 twocorner.png
xdotool key alt+t Down Return alt+g Return    # ｹﾞｰﾑ種別 → 三動牌, then ｽﾀｰﾄ
shot "$win" 2 threemove.png
xdotool key alt+t Return alt+g Down Return    # ｹﾞｰﾑ種別 → 二角取り, then 面選択
dialog=$(xdotool search --sync --onlyvisible --name '^面選択$' | head -1)
shot "$dialog" 1 stages.png
