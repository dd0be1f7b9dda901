#!/usr/bin/env python3
"""Writes a seeded set of Code 39 images with known contents and damage.

Usage: make_set.py [--seed N] [--jobs N] [--kinds K,K,...] OUT_DIR
       make_set.py --bench DIR [--seed N]

zint draws each symbol (barcode type 9, Code 39 Extended; some with the
modulo-43 check character) at 40 pixels per module and one module tall;
ImageMagick's convert spreads or thins the ink there, shrinks it to the
wanted pixels per module with a box filter, pads, bends it in perspective,
turns it, and lays it on a page with the page's damage. OUT_DIR receives
the images, manifest.json and manifest.tsv.

manifest.tsv holds one symbol a line (texts JSON-escaped, without quotes);
manifest.json: {"seed": N, "images": [{"file", "kind", "damage", "size":
[w, h], "symbols": [{"text", "raw", "check_char", "centre": [x, y],
"angle", "module_px", "corners", "quiet_modules"}]}]}
- text: what the symbol holds, full ASCII decoded; raw: its Code 39
  characters (full-ASCII pairs as drawn), without the check character;
  check_char: the modulo-43 character drawn after them, or null.
- centre and corners are in pixels of the image, origin at its top-left
  corner, pixel (i, j) covering [i, i+1) x [j, j+1); corners are the bars'
  outline in reading order: top-left, top-right, bottom-right, bottom-left
  of the symbol as read (start character first).
- angle: degrees from the image's x axis to the reading direction, turning
  from x towards y (clockwise on screen); 0 reads left to right, 180 is
  upside down. Range [0, 360).
- module_px: the narrow module in pixels (at the near end in perspective).
- quiet_modules: white space before the start and after the stop character
  up to the nearest other ink, in modules (null when the page leaves more
  than 10).

Python 3 standard library only; zint and /usr/bin/convert must be installed.
"""

import argparse
import concurrent.futures
import json
import math
import os
import random
import subprocess
import sys
import tempfile

CONVERT = "/usr/bin/convert"
HI = 40  # pixels per module of zint's drawing
FONT = "DejaVu-Sans"
CODE39 = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%"

# Every ASCII character as Code 39 characters.
FULL_ASCII = {}
for _c in range(128):
    ch = chr(_c)
    if ch in "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. ":
        FULL_ASCII[ch] = ch
    elif _c == 0:
        FULL_ASCII[ch] = "%U"
    elif 1 <= _c <= 26:
        FULL_ASCII[ch] = "$" + chr(ord("A") + _c - 1)
    elif 27 <= _c <= 31:
        FULL_ASCII[ch] = "%" + chr(ord("A") + _c - 27)
    elif ch in "!\"#$%&'()*+,/" and ch != "-":
        FULL_ASCII[ch] = "/" + chr(ord("A") + _c - 33)
    elif ch == ":":
        FULL_ASCII[ch] = "/Z"
    elif ch in ";<=>?":
        FULL_ASCII[ch] = "%" + chr(ord("F") + _c - ord(";"))
    elif ch == "@":
        FULL_ASCII[ch] = "%V"
    elif ch in "[\\]^_":
        FULL_ASCII[ch] = "%" + chr(ord("K") + _c - ord("["))
    elif ch == "`":
        FULL_ASCII[ch] = "%W"
    elif "a" <= ch <= "z":
        FULL_ASCII[ch] = "+" + ch.upper()
    elif ch in "{|}~":
        FULL_ASCII[ch] = "%" + chr(ord("P") + _c - ord("{"))
    elif _c == 127:
        FULL_ASCII[ch] = "%T"


def raw_of(text):
    return "".join(FULL_ASCII[c] for c in text)


def check_of(raw):
    return CODE39[sum(CODE39.index(c) for c in raw) % 43]


def modules_of(raw, check):
    """Width of the bars in modules: start, data, check, stop; 13 each."""
    n = len(raw) + 2 + (1 if check else 0)
    return 13 * n - 1


# ---------------------------------------------------------------- texts

WORDS = ["Lot", "Box", "Item", "ref", "Qty", "Serial", "part", "No.", "Rev",
         "Batch", "Exp", "Made in", "Order", "page", "Ship to", "SKU",
         "Total", "Date", "Size", "tarn", "scan", "Line", "Stock", "code"]
UPPER = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
DIGITS = "0123456789"
PUNCT = "!#&'()*,:;<=>?@[]_{}~/+$%\"^|`\\"


def make_text(rng, max_raw):
    """A Code 39 Extended text whose raw form has at most max_raw chars."""
    for _ in range(200):
        style = rng.random()
        if style < 0.3:  # plain Code 39 characters
            n = rng.randint(3, 12)
            text = "".join(rng.choice(UPPER + DIGITS + UPPER + DIGITS + "-. ")
                           for _ in range(n)).strip() or "A1"
        elif style < 0.5:  # digits and a prefix
            text = rng.choice(["", "SN", "A-", "P", "LOT "]) + "".join(
                rng.choice(DIGITS) for _ in range(rng.randint(4, 10)))
        elif style < 0.75:  # words in mixed case with punctuation
            word = rng.choice(WORDS)
            tail = rng.choice([" ", "-", ": ", "#", "/", "_", ".", ","])
            text = word + tail + "".join(rng.choice(DIGITS + "abcdef")
                                         for _ in range(rng.randint(1, 5)))
        elif style < 0.9:  # lowercase
            text = "".join(rng.choice("abcdefghijklmnopqrstuvwxyz0123456789")
                           for _ in range(rng.randint(3, 8)))
        else:  # punctuation-rich
            text = "".join(rng.choice(PUNCT + UPPER + "abcxyz")
                           for _ in range(rng.randint(3, 7)))
        if text and text[0] == "-":
            text = "x" + text
        if 1 <= len(raw_of(text)) <= max_raw:
            return text
    return "A1"


def symbol_layout(rng, max_modules, check=None):
    """Text, raw, check character and width in modules within max_modules."""
    if check is None:
        check = rng.random() < 0.3
    max_raw = (max_modules + 1) // 13 - 2 - (1 if check else 0)
    max_raw = max(1, min(max_raw, 16))
    text = make_text(rng, max_raw)
    raw = raw_of(text)
    cc = check_of(raw) if check else None
    return {"text": text, "raw": raw, "check_char": cc,
            "modules": modules_of(raw, cc)}


# ------------------------------------------------------------- geometry

def rotate_point(p, c, deg):
    a = math.radians(deg)
    x, y = p[0] - c[0], p[1] - c[1]
    return (c[0] + x * math.cos(a) - y * math.sin(a),
            c[1] + x * math.sin(a) + y * math.cos(a))


class Placed:
    """One symbol as drawn: its convert operations and where its bars are."""

    def __init__(self, layout, ppm, height_modules, angle=0.0, ink=0.0,
                 perspective=None, human_text=False):
        self.layout = layout
        m = layout["modules"]
        self.width = max(m + 2, round((m + 2) * ppm))  # one module each side
        self.ppm = self.width / (m + 2)
        self.height = max(4, round(height_modules * self.ppm))
        self.angle = angle % 360
        self.ink = ink
        self.perspective = perspective  # (ratio of far end, far end right?)
        self.human_text = human_text
        self.tile = int(math.ceil(math.hypot(self.width, self.height))) + 4
        self.pad_x = (self.tile - self.width) // 2
        self.pad_y = (self.tile - self.height) // 2
        x0 = self.pad_x + self.ppm
        x1 = self.pad_x + self.width - self.ppm
        y0, y1 = self.pad_y, self.pad_y + self.height
        self.rect = [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]
        self.centre_in_tile = ((x0 + x1) / 2, (y0 + y1) / 2)
        self.offset = (0, 0)
        self.quiet = None

    def bent_rect(self):
        if not self.perspective:
            return list(self.rect)
        ratio, far_right = self.perspective
        (x0, y0), (x1, _), (_, y1), _ = self.rect
        cy, h = (y0 + y1) / 2, (y1 - y0)
        s = h * ratio / 2
        if far_right:
            return [(x0, y0), (x1, cy - s), (x1, cy + s), (x0, y1)]
        return [(x0, cy - s), (x1, y0), (x1, y1), (x0, cy + s)]

    def tile_corners(self):
        c = self.centre_in_tile
        return [rotate_point(p, c, self.angle) for p in self.bent_rect()]

    def corners(self):
        ox, oy = self.offset
        return [(x + ox, y + oy) for x, y in self.tile_corners()]

    def centre(self):
        cs = self.corners()
        return (sum(p[0] for p in cs) / 4, sum(p[1] for p in cs) / 4)

    def extent(self):
        """Bounding box of the bars on the page: x0, y0, x1, y1."""
        cs = self.corners()
        return (min(p[0] for p in cs), min(p[1] for p in cs),
                max(p[0] for p in cs), max(p[1] for p in cs))

    def size_turned(self):
        """Width and height of the bars' bounding box once turned."""
        cs = self.tile_corners()
        return (max(p[0] for p in cs) - min(p[0] for p in cs),
                max(p[1] for p in cs) - min(p[1] for p in cs))

    def place_centre(self, cx, cy):
        """Puts the bars' centre at (cx, cy) of the page, whole pixels."""
        tcx, tcy = self.centre_in_tile
        self.offset = (round(cx - tcx), round(cy - tcy))

    def zint_args(self, path):
        s = self.layout
        args = ["zint", "-b", "9", "-d", s["text"], "--scale=%d" % (HI // 2),
                "--height=1", "--notext", "-o", path]
        if s["check_char"]:
            args.insert(3, "--vers=1")
        return args

    def convert_ops(self, png):
        ops = ["(", png, "-colorspace", "Gray", "-compose", "Over",
               "-bordercolor", "white", "-border", "%dx0" % HI]
        r = round(abs(self.ink) * HI / 2)
        if r:
            # Erode spreads the dark bars, dilate thins them; 2r pixels of HI
            # per bar.
            ops += ["-morphology", "Erode" if self.ink > 0 else "Dilate",
                    "Rectangle:%dx1" % (2 * r + 1)]
        ops += ["-scale", "%dx1!" % self.width,
                "-scale", "%dx%d!" % (self.width, self.height),
                "-border", "%dx%d" % (self.pad_x, self.pad_y),
                "-background", "white", "-extent", "%dx%d" % (self.tile,
                                                               self.tile),
                "-virtual-pixel", "white"]
        if self.perspective:
            pts = []
            for (sx, sy), (dx, dy) in zip(self.rect, self.bent_rect()):
                pts.append("%.3f,%.3f %.3f,%.3f" % (sx, sy, dx, dy))
            ops += ["-distort", "Perspective", " ".join(pts)]
        if self.angle:
            c = self.centre_in_tile
            ops += ["-distort", "SRT", "%.3f,%.3f %.4f" % (c[0], c[1],
                                                           self.angle)]
        ops += [")", "-geometry", "%+d%+d" % self.offset,
                "-compose", "Multiply", "-composite"]
        return ops

    def record(self):
        s = self.layout
        return {"text": s["text"], "raw": s["raw"],
                "check_char": s["check_char"],
                "centre": [round(v, 2) for v in self.centre()],
                "angle": round(self.angle, 2),
                "module_px": round(self.ppm, 3),
                "corners": [[round(x, 2), round(y, 2)] for x, y in
                            self.corners()],
                "quiet_modules": self.quiet}


# ------------------------------------------------------------- the kinds

def fit_symbol(rng, page_w, page_h, ppm, angle=0.0, height=None, margin=10,
               **kw):
    """A symbol that fits a page_w x page_h area at ppm, turned by angle."""
    a = math.radians(angle)
    for _ in range(50):
        hm = height or rng.randint(12, 35)
        # widest symbol whose turned box (plus margins) fits the area
        c, s = abs(math.cos(a)), abs(math.sin(a))
        avail = []
        if c > 1e-3:
            avail.append((page_w / ppm - 2 * margin - hm * s) / c)
        if s > 1e-3:
            avail.append((page_h / ppm - 2 * margin - hm * c) / s)
        maxm = int(min(avail)) if avail else 0
        if maxm >= 38 + 13:
            layout = symbol_layout(rng, min(maxm, 14 * 13))
            return Placed(layout, ppm, hm, angle, **kw)
        ppm *= 0.9
    raise RuntimeError("no symbol fits %dx%d" % (page_w, page_h))


class Page:
    def __init__(self, w, h, kind, damage):
        self.w, self.h, self.kind = w, h, kind
        self.damage = damage
        self.symbols = []
        self.draw = []   # convert operations drawn over the symbols
        self.after = []  # page damage
        self.ext = "png"
        self.pgm = False  # written as a grey raw PGM in the end
        self.quality = None
        self.seed = 0

    def command(self, pngs, out):
        cmd = [CONVERT, "-size", "%dx%d" % (self.w, self.h), "xc:white"]
        for sym, png in zip(self.symbols, pngs):
            cmd += sym.convert_ops(png)
        cmd += ["-compose", "Over"] + self.draw
        cmd += ["-seed", str(self.seed)] + self.after
        cmd += ["-colorspace", "Gray", "-depth", "8",
                "-define", "png:exclude-chunk=date,time"]
        if self.quality:
            cmd += ["-quality", str(self.quality)]
        cmd += [out]
        return cmd


def single(rng, kind, damage, ppm, angle=0.0, size=None, **kw):
    w, h = size or (600, 400)
    sym = fit_symbol(rng, w, h, ppm, angle, **kw)
    tw, th = sym.size_turned()
    # page just big enough, at least the margin, at most w x h
    mw = min(w, int(tw + 2 * 10 * sym.ppm + rng.randint(0, 60)))
    mh = min(h, int(th + 2 * 10 * sym.ppm + rng.randint(0, 60)))
    page = Page(max(mw, 40), max(mh, 30), kind, damage)
    sym.place_centre(page.w / 2 + rng.uniform(-3, 3),
                     page.h / 2 + rng.uniform(-3, 3))
    page.symbols.append(sym)
    return page


def noise(rng, page, amount=None):
    a = amount if amount is not None else rng.uniform(0.05, 0.25)
    page.after += ["-attenuate", "%.2f" % a, "+noise", "Gaussian"]
    page.damage += " noise %.2f" % a


def blur(page, modules):
    sigma = modules * min(s.ppm for s in page.symbols)
    page.after += ["-blur", "0x%.2f" % sigma]
    page.damage += " blur %.2f module" % modules


def light(rng, page, low=None):
    low = low if low is not None else rng.uniform(0.3, 0.6)
    x1, y1 = rng.uniform(0, page.w), rng.uniform(0, page.h)
    x2, y2 = rng.uniform(0, page.w), rng.uniform(0, page.h)
    if math.hypot(x2 - x1, y2 - y1) < page.w / 2:
        x1, x2 = 0, page.w
    page.after += ["(", "-size", "%dx%d" % (page.w, page.h), "xc:",
                   "-sparse-color", "Barycentric",
                   "%.0f,%.0f gray(100%%) %.0f,%.0f gray(%.0f%%)" % (
                       x1, y1, x2, y2, low * 100), ")",
                   "-compose", "Multiply", "-composite", "-compose", "Over"]
    page.damage += " light down to %.2f" % low


def jpeg(rng, page, lo=20, hi=50):
    page.ext = "jpg"
    page.quality = rng.randint(lo, hi)
    page.damage += " jpeg q%d" % page.quality


def mk_clean(rng, i):
    page = single(rng, "clean", "clean", rng.uniform(1.5, 4.0))
    return page


def mk_multi(rng, i):
    layout = ["side", "stacked", "grid", "twice"][i % 4]
    big = rng.random() < 0.3
    W, H = (1200, 900) if big and layout == "grid" else (600, 400)
    ppm = rng.uniform(1.6, 3.0) if not big else rng.uniform(2.0, 3.5)
    cells = {"side": (2, 1), "stacked": (1, 2), "grid": (2, 2),
             "twice": rng.choice([(2, 1), (1, 2)])}[layout]
    cw, ch = W // cells[0], H // cells[1]
    page = Page(W, H, "multi", "multi %s" % layout)
    first = None
    for r in range(cells[1]):
        for c in range(cells[0]):
            if layout == "twice" and first is not None:
                sym = Placed(first.layout, first.ppm, first.height / first.ppm)
            else:
                sym = fit_symbol(rng, cw, ch, ppm, margin=6,
                                 height=rng.randint(10, 22))
                first = sym
            sym.place_centre(c * cw + cw / 2 + rng.uniform(-8, 8),
                             r * ch + ch / 2 + rng.uniform(-8, 8))
            page.symbols.append(sym)
    noise(rng, page, 0.1)
    return page


def mk_turned(rng, i):
    angle = rng.uniform(10, 45) * rng.choice([1, -1])
    page = single(rng, "turned", "turned %.1f" % angle, rng.uniform(1.8, 3.5),
                  angle)
    noise(rng, page)
    return page


def mk_upside(rng, i):
    angle = 180 + rng.uniform(-10, 10) if i % 2 == 0 else rng.uniform(0, 360)
    page = single(rng, "upside", "turned %.1f" % angle, rng.uniform(1.8, 3.5),
                  angle)
    noise(rng, page)
    return page


def mk_blur(rng, i):
    ppm = rng.uniform(3.0, 5.0)
    page = single(rng, "blur", "", ppm, height=rng.randint(8, 16))
    blur(page, rng.uniform(0.8, 1.0))
    noise(rng, page, 0.1)
    return page


def mk_perspective(rng, i):
    ratio = rng.uniform(0.6, 0.85)
    angle = rng.uniform(-8, 8)
    page = single(rng, "perspective", "perspective far end %.2f" % ratio,
                  rng.uniform(2.6, 4.0), angle,
                  perspective=(ratio, rng.random() < 0.5))
    noise(rng, page)
    return page


def mk_light(rng, i):
    page = single(rng, "light", "", rng.uniform(1.8, 3.5),
                  rng.uniform(-5, 5))
    light(rng, page, rng.uniform(0.25, 0.5))
    noise(rng, page)
    return page


def mk_ink(rng, i):
    ink = rng.choice([1, -1]) * rng.choice([0.2, 0.25, 0.3, 0.35])
    page = single(rng, "ink", "ink %+.2f module" % ink, rng.uniform(2.0, 4.0),
                  rng.uniform(-4, 4), ink=ink)
    blur(page, 0.3)
    noise(rng, page)
    return page


def add_clutter(rng, page, sym, q, style):
    """Ink q modules before and after the bars of an unturned symbol."""
    x0, y0, x1, y1 = sym.extent()
    gap = q * sym.ppm
    pt = max(8, int((y1 - y0) * rng.uniform(0.4, 0.8)))
    ymid = (y0 + y1) / 2
    if style == "label":  # the text itself under the bars, a title above
        cpt = max(8, int(sym.ppm * rng.uniform(5, 8)))
        page.draw += ["-font", FONT, "-pointsize", str(cpt), "-fill", "black",
                      "-gravity", "North", "-annotate",
                      "%+d%+d" % (round((x0 + x1) / 2 - page.w / 2),
                                  math.ceil(y1 + rng.uniform(1, 3) * sym.ppm)),
                      sym.layout["text"].replace("%", "%%").replace("\\", "/"),
                      "-annotate", "%+d%+d" % (
                          round((x0 + x1) / 2 - page.w / 2),
                          int(y0 - rng.uniform(1, 3) * sym.ppm - cpt * 1.2)),
                      rng.choice(WORDS) + " " + rng.choice(WORDS),
                      "-gravity", "NorthWest"]
        style = "text"
    if style == "text":
        left = rng.choice(WORDS) + " " + str(rng.randint(1, 99))
        right = rng.choice(WORDS)
        page.draw += ["-font", FONT, "-pointsize", str(pt), "-fill", "black",
                      "-gravity", "NorthEast", "-annotate",
                      "+%d+%d" % (page.w - int(x0 - gap), int(ymid - pt / 2)),
                      left, "-gravity", "NorthWest", "-annotate",
                      "+%d+%d" % (math.ceil(x1 + gap), int(ymid - pt / 2)),
                      right, "-gravity", "NorthWest"]
    else:
        lw = max(1, round(sym.ppm * rng.uniform(0.5, 1.5)))
        xa, xb = int(x0 - gap) - lw, math.ceil(x1 + gap)
        page.draw += ["-fill", "none", "-stroke", "black", "-strokewidth",
                      "1", "-draw", "rectangle %d,%d %d,%d" % (
                          xa, int(y0 - gap), xb + lw - 1, int(y1 + gap))]
        page.draw += ["-fill", "black", "-stroke", "none", "-draw",
                      "rectangle %d,%d %d,%d" % (xa, int(y0 - gap),
                                                 xa + lw - 1, int(y1 + gap)),
                      "-draw", "rectangle %d,%d %d,%d" % (
                          xb, int(y0 - gap), xb + lw - 1, int(y1 + gap))]
    sym.quiet = q


def scatter_text(rng, page, n, avoid):
    """Words on the page away from the boxes in avoid."""
    page.draw += ["-font", FONT, "-fill", "black", "-gravity", "NorthWest"]
    for _ in range(n):
        for _ in range(20):
            pt = rng.randint(10, 28)
            words = " ".join(rng.choice(WORDS)
                             for _ in range(rng.randint(1, 4)))
            w, h = len(words) * pt * 0.62, pt * 1.3
            x, y = rng.uniform(0, page.w - w / 2), rng.uniform(0, page.h - h)
            if all(x + w < a[0] or x > a[2] or y + h < a[1] or y > a[3]
                   for a in avoid):
                page.draw += ["-pointsize", str(pt), "-annotate",
                              "+%d+%d" % (x, y), words]
                avoid.append((x, y, x + w, y + h))
                break


def mk_clutter(rng, i):
    q = rng.choice([3, 4, 5, 6, 7])
    style = ["text", "label", "box"][i % 3]
    ppm = rng.uniform(2.0, 3.5)
    w = 600
    sym = fit_symbol(rng, w - 240, 160, ppm, height=rng.randint(12, 25),
                     margin=0)
    page = Page(w, rng.randint(180, 400), "clutter",
                "clutter %s at %d modules" % (style, q))
    sym.place_centre(page.w / 2 + rng.uniform(-20, 20), page.h / 2)
    page.symbols.append(sym)
    add_clutter(rng, page, sym, q, style)
    x0, y0, x1, y1 = sym.extent()
    scatter_text(rng, page, rng.randint(0, 4),
                 [(0, y0 - 10 * sym.ppm, page.w, y1 + 10 * sym.ppm)])
    blur(page, 0.25)
    noise(rng, page)
    return page


def mk_lowres(rng, i):
    ppm = rng.uniform(1.1, 1.5)
    page = single(rng, "lowres", "%.2f px/module" % ppm, ppm,
                  rng.choice([0, 0, rng.uniform(-3, 3)]))
    noise(rng, page, 0.1)
    return page


def mk_jpeg(rng, i):
    page = single(rng, "jpeg", "", rng.uniform(1.8, 4.0), rng.uniform(-5, 5))
    noise(rng, page, 0.15)
    jpeg(rng, page)
    return page


def mk_mixed(rng, i):
    if i % 4 == 0:  # a page with four symbols among text
        page = Page(1200, 900, "mixed", "page of four among text")
        avoid = []
        for c, r in [(0, 0), (1, 0), (0, 1), (1, 1)]:
            angle = rng.uniform(-30, 30) if rng.random() < 0.5 else 0
            sym = fit_symbol(rng, 560, 420, rng.uniform(2.0, 3.2), angle,
                             margin=12, height=rng.randint(10, 20))
            sym.place_centre(300 + 600 * c + rng.uniform(-20, 20),
                             225 + 450 * r + rng.uniform(-20, 20))
            page.symbols.append(sym)
            x0, y0, x1, y1 = sym.extent()
            m = 10 * sym.ppm
            avoid.append((x0 - m, y0 - m, x1 + m, y1 + m))
        scatter_text(rng, page, 25, avoid)
        blur(page, 0.3)
        light(rng, page, 0.6)
        noise(rng, page, 0.15)
        jpeg(rng, page, 40, 70)
        return page
    angle = rng.uniform(0, 360) if rng.random() < 0.3 else rng.uniform(-20, 20)
    persp = (rng.uniform(0.7, 0.9), rng.random() < 0.5) \
        if rng.random() < 0.3 else None
    page = single(rng, "mixed", "turned %.1f" % angle,
                  rng.uniform(2.5, 4.0), angle, perspective=persp)
    if persp:
        page.damage += " perspective %.2f" % persp[0]
    blur(page, rng.uniform(0.3, 0.6))
    if rng.random() < 0.5:
        light(rng, page, rng.uniform(0.4, 0.7))
    noise(rng, page)
    if rng.random() < 0.5:
        jpeg(rng, page, 30, 60)
    return page


def mk_crop(rng, i):
    """A crop to the bars: 0 to 3 modules beside them, none above or below,
    10 to 30 pixels tall; clean, blurred, downscaled, noisy or JPEG."""
    damage = ["clean", "blur", "lowres", "noise", "jpeg"][i % 5]
    ppm = rng.uniform(1.25, 2.0) if damage == "lowres" else rng.uniform(1.5, 2.0)
    h = rng.randint(10, 30)
    layout = symbol_layout(rng, rng.randint(6, 12) * 13)
    sym = Placed(layout, ppm, h / ppm + 4)
    side = rng.uniform(0, 3) * sym.ppm
    w = int(round(sym.width - 2 * sym.ppm + 2 * side))
    page = Page(w, h, "crop", "crop %dx%d, %.1f px beside" % (w, h, side))
    sym.place_centre(w / 2, h / 2)
    page.symbols.append(sym)
    if damage == "blur":
        blur(page, 0.6)
    elif damage == "noise":
        noise(rng, page, rng.uniform(0.1, 0.3))
    elif damage == "jpeg":
        jpeg(rng, page, 40, 80)
    elif damage == "lowres":
        page.damage += " %.2f px/module" % ppm
    return page


def mk_photo(rng, i):
    """As a phone photo of a label turned on the desk: 1.5 to 3 px/module,
    some blur and perspective, turned by an odd angle."""
    angle = [17, 33, 45, 61, 120, -8][i % 6] + rng.uniform(-1, 1)
    ratio = rng.uniform(0.75, 0.95)
    page = single(rng, "photo", "turned %.1f perspective %.2f" % (
        angle, ratio), rng.uniform(2.0, 3.0), angle,
        perspective=(ratio, rng.random() < 0.5))
    blur(page, rng.uniform(0.25, 0.4))
    noise(rng, page, rng.uniform(0.05, 0.15))
    if rng.random() < 0.5:
        jpeg(rng, page, 60, 90)
    return page


def mk_stack(rng, i):
    """Symbols close together: three stacked with gaps of about half their
    height, a 2 x 2 grid, or three at right angles to each other."""
    layout = ["stacked", "grid", "turned"][i % 3]
    ppm = rng.uniform(1.8, 2.6)
    hm = rng.randint(12, 20)
    page = Page(700, 500, "stack", "close %s" % layout)
    syms = [fit_symbol(rng, 320, 200, ppm, margin=0, height=hm)
            for _ in range(3 if layout != "grid" else 4)]
    gap = hm * ppm * rng.uniform(0.4, 0.6)
    if layout == "stacked":
        step = hm * ppm + gap
        for k, sym in enumerate(syms):
            sym.place_centre(350, 250 + (k - 1) * step)
    elif layout == "grid":
        dx = max(s.width for s in syms) / 2 + gap / 2
        dy = hm * ppm / 2 + gap / 2
        for sym, (cx, cy) in zip(syms, [(-1, -1), (1, -1), (-1, 1), (1, 1)]):
            sym.place_centre(350 + cx * dx, 250 + cy * dy)
    else:  # one along x, then two across it, each a gap from the last
        x = 40 + syms[0].width / 2
        for sym, turn in zip(syms, [0, 90, 270]):
            sym.angle = turn
            sym.place_centre(x, 250)
            x += (sym.width if turn == 0 else sym.height) / 2 + gap
            x += hm * ppm / 2
    page.symbols += syms
    noise(rng, page, 0.08)
    return page


KINDS = [("clean", 16, mk_clean), ("multi", 18, mk_multi),
         ("turned", 18, mk_turned), ("upside", 16, mk_upside),
         ("blur", 18, mk_blur), ("perspective", 16, mk_perspective),
         ("light", 16, mk_light), ("ink", 18, mk_ink),
         ("clutter", 18, mk_clutter), ("lowres", 18, mk_lowres),
         ("jpeg", 16, mk_jpeg), ("mixed", 16, mk_mixed),
         ("crop", 20, mk_crop), ("photo", 18, mk_photo),
         ("stack", 15, mk_stack)]


# ------------------------------------------------------------- running

def render(page, name, out_dir, tmp):
    pngs = []
    for k, sym in enumerate(page.symbols):
        png = os.path.join(tmp, "%s.%d.png" % (name, k))
        subprocess.run(sym.zint_args(png), check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        pngs.append(png)
    out = os.path.join(out_dir, "%s.%s" % (name, page.ext))
    if page.pgm:  # through the JPEG, if any, to a grey raw PGM
        drawn = os.path.join(tmp, "%s.%s" % (name, page.ext))
        subprocess.run(page.command(pngs, drawn), check=True)
        out = os.path.join(out_dir, name + ".pgm")
        subprocess.run([CONVERT, drawn, "-colorspace", "Gray", "-depth", "8",
                        out], check=True)
        os.remove(drawn)
    else:
        subprocess.run(page.command(pngs, out), check=True)
    for png in pngs:
        os.remove(png)
    return os.path.basename(out)


def run_pages(pages, out_dir, jobs):
    os.makedirs(out_dir, exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        with concurrent.futures.ThreadPoolExecutor(jobs) as pool:
            futures = [pool.submit(render, p, n, out_dir, tmp)
                       for n, p in pages]
            files = [f.result() for f in futures]
    images = []
    for (name, page), file in zip(pages, files):
        images.append({"file": file, "kind": page.kind,
                       "damage": page.damage.strip(),
                       "size": [page.w, page.h],
                       "symbols": [s.record() for s in page.symbols]})
    return images


def write_manifest(out_dir, seed, images):
    with open(os.path.join(out_dir, "manifest.json"), "w") as f:
        json.dump({"seed": seed, "images": images}, f, indent=1)
        f.write("\n")
    with open(os.path.join(out_dir, "manifest.tsv"), "w") as f:
        f.write("file\tkind\tdamage\ttext\tcheck_char\tcentre_x\tcentre_y"
                "\tangle\tmodule_px\n")
        for im in images:
            for s in im["symbols"]:
                f.write("\t".join([im["file"], im["kind"], im["damage"],
                                   json.dumps(s["text"])[1:-1],
                                   s["check_char"] or "",
                                   str(s["centre"][0]), str(s["centre"][1]),
                                   str(s["angle"]), str(s["module_px"])])
                        + "\n")


def make_pages(seed, kinds):
    pages = []
    for kind, count, maker in KINDS:
        if kinds and kind not in kinds:
            continue
        for i in range(count):
            rng = random.Random("%d/%s/%d" % (seed, kind, i))
            page = maker(rng, i)
            page.seed = rng.randint(1, 1 << 30)
            pages.append(("%s-%02d" % (kind, i + 1), page))
    return pages


def make_bench(seed):
    """Classes of images for the speed benchmark, as grey raw PGM."""
    pages = []
    for kind, maker in [("clean", mk_clean), ("turned", mk_turned),
                        ("blur", mk_blur), ("lowres", mk_lowres),
                        ("light", mk_light), ("jpeg", mk_jpeg)]:
        for i in range(2):
            rng = random.Random("%d/bench/%s/%d" % (seed, kind, i))
            page = maker(rng, i)
            page.seed = rng.randint(1, 1 << 30)
            pages.append(("symbol-%s-%d" % (kind, i + 1), page))
    rng = random.Random("%d/bench/page" % seed)
    page = mk_mixed(rng, 0)
    page.seed = rng.randint(1, 1 << 30)
    pages.append(("page-1200x900-four", page))
    rng = random.Random("%d/bench/photo" % seed)
    page = Page(4000, 3000, "photo", "4000x3000 page, one small symbol")
    sym = fit_symbol(rng, 500, 300, 2.5, rng.uniform(-10, 10),
                     height=rng.randint(12, 20))
    sym.place_centre(rng.uniform(800, 3200), rng.uniform(600, 2400))
    page.symbols.append(sym)
    light(rng, page, 0.6)
    noise(rng, page, 0.2)
    page.seed = rng.randint(1, 1 << 30)
    pages.append(("page-4000x3000-one", page))
    for _, p in pages:
        p.pgm = True
    return pages


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("out_dir", nargs="?")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--kinds", default="",
                    help="comma-separated kinds to make (default all)")
    ap.add_argument("--bench", metavar="DIR",
                    help="write the benchmark's grey PGM images to DIR")
    args = ap.parse_args()
    if not args.out_dir and not args.bench:
        ap.error("give OUT_DIR or --bench DIR")
    if args.bench:
        images = run_pages(make_bench(args.seed), args.bench, args.jobs)
        write_manifest(args.bench, args.seed, images)
    if args.out_dir:
        kinds = [k for k in args.kinds.split(",") if k]
        unknown = set(kinds) - {k for k, _, _ in KINDS}
        if unknown:
            ap.error("unknown kinds: " + ", ".join(sorted(unknown)))
        images = run_pages(make_pages(args.seed, kinds), args.out_dir,
                           args.jobs)
        write_manifest(args.out_dir, args.seed, images)
        n = sum(len(im["symbols"]) for im in images)
        print("%s: %d images, %d symbols" % (args.out_dir, len(images), n))


if __name__ == "__main__":
    sys.exit(main())
