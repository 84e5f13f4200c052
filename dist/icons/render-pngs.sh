#!/bin/sh
# Renders the PNG sizes of the icon from the SVG. Run it after changing the
# SVG and commit the results (needs rsvg-convert, Debian package librsvg2-bin).
set -eu
cd "$(dirname "$0")"
for size in 16 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" org.zkh41.Programmer.svg -o "${size}x${size}.png"
done
