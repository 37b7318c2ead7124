#!/usr/bin/env bash
# Draws the program icon (a smiling sun bursting out of a blue tile, with confetti) and writes
# resources/zoomzap.ico at every size Windows asks for from 100 to 200 % scaling (16 to 64, and
# 256 for large views). Only shapes, no fonts, and no time stamps, so the same ImageMagick gives
# the same file.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/resources/zoomzap.ico}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

convert -size 256x256 xc:none \
    -fill '#3FA9F5' -stroke '#1F6FB2' -strokewidth 8 -draw 'roundrectangle 8,8 247,247 48,48' \
    -stroke none \
    -fill '#FF5A5F' -draw 'circle 52,56 52,40' \
    -fill '#7ED957' -draw 'circle 206,62 206,46' \
    -fill '#FF9ED2' -draw 'circle 204,204 204,188' \
    -fill '#B38CFF' -draw 'circle 50,200 50,186' \
    -fill '#FFD23F' -stroke '#F29F05' -strokewidth 6 -draw 'circle 128,132 128,58' \
    -stroke none -fill '#3B2A1A' \
    -draw 'ellipse 102,116 10,14 0,360' -draw 'ellipse 154,116 10,14 0,360' \
    -fill none -stroke '#3B2A1A' -strokewidth 9 -draw 'arc 92,120 164,176 20,160' \
    -stroke none -fill '#FF8C69' \
    -draw 'ellipse 86,150 10,7 0,360' -draw 'ellipse 170,150 10,7 0,360' \
    -depth 8 "$work/icon256.png"

sizes=()
for size in 64 48 40 32 24 20 16; do
    convert "$work/icon256.png" -filter Lanczos -resize ${size}x${size} "$work/icon$size.png"
    sizes+=("$work/icon$size.png")
done
convert "$work/icon256.png" "${sizes[@]}" -depth 8 +set date:create +set date:modify \
    -define png:exclude-chunks=date,time "$out"
echo "wrote $out"
