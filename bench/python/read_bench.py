#!/usr/bin/python3
"""Times tarn.read_barcodes beside zxing-cpp and ZBar on the same images.

Usage: read_bench.py [--set DIR | --seed N] [--repeat N] [--no-set]

Every image is read once into a grey numpy array: the samples' rasters
(class "samples") and the comparison set of samples/compare/make_set.py,
made in a temporary folder (--seed, 1 by default; needs zint and
ImageMagick) or taken from --set DIR with its manifest.json. Then each
reader runs over each class, best of --repeat runs: tarn.read_barcodes,
zxingcpp.read_barcodes (formats Code39) and pyzbar.pyzbar.decode (Code 39
only), each where importable. Prints a Markdown table: per class the images
and symbols drawn, and for each reader the milliseconds per image and the
symbols read. A reading counts when it is a symbol's text or its Code 39
characters, with or without the check character (zxing-cpp and ZBar give
the characters as printed). Last, tarn over every image with two threads
beside one.

Debian's zxing-cpp 1.4 aborts on some pages (two equal symbols side by
side), so each image is first tried with it in a child process, and pages
that abort there are left out of zxing-cpp's runs (and counted as aborts).

Run it with /usr/bin/python3 and the package tarn importable, e.g.
PYTHONPATH=build/default/python.
"""

import argparse
import concurrent.futures
import json
import os
import subprocess
import sys
import tempfile
import time

import numpy
from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(ROOT, "samples", "compare"))
sys.dont_write_bytecode = True  # no __pycache__ in samples/compare
from make_set import check_of, raw_of  # noqa: E402

import tarn  # noqa: E402

# What samples/make_samples.sh draws in each raster sample.
SAMPLES = {
    "check-char-2px.png": ["Hello, World!"],
    "clean-1px.png": ["TARN-SCAN 1X"],
    "degraded-low-contrast.pgm": ["LOW CONTRAST"],
    "degraded-tilted.png": ["TILTED 5"],
    "phone-photo.jpg": ["Phone photo"],
    "quarter-turn.png": ["Quarter turn"],
    "turned-30.png": ["TURNED 30"],
    "two-symbols.png": ["LEFT 1", "right 2"],
}


def grey(path):
    return numpy.asarray(Image.open(path).convert("L"))


def sample_images():
    images = []
    for name, texts in SAMPLES.items():
        symbols = [{"text": t, "raw": raw_of(t), "check_char": None}
                   for t in texts]
        images.append(("samples", os.path.join(ROOT, "samples", name),
                       symbols))
    return images


def set_images(folder):
    with open(os.path.join(folder, "manifest.json")) as f:
        manifest = json.load(f)
    return [(image["kind"], os.path.join(folder, image["file"]),
             image["symbols"]) for image in manifest["images"]]


def forms(symbol):
    raw = symbol["raw"]
    check = symbol["check_char"] or check_of(raw)
    return {symbol["text"], raw, symbol["text"] + check, raw + check}


def symbols_read(texts, symbols):
    left = list(symbols)
    for text in texts:
        match = next((s for s in left if text in forms(s)), None)
        if match is not None:
            left.remove(match)
    return len(symbols) - len(left)


def readers():
    found = {"tarn": lambda pixels: [b.text for b in
                                     tarn.read_barcodes(pixels)]}
    try:
        import zxingcpp
        code39 = zxingcpp.BarcodeFormat.Code39
        found["zxing-cpp"] = lambda pixels: [
            r.text for r in zxingcpp.read_barcodes(pixels, formats=code39)]
    except ImportError:
        pass
    try:
        from pyzbar import pyzbar
        only = [pyzbar.ZBarSymbol.CODE39]
        found["ZBar"] = lambda pixels: [
            r.data.decode("latin-1") for r in pyzbar.decode(pixels, only)]
    except ImportError:
        pass
    return found


def zxing_probe(paths):
    """Reads the images with zxing-cpp, a line on standard output each."""
    import zxingcpp
    for path in paths:
        zxingcpp.read_barcodes(grey(path),
                               formats=zxingcpp.BarcodeFormat.Code39)
        print("ok", flush=True)


def zxing_aborts(paths):
    """The paths on which zxing-cpp's read_barcodes aborts the process."""
    aborts, start = set(), 0
    while start < len(paths):
        run = subprocess.run(
            [sys.executable, __file__, "--zxing-probe", *paths[start:]],
            capture_output=True, text=True, check=False)
        if run.returncode == 0:
            break
        done = len(run.stdout.split())
        aborts.add(paths[start + done])
        start += done + 1
    return aborts


def best_time(read, pixels, repeat):
    best = float("inf")
    for _ in range(repeat):
        start = time.perf_counter()
        for image in pixels:
            read(image)
        best = min(best, time.perf_counter() - start)
    return best


def threads_speed_up(pixels, repeat):
    """Seconds for tarn over every image with one thread and with two, best
    of the runs, which take turns so that both see the same machine."""
    best = [float("inf"), float("inf")]
    with concurrent.futures.ThreadPoolExecutor(2) as pool:
        for _ in range(repeat):
            for threads in (1, 2):
                start = time.perf_counter()
                if threads == 1:
                    list(map(tarn.read_barcodes, pixels))
                else:
                    list(pool.map(tarn.read_barcodes, pixels))
                seconds = time.perf_counter() - start
                best[threads - 1] = min(best[threads - 1], seconds)
    return best


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--set", help="a comparison set made by make_set.py")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--no-set", action="store_true",
                    help="the samples only")
    ap.add_argument("--repeat", type=int, default=3)
    ap.add_argument("--zxing-probe", nargs="+", help=argparse.SUPPRESS)
    args = ap.parse_args()
    if args.zxing_probe:
        return zxing_probe(args.zxing_probe)

    images = sample_images()
    with tempfile.TemporaryDirectory() as tmp:
        if args.set:
            images += set_images(args.set)
        elif not args.no_set:
            subprocess.run([sys.executable,
                            os.path.join(ROOT, "samples", "compare",
                                         "make_set.py"),
                            "--seed", str(args.seed), tmp], check=True,
                           stdout=subprocess.DEVNULL)
            images += set_images(tmp)
        pixels = {path: grey(path) for _, path, _ in images}
        found = readers()
        aborts = zxing_aborts(list(pixels)) if "zxing-cpp" in found else set()

    classes = list(dict.fromkeys(kind for kind, _, _ in images))
    print("| class | images | symbols | " + " | ".join(
        f"{name} ms/image | {name} read" for name in found) + " |")
    print("|---|---:|---:|" + "---:|---:|" * len(found))
    totals = {name: [0.0, 0] for name in found}
    for kind in classes + ["all"]:
        chosen = [i for i in images if kind in (i[0], "all")]
        row = [kind, str(len(chosen)), str(sum(len(i[2]) for i in chosen))]
        for name, read in found.items():
            usable = [i for i in chosen
                      if name != "zxing-cpp" or i[1] not in aborts]
            if kind == "all":
                seconds, count = totals[name]
            else:
                arrays = [pixels[path] for _, path, _ in usable]
                seconds = best_time(read, arrays, args.repeat)
                count = sum(symbols_read(read(pixels[path]), symbols)
                            for _, path, symbols in usable)
                totals[name][0] += seconds
                totals[name][1] += count
            note = f" ({len(chosen) - len(usable)} aborted)" \
                if len(usable) < len(chosen) else ""
            row += ["%.2f" % (1000 * seconds / max(len(usable), 1)),
                    f"{count}{note}"]
        print("| " + " | ".join(row) + " |")

    one, two = threads_speed_up(list(pixels.values()), 4 * args.repeat)
    print(f"\ntarn over all {len(pixels)} images: one thread {one * 1000:.0f}"
          f" ms, two threads {two * 1000:.0f} ms, {one / two:.2f} times "
          f"faster ({os.cpu_count()} cores)")


if __name__ == "__main__":
    sys.exit(main())
