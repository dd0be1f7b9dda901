"""python3 -m tarn.batch against tarn-scan --json on the same files."""

import pytest

from conftest import SAMPLES, tarn_scan
from tarn import batch


def test_batch_writes_tarn_scans_lines(tmp_path):
    (tmp_path / "cut.png").write_bytes(
        (SAMPLES / "check-char-2px.png").read_bytes()[:300])
    inputs = [SAMPLES / "*.png", SAMPLES / "two-pages.tif",
              tmp_path / "missing.jpg", tmp_path / "cut.png",
              SAMPLES / "scan-lines.edges", SAMPLES / "two-symbols.png"]
    files = batch.expand([str(p) for p in inputs])
    assert files[:2] == [str(SAMPLES / "check-char-2px.png"),
                         str(SAMPLES / "clean-1px.png")]
    out = tmp_path / "results.jsonl"
    status = batch.main(["--workers", "2", "--grade", "--checksum", "verify",
                         *map(str, inputs), "--out", str(out)])
    assert status == 0
    assert out.read_text() == tarn_scan("--grade", "--checksum", "verify",
                                        *files)[0]


@pytest.mark.parametrize("args, message", [
    (["--out", "-", "/no/such/folder/*.png"], "no input file"),
    (["--workers", "0", "--out", "-", "x.png"], "--workers must be at least"),
    (["--dpi", "-3", "--out", "-", "x.png"], "-3 is not a positive number"),
    (["x.png"], "--out"),
])
def test_usage_errors(capsys, args, message):
    with pytest.raises(SystemExit) as caught:
        batch.main(args)
    assert caught.value.code == 2
    assert message in capsys.readouterr().err
