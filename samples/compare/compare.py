#!/usr/bin/python3
"""Read rates of tarn-scan, zbarimg and zxing-cpp on the generated set.

Usage: compare.py [--set DIR | --keep DIR] [--seed N] [--kinds K,...]
                  [--details] [--pgm] [--json FILE] [TARN_SCAN]

Makes the set with make_set.py (seed 1 by default) in a temporary folder,
or reads an existing one (--set DIR, with its manifest.json), and reads
every image with
- tarn-scan --json FILE (TARN_SCAN, default build/default/cli/tarn-scan;
  with --pgm it is handed the image as a grey PGM instead),
- zbarimg --quiet --raw -Sdisable -Scode39.enable FILE,
- zxing-cpp's read_barcodes(image, formats=Code39), default options, on the
  grey pixels.
It prints a markdown table per kind of damage: images fully read (every
symbol in it found), symbols read, misreads (a text that is in no symbol of
the image). --details lists what each reader missed or misread; --json
writes every reading to FILE.

A symbol counts as read when a reader gives its text, full ASCII decoded,
or its raw Code 39 characters (zbarimg and zxing-cpp do not translate full
ASCII), either with or without its check character (zbarimg and zxing-cpp
do not check it and keep it in the text; tarn-scan keeps it by default).
Two symbols with the same text need two readings. When tarn-scan reports
corners and an angle, the script also counts the symbols read whose centre
(the mean of the corners) lies within 2 modules of the drawn centre and
whose angle is within 5 degrees of the drawn one (tarn-scan's angles turn
counter-clockwise as seen on screen, the manifest's from the x axis towards
the y axis, the image's y pointing down; in both 0 reads left to right and
180 is upside down); --details lists the others.

Needs, besides the build: zint, imagemagick (for make_set.py), zbar-tools,
and for this script /usr/bin/python3 with python3-zxing-cpp and
python3-numpy (Debian packages: ./setup.sh compare installs them all).
"""

import argparse
import collections
import concurrent.futures
import json
import math
import os
import subprocess
import sys
import tempfile
import threading

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
READERS = ["tarn-scan", "zbarimg", "zxing-cpp"]

try:
    import numpy
    import zxingcpp
except ImportError as e:
    system = "/usr/bin/python3"
    if os.path.realpath(sys.executable) != os.path.realpath(system) \
            and os.access(system, os.X_OK):
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    sys.exit("compare.py: %s; run it with /usr/bin/python3 and install "
             "Debian's python3-zxing-cpp and python3-numpy" % e)


def pgm_pixels(pgm):
    """A binary 8-bit PGM as a grey numpy array."""
    fields, pos = [], 0
    while len(fields) < 4:  # magic, width, height, maximum
        while pgm[pos:pos + 1].isspace():
            pos += 1
        if pgm[pos:pos + 1] == b"#":
            pos = pgm.index(b"\n", pos)
            continue
        end = pos
        while not pgm[end:end + 1].isspace():
            end += 1
        fields.append(pgm[pos:end])
        pos = end
    w, h = int(fields[1]), int(fields[2])
    data = pgm[pos + 1:pos + 1 + w * h]
    return numpy.frombuffer(data, dtype=numpy.uint8).reshape(h, w)


def texts_of_tarn_scan(stdout):
    """Texts, errors and places (centre and angle, or None) from tarn-scan
    --json: {"symbols": [...]} or {"text": ...}."""
    texts, errors, places = [], [], []
    for line in stdout.decode("utf-8", "replace").splitlines():
        line = line.strip()
        if not line:
            continue
        try:
            obj = json.loads(line)
        except ValueError:
            errors.append("invalid JSON: " + line[:80])
            continue
        if "error" in obj:
            errors.append(str(obj["error"]))
        if isinstance(obj.get("symbols"), list):
            for sym in obj["symbols"]:
                if not isinstance(sym, dict) or sym.get("text") is None:
                    continue
                texts.append(sym["text"])
                places.append(place_of(sym))
        elif isinstance(obj.get("text"), str):
            texts.append(obj["text"])
            places.append(None)
    return texts, errors, places


def place_of(sym):
    """Centre of a reported symbol's corners, and its angle, or None."""
    try:
        corners = [(float(x), float(y)) for x, y in sym["corners"]]
        centre = (sum(p[0] for p in corners) / len(corners),
                  sum(p[1] for p in corners) / len(corners))
        # tarn-scan turns counter-clockwise as seen; the manifest clockwise.
        angle = sym.get("angle")
        return centre, None if angle is None else -float(angle) % 360
    except (KeyError, TypeError, ValueError, ZeroDivisionError):
        return None


class ZxingWorker:
    """zxing-cpp in a child process: Debian's 1.4 aborts (a failed assertion
    in Result::operator==) on some pages, such as two symbols with the same
    text side by side. After an abort the page is read again with
    read_barcode, one symbol at most, and the abort is reported."""

    def __init__(self):
        self.proc = None

    def ask(self, mode, path):
        if self.proc is None or self.proc.poll() is not None:
            self.proc = subprocess.Popen(
                [sys.executable, os.path.abspath(__file__), "--zxing-worker"],
                stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                stderr=subprocess.DEVNULL, text=True)
        try:
            self.proc.stdin.write(json.dumps([mode, path]) + "\n")
            self.proc.stdin.flush()
            line = self.proc.stdout.readline()
        except BrokenPipeError:
            line = ""
        if not line:
            self.proc.wait()
            self.proc = None
            return None
        return json.loads(line)

    def read(self, path):
        texts = self.ask("all", path)
        if texts is not None:
            return texts, []
        texts = self.ask("one", path)
        return texts or [], ["read_barcodes aborted"]

    def close(self):
        if self.proc is not None and self.proc.poll() is None:
            self.proc.stdin.close()
            self.proc.wait()


def zxing_worker():
    """Reads grey PGM paths from standard input, answers texts as JSON."""
    for line in sys.stdin:
        mode, path = json.loads(line)
        with open(path, "rb") as f:
            pixels = pgm_pixels(f.read())
        code39 = zxingcpp.BarcodeFormat.Code39
        if mode == "all":
            texts = [r.text for r in zxingcpp.read_barcodes(pixels,
                                                            formats=code39)]
        else:
            r = zxingcpp.read_barcode(pixels, formats=code39)
            texts = [r.text] if r is not None and r.valid else []
        sys.stdout.write(json.dumps(texts) + "\n")
        sys.stdout.flush()


def read_image(image, set_dir, scanner, use_pgm, tmp, zxing, zxing_lock):
    path = os.path.join(set_dir, image["file"])
    pgm_path = os.path.join(tmp, image["file"] + ".pgm")
    subprocess.run(["/usr/bin/convert", path, "-colorspace", "Gray",
                    "-depth", "8", pgm_path], check=True)
    got = {}
    try:
        r = subprocess.run([scanner, "--json", pgm_path if use_pgm else path],
                           capture_output=True, timeout=120)
        got["tarn-scan"] = texts_of_tarn_scan(r.stdout)
    except subprocess.TimeoutExpired:
        got["tarn-scan"] = ([], ["timeout"], [])
    r = subprocess.run(["zbarimg", "--quiet", "--raw", "-Sdisable",
                        "-Scode39.enable", path], capture_output=True)
    got["zbarimg"] = ([t for t in r.stdout.decode("latin-1").split("\n")
                       if t], [], [])
    with zxing_lock:
        got["zxing-cpp"] = zxing.read(pgm_path) + ([],)
    os.remove(pgm_path)
    return got


def forms(symbol):
    text, raw, cc = symbol["text"], symbol["raw"], symbol["check_char"]
    out = {text, raw}
    if cc:
        out |= {text + cc, raw + cc}
    return out


def distance(place, symbol):
    (x, y), _ = place
    return math.hypot(x - symbol["centre"][0], y - symbol["centre"][1])


def score(image, texts, places):
    """Found symbols, misread texts, duplicate readings, symbols missed, and
    for each reading with a place: (distance from the drawn centre in
    modules, difference of angles in degrees or None)."""
    left = list(image["symbols"])
    found, misread, duplicate, placed = 0, [], 0, []
    for i, t in enumerate(texts):
        place = places[i] if i < len(places) else None
        candidates = [s for s in left if t in forms(s)]
        if place is not None:
            candidates.sort(key=lambda s: distance(place, s))
        if candidates:
            match = candidates[0]
            left.remove(match)
            found += 1
            if place is not None:
                turn = None
                if place[1] is not None:
                    turn = abs((place[1] - match["angle"] + 180) % 360 - 180)
                placed.append((distance(place, match) / match["module_px"],
                               turn))
        elif any(t in forms(s) for s in image["symbols"]):
            duplicate += 1
        else:
            misread.append(t)
    return found, misread, duplicate, left, placed


def main():
    if sys.argv[1:] == ["--zxing-worker"]:
        return zxing_worker()
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("scanner", nargs="?",
                    default=os.path.join(ROOT, "build/default/cli/tarn-scan"))
    ap.add_argument("--set",
                    help="an existing set (a folder with manifest.json)")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--kinds", default="",
                    help="comma-separated kinds to make (default all)")
    ap.add_argument("--keep", help="make the set in this folder and keep it")
    ap.add_argument("--pgm", action="store_true",
                    help="hand tarn-scan every image as a grey PGM")
    ap.add_argument("--details", action="store_true")
    ap.add_argument("--json", help="write every reading to this file")
    ap.add_argument("--jobs", type=int, default=2)
    args = ap.parse_args()
    scanner = os.path.abspath(args.scanner)
    if not os.access(scanner, os.X_OK):
        sys.exit("compare.py: no scanner at %s (build it: cmake --preset "
                 "default && cmake --build build/default)" % scanner)

    with tempfile.TemporaryDirectory() as tmp:
        set_dir = args.set or args.keep or os.path.join(tmp, "set")
        if not args.set:
            subprocess.run([sys.executable, os.path.join(HERE, "make_set.py"),
                            "--seed", str(args.seed), "--kinds", args.kinds,
                            set_dir], check=True,
                           stdout=sys.stderr)
        with open(os.path.join(set_dir, "manifest.json")) as f:
            images = json.load(f)["images"]
        zxing, zxing_lock = ZxingWorker(), threading.Lock()
        with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
            readings = list(pool.map(
                lambda im: read_image(im, set_dir, scanner, args.pgm, tmp,
                                      zxing, zxing_lock), images))
        zxing.close()

    kinds = []
    stats = collections.defaultdict(lambda: collections.Counter())
    details = []
    for image, got in zip(images, readings):
        kind = image["kind"]
        if kind not in kinds:
            kinds.append(kind)
        for key in (kind, "all"):
            stats[key]["images"] += 1
            stats[key]["symbols"] += len(image["symbols"])
        for reader in READERS:
            texts, errors, places = got[reader]
            found, misread, dup, missed, placed = score(image, texts, places)
            for key in (kind, "all"):
                c = stats[key]
                c[reader, "symbols"] += found
                c[reader, "images"] += not missed
                c[reader, "misreads"] += len(misread)
                c[reader, "duplicates"] += dup
                c[reader, "errors"] += bool(errors)
                c[reader, "placed"] += len(placed)
                c[reader, "centre ok"] += sum(d <= 2 for d, _ in placed)
                c[reader, "angle ok"] += sum(a is not None and a <= 5
                                             for _, a in placed)
            for d, a in placed:
                if d > 2 or a is None or a > 5:
                    details.append("%s (%s) %s: placed %.1f modules from the "
                                   "drawn centre, angle off by %s" % (
                                       image["file"], image["damage"], reader,
                                       d, "?" if a is None else "%.1f" % a))
            if missed or misread or errors:
                details.append("%s (%s) %s: missed %s%s%s" % (
                    image["file"], image["damage"], reader,
                    [s["text"] for s in missed] or "none",
                    "; misread %r" % misread if misread else "",
                    "; error %s" % errors[0] if errors else ""))

    print("| kind | images | symbols | %s |" % " | ".join(READERS))
    print("|---|---:|---:|%s" % ("---:|" * len(READERS)))
    for key in kinds + ["all"]:
        c = stats[key]
        cells = []
        for reader in READERS:
            cell = "%d / %d" % (c[reader, "images"], c[reader, "symbols"])
            cell += ", %d" % c[reader, "misreads"]
            cells.append(cell)
        name = "**all**" if key == "all" else key
        print("| %s | %d | %d | %s |" % (name, c["images"], c["symbols"],
                                        " | ".join(cells)))
    c = stats["all"]
    print()
    print("Cells: images fully read / symbols read, misreads.")
    for reader in READERS:
        print("%s: %.1f %% of images, %.1f %% of symbols, %d misreads, "
              "%d duplicate readings, %d files with an error (refused, "
              "aborted)" % (
                  reader, 100 * c[reader, "images"] / c["images"],
                  100 * c[reader, "symbols"] / c["symbols"],
                  c[reader, "misreads"], c[reader, "duplicates"],
                  c[reader, "errors"]))
        if c[reader, "placed"]:
            print("%s positions: of %d symbols read with corners, %d centred "
                  "within 2 modules of the drawn centre, %d with the angle "
                  "within 5 degrees" % (reader, c[reader, "placed"],
                                        c[reader, "centre ok"],
                                        c[reader, "angle ok"]))
    if args.details:
        print()
        for line in details:
            print("- " + line)
    if args.json:
        with open(args.json, "w") as f:
            json.dump([{"file": im["file"], "kind": im["kind"],
                        "expected": [s["text"] for s in im["symbols"]],
                        "read": {r: got[r][0] for r in READERS},
                        "errors": {r: got[r][1] for r in READERS}}
                       for im, got in zip(images, readings)], f, indent=1)


if __name__ == "__main__":
    main()
