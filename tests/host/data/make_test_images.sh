#!/bin/bash
# Regenerates the images of image_readers_test with ImageMagick and Python.
# Each good one is 32 x 8 pixels: four 8 x 8 blocks of grey 0, 255, 64 and
# 191 (sRGB-coded) in every format and kind the readers take.
set -euo pipefail
cd "$(dirname "$0")"
magick=/usr/bin/convert
blocks="-size 8x8 xc:gray(0) xc:gray(255) xc:gray(64) xc:gray(191) +append"
inverted="-size 8x8 xc:gray(255) xc:gray(0) xc:gray(191) xc:gray(64) +append"
strip="-strip -define png:exclude-chunks=date,time"

$magick $blocks -type Grayscale -quality 95 grey.jpg
$magick $blocks -type TrueColor -quality 95 colour.jpg
$magick $blocks -colorspace CMYK -quality 95 cmyk.jpg
head -c $(($(stat -c %s grey.jpg) - 4)) grey.jpg > truncated.jpg
$magick $blocks -type Grayscale -interlace JPEG progressive.tmp.jpg

$magick $blocks $strip -define png:color-type=0 -define png:bit-depth=8 grey8.png
$magick $blocks $strip -define png:color-type=3 palette.png
$magick $blocks $strip -type TrueColor PNG48:rgb16.png
# The first block transparent: it shows the white paper.
$magick $blocks $strip -alpha set -region 8x8+0+0 -alpha transparent \
  +region PNG32:alpha.png

$magick $blocks -type Grayscale -depth 8 grey8.tif
# Stored bottom row first, right to left: read turned upright.
$magick $blocks -type Grayscale -orient BottomRight bottom_right.tif
$magick $blocks -type Grayscale -depth 16 -compress Zip grey16.tif
$magick $blocks -type Palette palette.tif
$magick $blocks -threshold 50% -type Bilevel -compress Group4 bilevel.tif
$magick $blocks -type TrueColor -compress LZW \
  -define tiff:tile-geometry=16x16 rgb_tiled.tif
$magick $blocks -type TrueColor -compress JPEG -quality 95 ycbcr_jpeg.tif
$magick $blocks -alpha set -region 8x8+0+0 -alpha transparent +region \
  -depth 8 alpha.tif
$magick \( $blocks \) \( $inverted \) -type Grayscale two_pages.tif
$magick $blocks -quality 90 lossy.webp
$magick $blocks -define webp:lossless=true lossless.webp
$magick $blocks -alpha set -region 8x8+0+0 -alpha transparent +region \
  -define webp:lossless=true alpha.webp
# A symbol of linear reflectance, bars 10/255 and spaces 230/255, with
# gAMA 1.0 written below.
zint -b 9 -d 'LINEAR' --scale=1 --quietzones --height=30 -o linear.tmp.png
$magick linear.tmp.png -colorspace Gray +level 4%,90.2% -depth 8 linear.tmp.pgm

python3 - <<'PY'
import struct, zlib

def png(name, width, height, depth, rows, gamma=None):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data)))
    raw = b"".join(b"\0" + row for row in rows)
    body = chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, 0, 0, 0, 0))
    if gamma:
        body += chunk(b"gAMA", struct.pack(">I", gamma))
    body += chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")
    open(name, "wb").write(b"\x89PNG\r\n\x1a\n" + body)

def blocks(levels, size):
    row = b"".join(struct.pack(">H" if size == 2 else "B", v) * 8 for v in levels)
    return [row] * 8

# 16-bit samples without gAMA: sRGB-coded like 8-bit ones.
png("grey16_no_gamma.png", 32, 8, 16, blocks([0, 65535, 64 * 257, 191 * 257], 2))
# Linear samples (gAMA 1.0) of the same greys.
png("linear_gamma.png", 32, 8, 8, blocks([0, 255, 13, 133], 1), gamma=100000)
png("huge.png", 10000, 10000, 8, [b""])
symbol = open("linear.tmp.pgm", "rb").read().split(b"\n", 3)
width, height = map(int, symbol[1].split())
rows = [symbol[3][y * width:(y + 1) * width] for y in range(height)]
png("linear_symbol.png", width, height, 8, rows, gamma=100000)

def tiff(name, pages):
    """Little-endian TIFF, one 8-bit grey strip per page: (w, h, offset, data)."""
    out = bytearray(b"II*\0\0\0\0\0")
    links = [4]
    for width, height, strip_offset, data in pages:
        strip = len(out)
        out += data
        if len(out) % 2:
            out += b"\0"
        struct.pack_into("<I", out, links[-1], len(out))
        tags = [(256, 4, width), (257, 4, height), (258, 3, 8), (259, 3, 1),
                (262, 3, 1), (273, 4, strip_offset or strip),
                (277, 3, 1), (278, 4, height), (279, 4, width * height)]
        out += struct.pack("<H", len(tags))
        for tag, kind, value in tags:
            out += struct.pack("<HHII", tag, kind, 1, value)
        links.append(len(out))
        out += b"\0\0\0\0"
    open(name, "wb").write(out)

page = b"".join(blocks([0, 255, 64, 191], 1))
# The second page's pixels lie beyond the end of the file.
tiff("broken_page.tif", [(32, 8, 0, page), (32, 8, 1 << 20, b"")])
tiff("huge.tif", [(10000, 10000, 0, b"")])

# Two pages whose link from the first to the second points past the end.
data = bytearray(open("two_pages.tif", "rb").read())
first = struct.unpack_from("<I", data, 4)[0]
tags = struct.unpack_from("<H", data, first)[0]
struct.pack_into("<I", data, first + 2 + 12 * tags, 0x0ffffff0)
open("broken_link.tif", "wb").write(data)
PY

# A JPEG whose frame header says 10000 x 10000.
python3 - <<'PY'
data = bytearray(open("grey.jpg", "rb").read())
frame = data.find(b"\xff\xc0")
data[frame + 5:frame + 9] = (10000).to_bytes(2, "big") * 2
open("huge.jpg", "wb").write(data)
# A progressive JPEG whose last scan comes 150 times.
data = open("progressive.tmp.jpg", "rb").read()
scan, end = data.rfind(b"\xff\xda"), data.rfind(b"\xff\xd9")
open("many_scans.jpg", "wb").write(data[:end] + data[scan:end] * 150 + data[end:])
PY
rm progressive.tmp.jpg linear.tmp.png linear.tmp.pgm
