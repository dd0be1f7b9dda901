#!/bin/bash
# Regenerates the sample inputs of tarn-scan with zint (barcode type 9, Code 39
# Extended) and ImageMagick. Neither is needed to build, test or scan.
set -euo pipefail
cd "$(dirname "$0")"
magick=/usr/bin/convert

# Clean: one pixel per module with no quiet zone but the image border; two
# pixels per module with a check character; a quarter turn.
zint -b 9 -d 'TARN-SCAN 1X' --scale=0.5 -o clean-1px.png
zint -b 9 -d 'Hello, World!' --vers=1 --scale=1 --quietzones \
  -o check-char-2px.png
zint -b 9 -d 'Quarter turn' --scale=0.5 --quietzones --rotate=90 \
  -o quarter-turn.png

# Degraded: tilted, blurred, noisy and JPEG-compressed; low contrast, noisy
# and JPEG-compressed, as a grey map.
zint -b 9 -d 'TILTED 5' --scale=1 --quietzones --height=25 --notext \
  -o tilted.tmp.png
$magick tilted.tmp.png -colorspace Gray -seed 6 -background white -rotate 5 \
  -blur 0x0.6 -attenuate 0.5 +noise Gaussian -quality 50 tilted.tmp.jpg
$magick tilted.tmp.jpg -colorspace Gray degraded-tilted.png
zint -b 9 -d 'LOW CONTRAST' --scale=0.5 --quietzones -o low.tmp.png
$magick low.tmp.png -colorspace Gray -seed 6 +level 35%,65% \
  -attenuate 0.5 +noise Gaussian -quality 30 low.tmp.jpg
$magick low.tmp.jpg -colorspace Gray degraded-low-contrast.pgm

# Files people have: a phone photo (a grey JPEG, slightly turned, blurred and
# noisy, quality 60) and a scanner's two-page TIFF, one symbol per page.
zint -b 9 -d 'Phone photo' --scale=1.5 --quietzones --height=40 \
  -o photo.tmp.png
$magick photo.tmp.png -colorspace Gray -bordercolor white -border 30 \
  -background white -rotate 2 -seed 7 -blur 0x1 -attenuate 0.6 \
  +noise Gaussian -quality 60 phone-photo.jpg
zint -b 9 -d 'PAGE 1' --scale=1 --quietzones -o page1.tmp.png
zint -b 9 -d 'Page two' --scale=1 --quietzones -o page2.tmp.png
$magick page1.tmp.png page2.tmp.png -colorspace Gray -depth 8 -compress LZW \
  two-pages.tif
# A page of two symbols side by side, and a symbol turned by 30 degrees.
zint -b 9 -d 'LEFT 1' --scale=1 --quietzones --height=40 -o left.tmp.png
zint -b 9 -d 'right 2' --scale=1 --quietzones --height=40 -o right.tmp.png
$magick left.tmp.png right.tmp.png -colorspace Gray +append \
  -bordercolor white -border 20 two-symbols.png
zint -b 9 -d 'TURNED 30' --scale=1 --quietzones --height=40 \
  -o turned.tmp.png
$magick turned.tmp.png -colorspace Gray -background white -rotate -30 \
  turned-30.png
# Shipping labels as a PDF of two pages, scanned at 200 dpi; a WebP photo.
zint -b 9 -d 'LABEL 1' --scale=1 --quietzones --height=40 -o label1.tmp.png
zint -b 9 -d 'Label two' --scale=1.5 --quietzones --height=40 \
  -o label2.tmp.png
for label in label1 label2; do
  $magick $label.tmp.png -colorspace Gray -bordercolor white -border 60 \
    -depth 8 $label.tmp.pgm
done
./make_pdf.py 200 labels.pdf label1.tmp.pgm label2.tmp.pgm
zint -b 9 -d 'WebP photo' --scale=1.5 --quietzones --height=40 \
  -o photo.tmp.png
$magick photo.tmp.png -colorspace Gray -bordercolor white -border 30 \
  -background white -rotate -3 -seed 8 -blur 0x0.8 -attenuate 0.4 \
  +noise Gaussian -quality 70 webp-photo.webp
rm -f ./*.tmp.*

# Edge file: zint's modules as runs, 0.33 units per module, the symbol once
# in scan order and once read backwards.
zint -b 9 -d 'edge-file' --dump | head -1 | awk '
  BEGIN { hex = "0123456789ABCDEF" }
  {
    for (g = 1; g <= NF; g++)
      for (c = 1; c <= length($g); c++) {
        v = index(hex, substr($g, c, 1)) - 1
        for (b = 8; b >= 1; b = int(b / 2)) bits = bits (int(v / b) % 2)
      }
    sub(/0+$/, "", bits)
    n = 0
    for (i = 1; i <= length(bits) + 1; i++)
      if (i == 1 || substr(bits, i, 1) != substr(bits, i - 1, 1))
        edge[n++] = sprintf("%.2f", 12.5 + 0.33 * (i - 1))
    print "# one scan line per line: edge positions, first bar to last bar"
    print "# the symbol in scan order"
    line = edge[0]; for (i = 1; i < n; i++) line = line " " edge[i]; print line
    print "# the same symbol read from its far end"
    line = edge[n - 1]; for (i = n - 2; i >= 0; i--) line = line " " edge[i]
    print line
  }' > scan-lines.edges
