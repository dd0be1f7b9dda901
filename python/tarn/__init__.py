"""Reads Code 39 Extended barcodes from numpy arrays, PIL images and files.

    >>> import tarn
    >>> tarn.read_barcodes("samples/two-symbols.png")
    [<Barcode 'LEFT 1' at (143.0, 60.0) angle 0.0, 16/23 lines>,
     <Barcode 'right 2' at (467.0, 60.2) angle 0.0, 11/17 lines>]

The symbols and their numbers are those of ``tarn-scan --json``;
``Barcode.to_dict()`` is the symbol's object there. A scan releases the GIL,
so threads that scan different images run in parallel. ``python3 -m
tarn.batch`` scans many files on a Dask cluster.
"""

import copy
import dataclasses
import os
import sys
from typing import Any, Dict, List, Optional, Tuple, Union

from . import _tarn
from ._tarn import InputError

__all__ = ["Barcode", "InputError", "read_barcodes"]
__version__: str = _tarn.__version__

InputError.__module__ = __name__
InputError.__doc__ = """A file that cannot be read: missing, unreadable,
truncated, corrupt or of a format tarn does not know. An OSError; the
message is tarn-scan's, ``FILE[:PAGE]: REASON``."""

Point = Tuple[float, float]


@dataclasses.dataclass(frozen=True, repr=False)
class Barcode:
    """One symbol, read where it stands.

    text: the full-ASCII text (empty: a check character that was refused);
    raw: the Code 39 characters as printed, without the ``*`` s;
    check_char: the symbol's last data character; check_char_ok: whether it
    is the modulo-43 check of the others; corners: the outline of the bars
    in pixels, start character's top, stop character's top, stop's bottom,
    start's bottom ("top" as seen when the symbol reads left to right), with
    pixel (x, y) spanning [x, x + 1) x [y, y + 1); angle: the reading
    direction in degrees counter-clockwise as seen on screen, 0 left to right;
    module_size: pixels per narrow module (corners, angle and module_size are
    None for edge files); lines_agreed, lines_tried: the scan lines across the
    symbol that read its text and that were tried; page: counted from 1 in a
    file of several pages, else 0; grade: the print quality estimate as
    ``tarn-scan --json --grade`` gives it, when asked for; inverted: light
    bars on a dark ground; decoded: False for a symbol-like area that read
    nothing, reported only when grading (grade F, no text).
    """

    text: str
    raw: str
    check_char: str
    check_char_ok: bool
    corners: Optional[Tuple[Point, Point, Point, Point]]
    angle: Optional[float]
    module_size: Optional[float]
    lines_agreed: int
    lines_tried: int
    page: int = 0
    grade: Optional[Dict[str, Any]] = dataclasses.field(default=None,
                                                        hash=False)
    inverted: bool = False
    decoded: bool = True

    @property
    def centre(self) -> Optional[Point]:
        """The mean of the corners, None without them."""
        if self.corners is None:
            return None
        return (sum(x for x, _ in self.corners) / 4,
                sum(y for _, y in self.corners) / 4)

    def __repr__(self) -> str:
        where = f" page {self.page}" if self.page else ""
        where += "" if self.decoded else " not decoded"
        if self.centre is not None:
            where += " at (%.1f, %.1f) angle %.1f" % (*self.centre, self.angle)
        quality = ""
        if self.grade is not None:
            quality = f", grade {self.grade['grade']} ({self.grade['letter']})"
        return (f"<Barcode {self.text!r}{where}, "
                f"{self.lines_agreed}/{self.lines_tried} lines{quality}>")

    def to_dict(self) -> Dict[str, Any]:
        """The symbol's object of ``tarn-scan --json``, plus ``raw``.

        As there, corners and angle are rounded to 0.1 and module_size to
        0.01, and ``page`` is left out for files of one page.
        """
        fields: Dict[str, Any] = {"page": self.page} if self.page else {}
        located = self.corners is not None
        fields.update(
            text=self.text,
            check_char=self.check_char,
            check_char_ok=self.check_char_ok,
            corners=[[round(x, 1), round(y, 1)] for x, y in self.corners]
            if located else None,
            angle=round(self.angle, 1) % 360.0 if located else None,
            module_size=round(self.module_size, 2) if located else None,
            lines_agreed=self.lines_agreed,
            lines_tried=self.lines_tried)
        if self.inverted:
            fields["inverted"] = True
        if not self.decoded:
            fields["decoded"] = False
        if self.grade is not None:
            fields["grade"] = copy.deepcopy(self.grade)
        fields["raw"] = self.raw
        return fields


ImageInput = Any  # a numpy array, a PIL image, a str or an os.PathLike


def read_barcodes(image: ImageInput, *, checksum: str = "none",
                  grade: bool = False, aperture: float = 0.0,
                  dpi: float = 0.0, linear: bool = False,
                  max_symbols: int = 0,
                  pdf_dpi: float = 300.0) -> List[Barcode]:
    """Every symbol in an image, each once, in the order found.

    image: one of
    - a numpy array of uint8: (h, w) or (h, w, 1) grey, (h, w, 3) RGB,
      (h, w, 4) RGBA (straight alpha; transparent parts show white paper).
      Three channels are always taken as RGB and four as RGBA, never
      guessed: give BGR pixels as ``array[..., ::-1]``. Any strides do;
      pixels whose rows are packed (a column step of one pixel, a positive
      row step) are read in place, others are copied first.
    - a PIL image: L, RGB and RGBA are read as they are; 1 as black and
      white, I and I;16 as grey of 0 to 65535, F as grey of 0 to 255, every
      other mode as RGBA. Only the image's current frame is read.
    - a path (str or os.PathLike): every page of a PNG, JPEG, TIFF, PDF,
      WebP, PBM or PGM file, or the scan lines of an edge file, as
      ``tarn-scan`` reads them; ``"-"`` is standard input. Barcodes carry
      their page. PDF pages are rendered at pdf_dpi dots per inch.

    checksum: what to do with a modulo-43 check character: "none" keeps it
    as part of the text, "verify" refuses a symbol whose check character is
    wrong, "strip" verifies it and drops it from the text. grade: estimate
    the print quality (Barcode.grade); aperture: its diameter in modules, or
    in mils with dpi (0: 0.8 modules); dpi: the image's resolution (0:
    unknown); linear: pixel values are linear reflectance, not sRGB.
    max_symbols: stop after this many (0: every symbol).

    Raises InputError (an OSError) for a file or page that cannot be read,
    naming it as ``tarn-scan`` does; TypeError and ValueError for arguments
    it cannot take.
    """
    options = _tarn.ReadOptions(checksum=checksum, grade=grade,
                                aperture=aperture, dpi=dpi, linear=linear,
                                max_symbols=max_symbols, pdf_dpi=pdf_dpi)
    if isinstance(image, (str, os.PathLike)):
        return _read_path(image, options)
    pil = sys.modules.get("PIL.Image")
    if pil is not None and isinstance(image, pil.Image):
        image = _pil_pixels(image)
    return [Barcode(**fields)
            for fields in _tarn.read_pixels(image, options)]


def _read_path(path: Union[str, "os.PathLike[str]"],
               options: "_tarn.ReadOptions") -> List[Barcode]:
    barcodes = []
    for page, error, symbols in _tarn.read_path(os.fsencode(path), options):
        if error:
            where = os.fsdecode(path) + (f":{page}" if page else "")
            raise InputError(f"{where}: {error}")
        barcodes += (Barcode(**fields) for fields in symbols)
    return barcodes


def _pil_pixels(picture: Any) -> Any:
    """A PIL image as a uint8 array of grey, RGB or RGBA pixels."""
    import numpy

    mode = picture.mode
    if mode in ("I", "I;16", "I;16L", "I;16B", "I;16N"):
        wide = numpy.clip(numpy.asarray(picture, dtype=numpy.int64), 0, 65535)
        return ((wide * 255 + 32767) // 65535).astype(numpy.uint8)
    if mode in ("1", "F"):
        picture = picture.convert("L")
    elif mode not in ("L", "RGB", "RGBA"):
        picture = picture.convert("RGBA")
    return numpy.asarray(picture)
