#!/usr/bin/env python3
"""Writes a realistic CSV batch for slopecalc: varied values, about 5 % of the rows with one bad
cell, deterministic (seeded).

usage: batchfile.py CALCULATOR ROWS FILE      CALCULATOR: earth-pressure, gravity-wall or beam
"""
import random
import sys

calculator, rows, path = sys.argv[1], int(sys.argv[2]), sys.argv[3]
rng = random.Random(18)


def number(low, high, digits):
    return f"{rng.uniform(low, high):.{digits}f}"


# name: (low, high, decimals)
COLUMNS = {
    "earth-pressure": {"H": (2, 12, 2), "gamma": (16, 22, 1), "phi": (20, 40, 1),
                       "q": (0, 30, 1), "c": (0, 20, 1), "delta": (0, 15, 1), "beta": (0, 15, 1),
                       "alpha": (80, 100, 1), "theta": (40, 60, 1), "delta_r": (8, 16, 1)},
    "gravity-wall": {"alpha": (85, 95, 1), "delta": (5, 15, 1), "gamma": (17, 21, 1),
                     "H": (2, 4, 2), "phi": (25, 38, 1), "q": (0, 20, 1), "c": (0, 10, 1),
                     "alpha0": (0, 12, 1), "mu": (0.25, 0.5, 2), "b": (1.3, 2.2, 2),
                     "gamma_w": (22, 24, 1), "b1": (0.4, 0.8, 2), "Ht": (4, 5, 2),
                     "n": (0.03, 0.25, 2), "h1": (1.5, 2.5, 2), "h2": (0.2, 0.4, 3),
                     "b2": (1.0, 1.4, 2), "b4": (0.3, 0.6, 2)},
    "beam": {"n": (1, 99, 0), "b": (150, 300, 0), "h": (250, 600, 0), "q": (5, 40, 1)},
}[calculator]
BAD = ["3o", "", "x", "1..2", "--1"]

with open(path, "w", newline="") as out:
    out.write(",".join(COLUMNS) + "\n")
    for _ in range(rows):
        cells = [number(*spec) for spec in COLUMNS.values()]
        if rng.random() < 0.05:
            cells[rng.randrange(len(cells))] = rng.choice(BAD)
        out.write(",".join(cells) + "\n")
