"""tarn.read_barcodes from paths, arrays and PIL images, against tarn-scan."""

import pickle
import threading
import time

import numpy as np
import pytest
from PIL import Image

import tarn
from conftest import FILES, SAMPLES, tarn_scan, tarn_scan_symbols

RASTERS = [name for name in FILES if name.endswith((".png", ".pgm", ".jpg"))]


@pytest.mark.parametrize("name, flags, options", [
    *((name, [], {}) for name in FILES),
    ("check-char-2px.png", ["--checksum", "strip", "--grade", "--dpi", "300"],
     {"checksum": "strip", "grade": True, "dpi": 300}),
    ("turned-30.png", ["--grade", "--aperture", "1.5", "--linear"],
     {"grade": True, "aperture": 1.5, "linear": True}),
    ("labels.pdf", ["--pdf-dpi", "600"], {"pdf_dpi": 600}),
])
def test_path_reads_as_tarn_scan(name, flags, options):
    barcodes = tarn.read_barcodes(SAMPLES / name, **options)
    assert [{k: v for k, v in b.to_dict().items() if k != "raw"}
            for b in barcodes] == tarn_scan_symbols(*flags, SAMPLES / name)
    assert pickle.loads(pickle.dumps(barcodes)) == barcodes
    assert all(repr(b).startswith(f"<Barcode {b.text!r}") for b in barcodes)


def in_memory(path):
    """The file's pixels as arrays of every layout, and as a PIL image."""
    picture = Image.open(path)
    grey = np.asarray(picture.convert("L"))
    height, width = grey.shape
    padded = np.zeros((height, width + 9), np.uint8)
    padded[:, 4:width + 4] = grey
    sparse = np.zeros((height + 4, 2 * width + 6, 2), np.uint8)
    sparse[2:-2, 3:2 * width + 3:2, 1] = grey
    rgb = np.repeat(grey[:, :, np.newaxis], 3, axis=2)
    return {
        "grey": grey,
        "rows padded": padded[:, 4:width + 4],
        "column steps": sparse[2:-2, 3:2 * width + 3:2, 1],
        "one channel": grey[:, :, np.newaxis],
        "rgb": rgb,
        "rgba": np.dstack([rgb, np.full_like(grey, 255)]),
        "pil": picture,
    }


@pytest.mark.parametrize("name", RASTERS)
def test_pixels_read_as_the_file(name):
    expected = tarn_scan_symbols(SAMPLES / name)
    forms = in_memory(SAMPLES / name)
    for form, image in forms.items():
        barcodes = tarn.read_barcodes(image)
        assert [b.text for b in barcodes] == [s["text"] for s in expected], form
        for barcode, symbol in zip(barcodes, expected):
            assert np.allclose(barcode.corners, symbol["corners"],
                               atol=0.05 + 1e-9, rtol=0), form
    colour = forms["rgba"].copy()
    colour[:, :, 2] //= 2  # so that the order of the channels matters
    rgb = np.ascontiguousarray(colour[:, :, :3])
    for view in colour[:, :, :3], rgb[::-1], rgb[:, ::-1], rgb[:, :, ::-1]:
        assert tarn.read_barcodes(view) == tarn.read_barcodes(view.copy())


@pytest.mark.parametrize("mode", ["1", "L", "LA", "P", "RGB", "RGBA", "CMYK",
                                  "YCbCr", "I;16", "I", "F"])
def test_pil_modes(mode):
    grey = Image.open(SAMPLES / "two-symbols.png").convert("L")
    if mode in ("I;16", "I"):
        wide = np.asarray(grey).astype(np.uint16 if mode == "I;16" else np.int32)
        picture = Image.fromarray(wide * 257, mode)
    else:
        picture = grey.convert(mode)
    expected = tarn.read_barcodes(np.asarray(grey))
    barcodes = tarn.read_barcodes(picture)
    assert [b.text for b in barcodes] == ["LEFT 1", "right 2"]
    assert tarn.read_barcodes(picture, max_symbols=1) == barcodes[:1]
    assert np.allclose([b.corners for b in barcodes],
                       [b.corners for b in expected], atol=0.01, rtol=0)


@pytest.mark.parametrize("image, options, error, message", [
    (np.zeros((9, 9), np.int16), {}, TypeError, "dtype uint8, not int16"),
    ([[0.5] * 9] * 9, {}, TypeError, "dtype uint8, not float64"),
    ({"pixels": 1}, {}, TypeError, "a PIL image or a path, not dict"),
    (b"\x89PNG", {}, TypeError, "a PIL image or a path, not bytes"),
    (np.zeros(9, np.uint8), {}, ValueError, "2 dimensions (grey) or 3"),
    (np.zeros((9, 9, 2), np.uint8), {}, ValueError, "channels, not 2"),
    (np.zeros((0, 9), np.uint8), {}, ValueError, "image is empty: (0, 9)"),
    (np.zeros((9, 9), np.uint8), {"checksum": "on"}, ValueError,
     "'none', 'verify' or 'strip', not 'on'"),
    (np.zeros((9, 9), np.uint8), {"aperture": -1}, ValueError, "aperture"),
    (np.zeros((9, 9), np.uint8), {"max_symbols": -1}, ValueError,
     "max_symbols"),
    (np.zeros((9, 9), np.uint8), {"pdf_dpi": 0}, ValueError, "pdf_dpi"),
])
def test_bad_arguments(image, options, error, message):
    with pytest.raises(error) as caught:
        tarn.read_barcodes(image, **options)
    assert message in str(caught.value)


PNG = (SAMPLES / "clean-1px.png").read_bytes()
TIFF = (SAMPLES / "two-pages.tif").read_bytes()
PDF = (SAMPLES / "labels.pdf").read_bytes()


@pytest.mark.parametrize("name, content", [
    ("missing.png", None),
    ("", None),  # the folder itself
    ("text.png", b"not\nan image\n"),
    ("cut.png", PNG[:len(PNG) // 2]),
    ("cut.tif", TIFF[:len(TIFF) * 3 // 4]),  # the second page cut off
    ("cut.pdf", PDF[:len(PDF) // 2]),
], ids=["missing", "folder", "text", "cut png", "cut tiff", "cut pdf"])
def test_unreadable_files_raise_tarn_scans_message(tmp_path, name, content):
    path = tmp_path / name
    if content is not None:
        path.write_bytes(content)
    with pytest.raises(tarn.InputError) as caught:
        tarn.read_barcodes(str(path))
    assert isinstance(caught.value, OSError)
    assert f"tarn-scan: {caught.value}\n" == tarn_scan(path)[1]


def test_scans_run_without_the_gil():
    noise = np.random.default_rng(1).integers(0, 256, (2000, 3000), np.uint8)
    span = []

    def scan():
        span.append(time.perf_counter())
        tarn.read_barcodes(noise)
        span.append(time.perf_counter())

    worker = threading.Thread(target=scan)
    ticks = []
    worker.start()
    while worker.is_alive():
        ticks.append(time.perf_counter())
    start, end = span
    quarter = (end - start) / 4
    assert any(start + quarter < t < end - quarter for t in ticks)
