"""Scans image files on a Dask cluster, one task per file.

    python3 -m tarn.batch [--scheduler ADDRESS] [--workers N]
                          [--checksum none|verify|strip]
                          [--grade [--aperture N] [--dpi N] [--linear]]
                          --out FILE PATH_OR_GLOB...

Writes to FILE ("-": standard output) the JSON lines that ``tarn-scan
--json`` prints for each file, in the order of the arguments; a glob's
matches are taken in sorted order (``**`` reaches into subfolders). A file
that cannot be read is its error line, as with tarn-scan, and the other
files are still scanned: no file fails the batch. Without --scheduler the
files are scanned by a local cluster of N worker processes (default: one
per core), each running one task at a time; every worker process loads the
decoder plug-in once. The exit status is 0 when every file has its line
and 2 for a usage error.
"""

import argparse
import contextlib
import glob
import logging
import os
import sys
from typing import Any, Dict, List, Optional, Sequence

from . import _tarn


def scan_file(path: str, options: Dict[str, Any]) -> str:
    """The JSON lines of one file: its symbols, or why it cannot be read."""
    name = os.fsencode(path)
    try:
        return _tarn.json_lines(name, _tarn.ReadOptions(**options))
    except Exception as error:  # the file's line, not a failed task
        return _tarn.error_line(name, str(error) or type(error).__name__)


def expand(patterns: Sequence[str]) -> List[str]:
    """The paths, each glob replaced by its sorted matches."""
    paths = []
    for pattern in patterns:
        if not any(c in pattern for c in "*?["):
            paths.append(pattern)
            continue
        matches = sorted(glob.glob(pattern, recursive=True))
        if not matches:
            print(f"tarn.batch: no file matches {pattern}", file=sys.stderr)
        paths += matches
    return paths


def _positive(text: str) -> float:
    try:
        value = float(text)
    except ValueError:
        value = 0.0
    if not 0 < value < float("inf"):
        raise argparse.ArgumentTypeError(f"{text} is not a positive number")
    return value


def _parser() -> argparse.ArgumentParser:
    parser = argparse.ArgumentParser(
        prog="python3 -m tarn.batch",
        description="Scans image files on a Dask cluster and writes what "
        "tarn-scan --json prints for them.")
    parser.add_argument("inputs", nargs="+", metavar="PATH_OR_GLOB")
    parser.add_argument("--out", required=True, metavar="FILE",
                        help="the JSON lines file; - for standard output")
    parser.add_argument("--scheduler", metavar="ADDRESS",
                        help="a running Dask scheduler, e.g. tcp://host:8786")
    parser.add_argument("--workers", type=int, default=os.cpu_count() or 1,
                        metavar="N", help="local worker processes "
                        "(without --scheduler; default: one per core)")
    parser.add_argument("--checksum", default="none",
                        choices=["none", "verify", "strip"])
    parser.add_argument("--grade", action="store_true",
                        help="estimate each symbol's print quality")
    parser.add_argument("--aperture", type=_positive, default=0.0,
                        help="aperture diameter in X, in mils with --dpi")
    parser.add_argument("--dpi", type=_positive, default=0.0)
    parser.add_argument("--linear", action="store_true",
                        help="pixel values are linear reflectance")
    return parser


def _connect(stack: contextlib.ExitStack, scheduler: Optional[str],
             workers: int) -> Any:
    """A client of the scheduler, or of a local cluster closed with it."""
    from dask.distributed import Client, LocalCluster

    if scheduler:
        return stack.enter_context(Client(scheduler))
    cluster = stack.enter_context(LocalCluster(
        n_workers=workers, threads_per_worker=1, processes=True,
        dashboard_address=None, silence_logs=logging.ERROR))
    return stack.enter_context(Client(cluster))


def main(argv: Optional[Sequence[str]] = None) -> int:
    """Runs the batch; returns the exit status."""
    parser = _parser()
    args = parser.parse_args(argv)
    if args.workers < 1:
        parser.error("--workers must be at least 1")
    paths = expand(args.inputs)
    if not paths:
        parser.error("no input file")
    options = {"checksum": args.checksum, "grade": args.grade,
               "aperture": args.aperture, "dpi": args.dpi,
               "linear": args.linear}
    with contextlib.ExitStack() as stack:
        out = sys.stdout if args.out == "-" else stack.enter_context(
            open(args.out, "w", encoding="utf-8"))
        client = _connect(stack, args.scheduler, args.workers)
        futures = client.map(scan_file, paths, options=options, pure=False)
        for path, future in zip(paths, futures):
            try:
                out.write(future.result())
            except Exception as error:  # a worker died on it
                out.write(_tarn.error_line(os.fsencode(path),
                                           f"task failed: {error}"))
            future.release()
    return 0


if __name__ == "__main__":
    sys.exit(main())
