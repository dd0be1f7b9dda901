"""Where the tests find tarn-scan and the samples, and tarn-scan's output."""

import json
import os
import subprocess
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
SAMPLES = Path(os.environ.get("TARN_SAMPLES", ROOT / "samples"))
TARN_SCAN = os.environ.get("TARN_SCAN",
                           str(ROOT / "build" / "default" / "cli" / "tarn-scan"))
FILES = sorted(p.name for p in SAMPLES.iterdir() if p.suffix in
               (".png", ".pgm", ".jpg", ".tif", ".pdf", ".webp", ".edges"))


def tarn_scan(*args):
    """tarn-scan --json ARGS: its standard output and standard error."""
    run = subprocess.run([TARN_SCAN, "--json", *map(str, args)],
                         capture_output=True, text=True, check=False)
    assert run.returncode in (0, 1, 2), run.stderr
    return run.stdout, run.stderr


def tarn_scan_symbols(*args):
    """The symbols tarn-scan --json ARGS prints for one file."""
    (line,) = tarn_scan(*args)[0].splitlines()
    return json.loads(line)["symbols"]
