#!/usr/bin/env bash
# Makes the picture fixtures of the covers tests: flat-coloured JPEGs of a
# few sizes and a BMP and PNG for the conversions.  Run from anywhere; the
# files are written next to this script and committed.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
pic() {  # COLOUR SIZE FILE [ENCODER OPTIONS...]
    local colour="$1" size="$2" file="$3"; shift 3
    ffmpeg -nostdin -loglevel error -y -f lavfi -i "color=c=$colour:s=$size" -frames:v 1 \
        -map_metadata -1 "$@" "$here/$file"
}
pic red 600x600 red_600x600.jpg -q:v 4
pic blue 300x100 blue_300x100.jpg -q:v 4
pic green 100x300 green_100x300.jpg -q:v 4
pic yellow 64x48 yellow_64x48.bmp -pix_fmt bgr24
pic white 40x40 white_40x40.png
