#!/usr/bin/env bash
# Renders the pictures kept as SVG under resources/artwork into the files the program ships.
# Run by hand after changing an SVG; needs rsvg-convert (librsvg2-bin) and ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/../resources/artwork"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The banner backdrop: a baseline (not progressive) JPEG, which every player can load.
rsvg-convert -w 468 -h 100 mypic.svg -o "$tmp/mypic.png"
convert "$tmp/mypic.png" -strip -interlace none -quality 90 ../../Template/mypic.jpg

# The backdrops the browser check plays the banner over, to measure how legible its text stays:
# plain white, black, cream and mid-grey, and a busy picture.
pictures=../../tests/playback/pictures
mkdir -p "$pictures"
for plain in white:#ffffff black:#000000 light:#f4f1e8 grey:#808080; do
  convert -size 468x100 "xc:${plain#*:}" -strip -interlace none -quality 90 "$pictures/${plain%%:*}.jpg"
done
rsvg-convert -w 468 -h 100 busy-picture.svg -o "$tmp/busy.png"
convert "$tmp/busy.png" -strip -interlace none -quality 90 "$pictures/busy.jpg"

# The window's banner artwork at its own size, and the application icon at every size it ships in
# (icon-sizes.txt); the build puts them into the program.
rsvg-convert -w 382 -h 82 banner.svg -o banner.png
read -ra icon_sizes <icon-sizes.txt
for size in "${icon_sizes[@]}"; do
  rsvg-convert -w "$size" -h "$size" icon.svg -o "icon-$size.png"
done
