#!/bin/sh
# Draws the application icon (a pie with one slice pulled out) as PNG files in the
# sizes the program installs, from the same shapes as resources/icons/tortelet.svg.
# Needs ImageMagick's convert.  Usage: tools/icons/make-icons.sh [output folder]
set -eu
out=${1:-"$(dirname "$0")/../../resources/icons"}
big=$(mktemp --suffix=.png)
trap 'rm -f "$big"' EXIT
convert -size 256x256 xc:none -strokewidth 6 -stroke '#2C4D75' -fill '#4F81BD' \
    -draw "path 'M 118,138 L 204.6,88 A 100,100 0 1 1 118,38 Z'" \
    -stroke '#B65708' -fill '#F79646' \
    -draw "path 'M 126,124.1 L 126,24.1 A 100,100 0 0 1 212.6,74.1 Z'" \
    "PNG32:$big"
for size in 32 48 128 256; do
    convert "$big" -filter Lanczos -resize "${size}x${size}" -strip "PNG32:$out/tortelet-$size.png"
done
