#!/usr/bin/env python3
"""Lines of code and of tests, blank and comment-only lines left out.

usage: scripts/count-lines.py

Code is every C++ source of the program's layers (core, calculators, report, cli, gui, windows,
app); tests are tests/ (fuzz targets included). bench/ and scripts/ are counted in neither.
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CODE = ["core", "calculators", "report", "cli", "gui", "windows", "app"]
TESTS = ["tests"]


def lines_of(path):
    text = open(path, encoding="utf-8").read()
    text = re.sub(r"/\*.*?\*/", lambda m: "\n" * m.group(0).count("\n"), text, flags=re.S)
    return sum(1 for line in text.splitlines()
               if line.strip() and not line.strip().startswith("//"))


def count(folders):
    total = 0
    for folder in folders:
        for base, _, files in os.walk(os.path.join(ROOT, folder)):
            total += sum(lines_of(os.path.join(base, f)) for f in files
                         if f.endswith((".cpp", ".h")))
    return total


code, tests = count(CODE), count(TESTS)
print(f"code {code} lines, tests {tests} lines: tests are {100 * tests / code:.0f} % of the code")
sys.exit(0)
