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
