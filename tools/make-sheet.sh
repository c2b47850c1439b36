#!/usr/bin/env bash
# Regenerates the tile sheets data/paidat.dat, data/paidat@2x.dat and
# data/paidat@3x.dat (the same pictures drawn at two and three times the size)
# and the application icons under data/icons/hicolor/ (PNG at 16 to 256
# pixels, and SVG).
#
#   tools/make-sheet.sh                 build tessarin-sheetgen, then draw
#   tools/make-sheet.sh PATH/TO/tessarin-sheetgen   use an already built generator
#
# Without an argument the generator is built in $SHEETGEN_BUILD_DIR
# (default: a folder under ${TMPDIR:-/tmp}). The result is meant to be
# committed; the normal build only copies the sheets beside the program.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

if [[ $# -ge 1 ]]; then
    generator=$1
else
    build=${SHEETGEN_BUILD_DIR:-${TMPDIR:-/tmp}/tessarin-sheetgen-build}
    cmake -S "$root" -B "$build" -DTESSARIN_TESTS=OFF -DTESSARIN_BENCH=OFF >/dev/null
    cmake --build "$build" --target tessarin-sheetgen -j "$(nproc)"
    generator=$(find "$build" -type f -name tessarin-sheetgen -perm -u+x | head -n 1)
    [[ -n $generator ]] || { echo "make-sheet.sh: tessarin-sheetgen was not built" >&2; exit 1; }
fi

export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
for scale in 1 2 3; do
    name=paidat.dat
    [[ $scale == 1 ]] || name=paidat@${scale}x.dat
    "$generator" --scale "$scale" "$root/data/$name"
    echo "wrote $root/data/$name"
done

icons=$root/data/icons/hicolor
for size in 16 32 48 64 128 256; do
    mkdir -p "$icons/${size}x${size}/apps"
    "$generator" --icon "$size" "$icons/${size}x${size}/apps/org.tessarin.Tessarin.png"
done
mkdir -p "$icons/scalable/apps"
"$generator" --icon scalable "$icons/scalable/apps/org.tessarin.Tessarin.svg"
echo "wrote the icons in $icons"
