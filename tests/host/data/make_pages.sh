#!/bin/bash
# Regenerates the pages of scanner_program_test with zint (barcode type 8,
# Code 39, and 9, Code 39 Extended) and ImageMagick: symbols the finder must
# read wherever and however they lie, and clutter it must read nothing from.
set -euo pipefail
cd "$(dirname "$0")/pages"
magick=/usr/bin/convert
page="-size 600x400 xc:gray(92%)"

# The same text twice, one symbol above the other; characters that are shift
# characters elsewhere stand alone here.
zint -b 8 -d '-. $/+%' --scale=1 --quietzones --height=30 --notext -o same.tmp.png
$magick $page same.tmp.png -geometry +40+40 -composite \
  same.tmp.png -geometry +40+200 -composite -colorspace Gray same-text-twice.png
# Turned 200 degrees counter-clockwise: upside down, read from its far end.
zint -b 9 -d 'ANGLE200' --scale=1.5 --quietzones --height=40 -o angle.tmp.png
$magick $page \( angle.tmp.png -background 'gray(92%)' -rotate -200 \) \
  -gravity center -composite -colorspace Gray turned-200.png
# In perspective: the module shrinks to 60 % towards the stop character.
zint -b 9 -d 'FAR END' --scale=1.5 --quietzones --height=50 -o far.tmp.png
w=$(identify -format %w far.tmp.png) h=$(identify -format %h far.tmp.png)
$magick far.tmp.png -background 'gray(92%)' -virtual-pixel background \
  -distort Perspective "0,0 0,0  $w,0 $((w * 6 / 10)),$((h / 5))  $w,$h $((w * 6 / 10)),$((h * 4 / 5))  0,$h 0,$h" \
  -bordercolor 'gray(92%)' -border 40 -colorspace Gray foreshortened.png
# Blurred by nearly a module of four pixels, and noisy.
zint -b 9 -d 'BLUR9' --scale=2 --quietzones --height=20 -o blur.tmp.png
$magick $page blur.tmp.png -geometry +60+120 -composite -colorspace Gray \
  -blur 0x3.2 -seed 3 -attenuate 0.2 +noise Gaussian -depth 8 blurred.png
# Ink spread: every bar half a module wider, every space half a module
# narrower, as a wet print makes them.
zint -b 9 -d 'INK SPREAD' --scale=2 --quietzones --height=30 --notext -o ink.tmp.png
$magick -size 760x200 xc:'gray(92%)' \( ink.tmp.png -morphology Erode Rectangle:3x1 \) \
  -geometry +30+40 -composite -colorspace Gray ink-spread.png
# Rows of bars of random widths and gaps, like text or a damaged symbol, and
# noise: no symbol.
RANDOM=7
bars=""
for ((top = 10; top < 380; top += 40)); do
  for ((x = 10; x < 480; x += width + 1 + RANDOM % 8)); do
    width=$((1 + RANDOM % 8))
    bars+="rectangle $x,$top $((x + width - 1)),$((top + 29)) "
  done
done
$magick -size 500x400 xc:'gray(92%)' -fill 'gray(12%)' -draw "$bars" \
  -blur 0x0.7 -seed 7 -attenuate 0.4 +noise Gaussian -colorspace Gray -depth 8 clutter.png
# Light bars on a dark ground, as printed in negative or shown on a screen.
zint -b 8 -d 'NEGATIVE 7' --scale=1 --quietzones --height=20 --notext -o neg.tmp.png
$magick neg.tmp.png -bordercolor white -border 20 -negate -colorspace Gray light-on-dark.png
# A tight crop: 2 px per module, 14 px tall, 3 px beside the bars.
zint -b 8 -d 'CROP 14' --scale=1 --height=20 --notext -o crop.tmp.png
$magick crop.tmp.png -gravity center -crop x14+0+0 +repage -bordercolor white \
  -border 3x0 -colorspace Gray tight-crop.png
# Three symbols stacked with gaps of less than half their height.
for t in A B C; do
  zint -b 8 -d "STACK $t" --scale=1 --quietzones --height=20 --notext -o stack$t.tmp.png
done
$magick stackA.tmp.png \( -size 1x16 xc:white \) stackB.tmp.png \( -size 1x16 xc:white \) \
  stackC.tmp.png -append -bordercolor white -border 20 -colorspace Gray stacked.png
# Turned 64 degrees: too long for the first look's nearest lines to cross.
zint -b 8 -d 'Ship-To 42' --scale=1 --height=50 --notext -o ship.tmp.png
$magick ship.tmp.png -bordercolor white -border 40 -background white -rotate 64 \
  -colorspace Gray turned-64.png
# A damaged symbol: one narrow bar printed wide in every row. It reads
# nothing; graded, it is reported as F, decode failed.
zint -b 8 -d 'DAMAGED 1' --scale=2 --quietzones --height=30 --notext -o damaged.tmp.png
$magick damaged.tmp.png -bordercolor white -border 20 -fill black \
  -draw 'rectangle 116,20 118,139' -colorspace Gray damaged.png
rm -f ./*.tmp.*
