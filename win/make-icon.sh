#!/bin/sh
# Makes the application icon (win/velmora.ico) from the program's one
# drawing of it, web/page/icon.svg (a dark red shield with a gold V), at the
# four sizes Windows asks for: librsvg renders each size, ImageMagick packs
# them. Run it again only to change the picture; the .ico is committed.
set -eu
convert=/usr/bin/convert  # Debian's ImageMagick
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for size in 16 32 48 256; do
  rsvg-convert --width "$size" --height "$size" "$here/../web/page/icon.svg" -o "$tmp/icon$size.png"
done
"$convert" "$tmp/icon16.png" "$tmp/icon32.png" "$tmp/icon48.png" "$tmp/icon256.png" \
  "$here/velmora.ico"
