#!/usr/bin/env bash
# Regenerates the TwoCorner stage set: data/maptwo0.map .. data/maptwo9.map,
# their model answers data/anstwo0.map .. data/anstwo9.map, and the table of
# the manual's difficulty section, data/difficulty-section.html.txt.
#
#   tools/make-stages.sh                              build tessarin-tool, then make the set
#   tools/make-stages.sh PATH/TO/tessarin-tool        use an already built tool
#
# The game's deals from seed 1 on are proven solvable by `tessarin-tool
# author` (each with the solver's answer) until STAGE_COUNT stages are found
# (default 300, a multiple of 10). `tessarin-tool difficulty` then measures
# each one: the share of 200 random plays (a fixed seed) that clear the board.
# The stages are ordered from the most forgiving to the least and cut into
# ten files of equal size, file 0 the gentlest; each file's answers go to the
# answer file of the same digit. Lines end in CR LF. The result is meant to
# be committed; the normal build only copies it beside the program.
set -euo pipefail
export LC_ALL=C

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
count=${STAGE_COUNT:-300}
if ! [[ $count =~ ^[1-9][0-9]*$ ]] || (( count % 10 != 0 )); then
    echo "make-stages.sh: STAGE_COUNT must be a positive multiple of 10, not '$count'" >&2
    exit 2
fi

if [[ $# -ge 1 ]]; then
    tool=$1
else
    build=${STAGES_BUILD_DIR:-${TMPDIR:-/tmp}/tessarin-stages-build}
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTESSARIN_TESTS=OFF -DTESSARIN_BENCH=OFF >/dev/null
    cmake --build "$build" --target tessarin-tool
    tool=$(find "$build" -type f -name tessarin-tool -perm -u+x | head -n 1)
fi
[[ -n $tool && -x $tool ]] || { echo "make-stages.sh: no tessarin-tool at '$tool'" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "proving deals until $count stages are found ..."
"$tool" author "$work" --from 1 --count "$count" --budget-ms 10000 > "$work/author.log"
awk '{ n[$2]++ } END { for (v in n) printf "  %s: %d\n", v, n[v] }' "$work/author.log"

echo "measuring ..."
"$tool" difficulty --plays 200 < "$work/maptwo.map" > "$work/measure.txt"

# Most forgiving first: by the share of cleared plays, then by the tiles a
# play takes on average, then by stage number.
sort -k2,2gr -k3,3gr -k1,1 "$work/measure.txt" > "$work/order.txt"

mkdir "$work/out"
awk -v per=$((count / 10)) -v out="$work/out" '
    FILENAME ~ /maptwo\.map$/ { sub(/\r$/, ""); stage[substr($0, 1, 5)] = $0; next }
    FILENAME ~ /anstwo\.map$/ { sub(/\r$/, ""); answer[substr($0, 1, 5)] = $0; next }
    {
        file = int((FNR - 1) / per)
        no = $1
        if (!(no in stage) || !(no in answer)) { print "make-stages.sh: no lines for " no > "/dev/stderr"; exit 1 }
        printf "%s\r\n", stage[no] > (out "/maptwo" file ".map")
        printf "%s\r\n", answer[no] > (out "/anstwo" file ".map")
        printf "%d %s %s %s\n", file, no, $2, $3 > (out "/files.txt")
    }
' "$work/maptwo.map" "$work/anstwo.map" "$work/order.txt"

# The difficulty section of the manual, with the measure per file.
{
    cat <<'EOF'
<p>面の難しさは、牌の取り方をでたらめに選んだときにどれだけ全部取りきれるかで測っています。それぞれの面を、その時点で取れる組の中から毎回くじ引きのように 1 組を選んで取る、というやり方で 200 回遊ばせ、最後まで取りきれた回数の割合を「クリア率」としました。クリア率が高い面ほど多少の回り道も許してくれるやさしい面で、低い面ほど取る順番を考えないと行き詰まる難しい面です。面データのファイルは、このクリア率の高い順に 0 番から 9 番へ並べてあり、どの面も解けることを確かめたうえで模範回答を付けています。</p>
<table class="data">
  <tr><th>ファイル</th><th>面の数</th><th>クリア率（平均）</th><th>クリア率（範囲）</th></tr>
EOF
    awk '
        { n[$1]++; sum[$1] += $3; if (!($1 in lo) || $3 < lo[$1]) lo[$1] = $3; if (!($1 in hi) || $3 > hi[$1]) hi[$1] = $3 }
        END {
            for (f = 0; f <= 9; f++)
                printf "  <tr><td class=\"nw\">maptwo%d.map</td><td>%d</td><td>%.1f%%</td><td>%.1f%% ～ %.1f%%</td></tr>\n", f, n[f], sum[f] / n[f], lo[f], hi[f]
        }
    ' "$work/out/files.txt"
    echo '</table>'
} > "$work/out/difficulty-section.html.txt"

for f in 0 1 2 3 4 5 6 7 8 9; do
    mv "$work/out/maptwo$f.map" "$work/out/anstwo$f.map" "$root/data/"
done
mv "$work/out/difficulty-section.html.txt" "$root/data/"
echo "wrote $count stages to $root/data/maptwo0.map .. maptwo9.map with their answers"
cat "$root/data/difficulty-section.html.txt" | sed -n '/<tr><td/p'
