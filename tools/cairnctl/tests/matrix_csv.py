#!/usr/bin/env python3
"""cairnctl matrix --csv read back as a spreadsheet would: with Python's csv module.

    matrix_csv.py CAIRNCTL SAMPLE.kvg
"""
import csv
import subprocess
import sys
import tempfile
from pathlib import Path

cairnctl, sample = sys.argv[1], sys.argv[2]
failures = 0


def check(condition, what):
    global failures
    if not condition:
        print("FAIL:", what)
        failures += 1


def matrix(out, *options):
    return subprocess.run([cairnctl, "matrix", sample, "--csv", str(out), *options],
                          capture_output=True, text=True)


def read(path):
    # newline="" as the csv module asks, so quoted line breaks and CR LF are its business.
    with open(path, newline="", encoding="utf-8") as f:
        return list(csv.reader(f, strict=True))


with tempfile.TemporaryDirectory() as work:
    work = Path(work)

    # The sample facility: three rules, a zone cause, a range effect, two panels.
    r = matrix(work / "all.csv")
    check(r.returncode == 0, f"matrix exits 0: {r.returncode} {r.stderr}")
    check(r.stdout == f"{work / 'all.csv'}: 3 causes, 3 effects, 3 rules\n", f"summary: {r.stdout!r}")
    expected = [
        ["cause / effect", "kind 7, panel 1, zones 1-4", "kind 7, panel 1, loop 1, element 10", "kind 7, panel 2"],
        ["kind 2, panel 1, zone 3", "", "", "30"],
        ["kind 1, panel 1, loop 1, element 1", "", "0", ""],
        ["kind 1, panel 2, loop 1, element 1", "5", "", ""],
    ]
    rows = read(work / "all.csv")
    check(rows == expected, f"sample matrix:\n{rows}")
    check((work / "all.csv").read_bytes().count(b"\r\n") == 4, "CR LF line ends")

    # Panel 2: the rules that start or end there.
    r = matrix(work / "panel2.csv", "--panel", "2")
    rows = read(work / "panel2.csv")
    check(r.returncode == 0 and [row[0] for row in rows[1:]] == [expected[1][0], expected[3][0]],
          f"panel 2 causes: {rows}")
    check(rows[0][1:] == [expected[0][1], expected[0][3]], f"panel 2 effects: {rows[0]}")

    # A failed write leaves the old file as it was.
    (work / "dir.csv").mkdir()
    r = matrix(work / "dir.csv")
    check(r.returncode == 1 and "could not write" in r.stderr, f"write into a folder: {r.returncode} {r.stderr}")
    check(r.stdout == "", "nothing on standard output after a failure")
    check(sorted(p.name for p in work.iterdir()) == ["all.csv", "dir.csv", "panel2.csv"],
          f"no temporary file left: {list(work.iterdir())}")

print("matrix csv:", "ok" if failures == 0 else f"{failures} failures")
sys.exit(1 if failures else 0)
