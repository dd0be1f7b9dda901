#!/usr/bin/env python3
"""Writes a PDF of one page per binary PGM image (P5, 8 bits): the image
fills its page at DPI dots per inch, stored grey and deflated, as scanned
labels and invoices hold them. Python's standard library alone.

Usage: make_pdf.py DPI OUT.pdf IMAGE.pgm...
"""
import sys
import zlib


def read_pgm(path):
    data = open(path, "rb").read()
    fields, position = [], 2
    while len(fields) < 3:
        while data[position:position + 1].isspace():
            position += 1
        end = position
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(int(data[position:end]))
        position = end
    width, height, _ = fields
    return width, height, data[position + 1:position + 1 + width * height]


def pdf(objects, trailer=b""):
    """The objects, numbered from 1, with their cross-reference table."""
    out = bytearray(b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n")
    offsets = []
    for number, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % number + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    out += b"".join(b"%010d 00000 n \n" % offset for offset in offsets)
    out += b"trailer\n<< /Size %d /Root 1 0 R %s>>\n" % (len(objects) + 1,
                                                         trailer)
    return bytes(out + b"startxref\n%d\n%%%%EOF\n" % xref)


def stream(dictionary, data):
    return (b"<< %s /Length %d >>\nstream\n" % (dictionary, len(data)) +
            data + b"\nendstream")


def image_pages(dpi, images):
    count = len(images)
    kids = b" ".join(b"%d 0 R" % (3 + 3 * i) for i in range(count))
    objects = [b"<< /Type /Catalog /Pages 2 0 R >>",
               b"<< /Type /Pages /Kids [%s] /Count %d >>" % (kids, count)]
    for i, (width, height, pixels) in enumerate(images):
        w, h = width * 72 / dpi, height * 72 / dpi
        first = 3 + 3 * i
        objects.append(
            b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 %.2f %.2f] "
            b"/Resources << /XObject << /Im %d 0 R >> >> /Contents %d 0 R >>"
            % (w, h, first + 2, first + 1))
        objects.append(stream(b"", b"q %.2f 0 0 %.2f 0 0 cm /Im Do Q" % (w, h)))
        objects.append(stream(
            b"/Type /XObject /Subtype /Image /Width %d /Height %d "
            b"/ColorSpace /DeviceGray /BitsPerComponent 8 /Filter /FlateDecode"
            % (width, height), zlib.compress(pixels, 9)))
    return pdf(objects)


if __name__ == "__main__":
    dpi, out, paths = float(sys.argv[1]), sys.argv[2], sys.argv[3:]
    open(out, "wb").write(image_pages(dpi, [read_pgm(p) for p in paths]))
