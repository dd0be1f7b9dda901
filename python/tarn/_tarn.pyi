"""The reading engine of the package tarn; use tarn itself."""

from typing import Any, Dict, List, Tuple, Union

__version__: str

class InputError(OSError): ...

class ReadOptions:
    def __init__(self, *, checksum: str = ..., grade: bool = ...,
                 aperture: float = ..., dpi: float = ..., linear: bool = ...,
                 max_symbols: int = ..., pdf_dpi: float = ...) -> None: ...

Path = Union[str, bytes]

def read_pixels(image: Any, options: ReadOptions) -> List[Dict[str, Any]]: ...
def read_path(path: Path, options: ReadOptions
              ) -> List[Tuple[int, str, List[Dict[str, Any]]]]: ...
def json_lines(path: Path, options: ReadOptions) -> str: ...
def error_line(path: Path, message: str) -> str: ...
