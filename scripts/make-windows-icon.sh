#!/bin/sh
# Remakes app/windows/ftvb.ico from ui/qt/resources/ftvb.svg with
# ImageMagick (Debian imagemagick). Run by hand when the picture changes;
# the build uses the committed icon. ImageMagick's own SVG reader knows no
# gradients, so the rounded ground is drawn here and the strokes laid on it.
set -eu
cd "$(dirname "$0")/.."
convert=/usr/bin/convert
[ -x "$convert" ] || convert=convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

grep -v '<rect ' ui/qt/resources/ftvb.svg >"$work/strokes.svg"
pictures=""
for side in 16 20 24 32 40 48 64 256; do
  # The SVG is drawn on a 64-unit square; its ground is a 60-unit square
  # at (2, 2) with corners of radius 10.
  set -- $(awk -v s="$side" 'BEGIN { print s * 2 / 64, s * 62 / 64 - 1, s * 10 / 64, s * 72 / 16 }')
  "$convert" -background none -density "$4" "$work/strokes.svg" -resize "${side}x$side" "png32:$work/strokes-$side.png"
  "$convert" -size "${side}x$side" -define gradient:direction=SouthEast 'gradient:#163466-#147a8c' \
    \( -size "${side}x$side" xc:none -fill white -draw "roundrectangle $1,$1 $2,$2 $3,$3" \) \
    -compose CopyOpacity -composite "$work/strokes-$side.png" -compose Over -composite "png32:$work/icon-$side.png"
  pictures="$pictures $work/icon-$side.png"
done
# shellcheck disable=SC2086
"$convert" $pictures app/windows/ftvb.ico
echo "app/windows/ftvb.ico: $(wc -c <app/windows/ftvb.ico) bytes"
