#!/bin/sh
# Puts the dialogs' art (banners, button faces, Moon phases, the Moon's face, the Earth map,
# the screen saver's pictures)
# on one PNG, each picture at its own size and labelled with its file name: one block of
# tiles per kind of picture, the blocks one below the other.
# usage: contact-sheet.sh GENERATED_RES_DIR OUT.png
set -eu
out=$(realpath -m "$2")
mkdir -p "$(dirname "$out")"
cd "$1"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
block() {  # block NAME TILE_SIZE COLUMNS FILES...
    name=$1 size=$2 columns=$3
    shift 3
    montage -label '%f' -font DejaVu-Sans -pointsize 12 -fill white -background '#20222e' \
        -geometry "$size>+10+6" -tile "${columns}x" "$@" "$tmp/$name.png"
}
block banners 700x86 1 banner_130.bmp
block titles 365x26 3 banner_15?.bmp banner_160.bmp
block faces 300x40 3 faces_147.bmp faces_149.bmp faces_16[2-5].bmp faces_169.bmp faces_170.bmp
block wide 921x40 1 faces_166.bmp faces_167.bmp
block pictures 256x256 6 phase_13?.bmp moon_face_171.bmp earth_map_159.bmp
block saver 229x123 3 saver_preview_105.bmp saver_config_122.bmp saver_moon_116.bmp
convert -background '#20222e' "$tmp/banners.png" "$tmp/titles.png" "$tmp/faces.png" "$tmp/wide.png" \
    "$tmp/pictures.png" "$tmp/saver.png" -append +repage "$out"
