#!/bin/sh
# Draws the application icon (win/velmora.ico) with ImageMagick: a dark red
# shield with a gold V, at the four sizes Windows asks for. Run it again only
# to change the picture; the .ico is committed.
set -eu
convert=/usr/bin/convert  # Debian's ImageMagick
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$convert" -size 256x256 xc:none \
  -fill '#5a0d12' -stroke '#c9a227' -strokewidth 10 \
  -draw "path 'M 128,12 L 236,44 L 236,120 C 236,186 188,226 128,248 C 68,226 20,186 20,120 L 20,44 Z'" \
  -fill '#e8c547' -stroke '#3a0609' -strokewidth 6 \
  -draw "polygon 58,62 98,62 128,160 158,62 198,62 146,206 110,206" \
  -depth 8 "$tmp/icon256.png"
for size in 16 32 48; do
  "$convert" "$tmp/icon256.png" -resize ${size}x${size} "$tmp/icon$size.png"
done
"$convert" "$tmp/icon16.png" "$tmp/icon32.png" "$tmp/icon48.png" "$tmp/icon256.png" \
  "$here/velmora.ico"
