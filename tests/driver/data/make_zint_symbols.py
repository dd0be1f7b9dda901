#!/usr/bin/env python3
"""Writes zint_symbols.txt: Code 39 Extended symbols drawn by zint, an encoder
this project did not write, as edge lists with the texts they encode.

Run from this folder with zint installed (Debian package zint):
    python3 make_zint_symbols.py > zint_symbols.txt
"""
import subprocess

# (text, with check character)
SYMBOLS = [
    (b"CODE39", False),
    (b"CODE39", True),
    (b"Hello, World!", False),
    (b"a+b=c; {x|y} ~ 100%", True),
    (b"$/+% shifts themselves", False),
    (b"@[\\]^_`", True),
    (b"tab\there, DEL\x7f, NUL\x00, ESC\x1b", False),
    (b"0", True),
    (b"lower case letters only", True),
]


def escaped(text):
    """Printable bytes as they are, backslash doubled, the rest as \\xHH."""
    out = []
    for byte in text:
        if byte == 0x5C:
            out.append("\\\\")
        elif 0x20 <= byte < 0x7F:
            out.append(chr(byte))
        else:
            out.append("\\x%02X" % byte)
    return "".join(out)


def modules(text, check):
    """zint's module row: hex digits of 4 modules each, 1 for a bar."""
    command = ["zint", "-b", "9", "--esc", "--dump", "-d", escaped(text)]
    if check:
        command.append("--vers=1")
    dump = subprocess.run(command, check=True, capture_output=True, text=True)
    bits = "".join(format(int(digit, 16), "04b")
                   for digit in dump.stdout.split("\n")[0].replace(" ", ""))
    return bits.rstrip("0")  # the row ends with a bar; the rest is padding


def edges(row):
    """Positions, in modules, where a bar starts or ends."""
    return [0] + [i for i in range(1, len(row)) if row[i] != row[i - 1]] + [
        len(row)]


print("# Code 39 Extended symbols drawn by zint (made by make_zint_symbols.py).")
print("# check<TAB>text (\\\\ and \\xHH escapes)<TAB>edge positions in modules")
for text, check in SYMBOLS:
    print("%d\t%s\t%s" % (check, escaped(text),
                          " ".join(map(str, edges(modules(text, check))))))
