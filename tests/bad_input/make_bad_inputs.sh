#!/bin/bash
# Writes the hostile and broken inputs of the bad-input table into folder $1,
# from the samples in $2 and Python's standard library alone: cut files,
# noise, headers that promise pages the file does not hold, pages of 8192 x
# 8192 that compress to a few kilobytes, files of too many pages, text that
# is no edge file. Nothing here is stored; every run makes it again.
set -euo pipefail
out=$1
samples=$2
mkdir -p "$out"
python3 - "$out" "$samples" <<'PY'
import random, struct, sys, zlib

out, samples = sys.argv[1], sys.argv[2]
sys.dont_write_bytecode = True  # nothing written beside the samples
sys.path.insert(0, samples)
from make_pdf import pdf  # noqa: E402

def write(name, data):
    open(f"{out}/{name}", "wb").write(data)

def sample(name):
    return open(f"{samples}/{name}", "rb").read()

# Cut files: a PNG without (part of) its IEND, without its last IDAT bytes,
# and a JPEG and a TIFF cut in half.
png = sample("two-symbols.png")
for cut in (1, 12, 40):
    write(f"cut-{cut}.png", png[:-cut])
write("cut-half.jpg", sample("phone-photo.jpg")[:16000])
write("cut-half.tif", sample("two-pages.tif")[:3000])
write("cut-4.tif", sample("two-pages.tif")[:-4])  # the last page's link
write("empty.png", b"")
write("noise.bin", random.Random(7).randbytes(65536))

def png_file(width, height, rows):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data)))
    header = struct.pack(">IIBBBBB", width, height, 8, 0, 0, 0, 0)
    packer = zlib.compressobj(9)
    data = b"".join(packer.compress(row) for row in rows) + packer.flush()
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", data) + chunk(b"IEND", b""))

white_row = b"\0" + b"\xff" * 8192
write("huge-100000.png", png_file(100000, 100000, [b"\0"]))
write("no-data-8192.png", png_file(8192, 8192, [white_row]))
write("blank-8192.png", png_file(8192, 8192, [white_row] * 8192))
write("no-data-8192.pgm", b"P5 8192 8192 255\n")

def tiff_file(pages):
    """Little-endian TIFF; each page (tags, data): data after its IFD."""
    out = bytearray(b"II*\0\0\0\0\0")
    link = 4
    for tags, data in pages:
        start = len(out)
        struct.pack_into("<I", out, link, start)
        size = 2 + 12 * len(tags) + 4
        out += struct.pack("<H", len(tags))
        for tag, kind, value in sorted(tags):
            value = start + size if value == "data" else value
            out += struct.pack("<HHII", tag, kind, 1, value)
        link = len(out)
        out += b"\0\0\0\0" + data
    return bytes(out)

def grey_tags(width, height, bits=8, compression=1, photometric=1,
              byte_count=None, sample_format=1):
    return [(256, 4, width), (257, 4, height), (258, 3, bits),
            (259, 3, compression), (262, 3, photometric), (273, 4, "data"),
            (277, 3, 1), (278, 4, height), (339, 3, sample_format),
            (279, 4, byte_count or width * height * bits // 8)]

no_data = (grey_tags(8192, 8192), b"")
write("no-data-8192.tif", tiff_file([no_data]))
write("no-data-deflate-8192.tif",
      tiff_file([(grey_tags(8192, 8192, compression=8, byte_count=10),
                  zlib.compress(b"\0" * 100)[:10])]))
tiles = {273: 324, 278: 322, 279: 325}  # strips' tags as one tile's
one_tile = [(tiles.get(tag, tag), kind, value) for tag, kind, value in
            grey_tags(8192, 8192, compression=8, byte_count=10)] + [(323, 4, 8192)]
write("one-tile-8192.tif", tiff_file([(one_tile, zlib.compress(b"\0" * 100)[:10])]))
write("one-row.tif", tiff_file([(grey_tags(1 << 26, 1, compression=8,
                                           byte_count=10), b"\0" * 10)]))
write("no-data-100-pages.tif", tiff_file([no_data] * 100))
write("no-data-10000-pages.tif", tiff_file([no_data] * 10000))
write("float.tif", tiff_file([(grey_tags(4, 4, bits=32, sample_format=3),
                                b"\0" * 64)]))
# A white page in Group 4: each row is one bit, "no change from above".
g4 = b"\xff" * 1024 + b"\x00\x10\x01"
write("blank-8192-g4.tif", tiff_file([(
    grey_tags(8192, 8192, bits=1, compression=4, photometric=0,
              byte_count=len(g4)), g4)]))

def jpeg_header(frame, components, padding=0):
    """A JPEG with tables and a frame header of 8192 x 8192, `padding`
    comment segments of 64 KB, then no data."""
    def segment(marker, data):
        return b"\xff" + bytes([marker]) + struct.pack(">H", len(data) + 2) + data
    sampling = [0x22] + [0x11] * (components - 1)
    sof = struct.pack(">BHHB", 8, 8192, 8192, components) + b"".join(
        bytes([i + 1, sampling[i], 0]) for i in range(components))
    one_code = bytes([1] + [0] * 15 + [0])
    sos = bytes([1, 1, 0, 0, 63 if frame == 0xc0 else 0, 0])
    return (b"\xff\xd8" + segment(0xfe, b"." * 65000) * padding +
            segment(0xdb, b"\0" + b"\1" * 64) +
            segment(frame, sof) + segment(0xc4, b"\x00" + one_code) +
            segment(0xc4, b"\x10" + one_code) + segment(0xda, sos) + b"\xff\xd9")

write("no-data-8192.jpg", jpeg_header(0xc0, 1))
write("progressive-8192.jpg", jpeg_header(0xc2, 3))
write("progressive-grey-8192.jpg", jpeg_header(0xc2, 1))
write("progressive-padded-8192.jpg", jpeg_header(0xc2, 3, padding=4))

# PDF: cut in half, of 10,000 pages, encrypted (a password, not the empty
# one, opens it), a page of 200 x 200 inches; a WebP cut in half.
write("cut-half.pdf", sample("labels.pdf")[:1200])
pages = [b"<< /Type /Catalog /Pages 2 0 R >>",
         b"<< /Type /Pages /Kids [%s] /Count 10000 >>" %
         b" ".join(b"%d 0 R" % (3 + i) for i in range(10000))]
pages += [b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 72 72] >>"] * 10000
write("pages-10000.pdf", pdf(pages))
write("encrypted.pdf", pdf(
    [b"<< /Type /Catalog /Pages 2 0 R >>",
     b"<< /Type /Pages /Kids [] /Count 0 >>",
     b"<< /Filter /Standard /V 1 /R 2 /P -4 /O <%s> /U <%s> >>" %
     (b"ab" * 32, b"cd" * 32)],
    b"/Encrypt 3 0 R /ID [<%s> <%s>] " % (b"01" * 16, b"01" * 16)))
write("huge-page.pdf", pdf(
    [b"<< /Type /Catalog /Pages 2 0 R >>",
     b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
     b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 14400 14400] >>"]))
write("cut-half.webp", sample("webp-photo.webp")[:13000])

# Text that is no edge file, and an edge file behind a byte-order mark.
write("drawing.svg", b'<?xml version="1.0"?>\n<svg xmlns="http://www.w3.org/2000/svg"/>\n')
write("figure.eps", b"%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n")
write("icon.xpm", b'/* XPM */\nstatic char *icon[] = {"1 1 1 1", ". c #000", "."};\n')
write("bom.edges", b"\xef\xbb\xbf" + sample("scan-lines.edges"))
PY
