#!/usr/bin/env python3
"""Runs the benchmarks of a build and prints one table of ratios against their floors.

usage: report.py BUILD_DIR [--rows N] [--rounds N]

Every figure is a ratio measured in pairs: ours, then the floor, then the floor, then ours …,
so that the drift of a shared machine cancels within each pair; the table gives the median of the
pairs' ratios and, in brackets, their quartiles. Times are CPU time (user + system) of whole
processes, or of the routine's calls. Nothing here fails on speed: the table says which targets
are met.
"""
import json
import os
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile

args = sys.argv[1:]
build = args[0] if args and not args[0].startswith("--") else "build"
rows_count = int(args[args.index("--rows") + 1]) if "--rows" in args else 1_000_000
rounds = int(args[args.index("--rounds") + 1]) if "--rounds" in args else 5
bench = os.path.join(build, "bench")
here = os.path.dirname(os.path.abspath(__file__))
slopecalc = os.path.join(build, "slopecalc")

table = []  # (measure, ours, floor, ratio, target, met)


def quartiles(values):
    v = sorted(values)
    at = lambda q: v[int(q * (len(v) - 1) + 0.5)]
    return at(0.25), at(0.5), at(0.75)


def add(measure, ours, floor, ratios, target):
    q1, median, q3 = quartiles(ratios)
    table.append((measure, ours, floor, f"{median:.2f}× [{q1:.2f}–{q3:.2f}]", f"≤ {target:.2f}×",
                  "yes" if median <= target else "NO"))


def cpu_seconds(command, stdin_path=None, stdout=subprocess.DEVNULL):
    """CPU time (user + system) of one whole process."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    with open(stdin_path or os.devnull, "rb") as stdin:
        subprocess.run(command, stdin=stdin, stdout=stdout, stderr=subprocess.DEVNULL)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)


# --- start-up: the launcher to its first frame against a Qt program that paints one label
def startup():
    command = [os.path.join(bench, "bench_startup"), os.path.join(build, "slope-support"),
               os.path.join(bench, "bench_minimal"), "31"]
    env = dict(os.environ)
    if not env.get("DISPLAY") and not env.get("WAYLAND_DISPLAY"):
        if shutil.which("xvfb-run"):
            command = ["xvfb-run", "-a"] + command
        else:
            env["QT_QPA_PLATFORM"] = "offscreen"
    out = json.loads(subprocess.run(command, check=True, capture_output=True, text=True,
                                    env=env).stdout)
    q1, median, q3 = out["time_ratio"]
    table.append(("start-up to first frame, CPU", f"{out['program_seconds'] * 1000:.1f} ms",
                  f"{out['floor_seconds'] * 1000:.1f} ms", f"{median:.2f}× [{q1:.2f}–{q3:.2f}]",
                  "≤ 1.10×", "yes" if median <= 1.10 else "NO"))
    q1, median, q3 = out["memory_ratio"]
    table.append(("start-up peak memory", f"{out['program_peak_kib'] / 1024:.1f} MiB",
                  f"{out['floor_peak_kib'] / 1024:.1f} MiB", f"{median:.2f}× [{q1:.2f}–{q3:.2f}]",
                  "≤ 1.05×", "yes" if median <= 1.05 else "NO"))


# --- routines: checked against plain double, paired rounds inside one process
def routines():
    out = json.loads(subprocess.run([os.path.join(bench, "bench_routines"), "41"], check=True,
                                    capture_output=True, text=True).stdout)
    for r in out:
        q1, median, q3 = r["ratio"]
        study = r["name"].startswith("study")
        conversion = " vs " in r["name"] and not study
        target = 1.2 if study else 2.0 if conversion else 1.3
        name = r["name"] if conversion or study else f"{r['name']} checked vs plain"
        unit = 1e-6 * 512 if study else 1  # a whole study a timing, not a call: in ms
        table.append((name, f"{r['checked_ns'] * unit:.1f} {'ms' if study else 'ns'}",
                      f"{r['plain_ns'] * unit:.1f} {'ms' if study else 'ns'}",
                      f"{median:.2f}× [{q1:.2f}–{q3:.2f}]", f"≤ {target:.2f}×",
                      "yes" if median <= target else "NO"))


# --- batches: whole slopecalc runs on generated files against Python's csv module copying them
PYTHON_COPY = ("import csv, sys\n"
               "with open(sys.argv[1], newline='') as f:\n"
               "    w = csv.writer(sys.stdout)\n"
               "    for row in csv.reader(f):\n"
               "        w.writerow(row)\n")


def batches(folder):
    generator = os.path.join(here, "batchfile.py")
    for calculator, options, target in (("earth-pressure", [], 0.35),
                                        ("gravity-wall", ["--type", "upright"], 0.5)):
        path = os.path.join(folder, calculator + ".csv")
        subprocess.run([sys.executable, generator, calculator, str(rows_count), path], check=True)
        ours, floor, ratios = [], [], []
        for round_ in range(rounds):
            run_ours = lambda: cpu_seconds([slopecalc, calculator, *options, "--csv", path])
            run_floor = lambda: cpu_seconds([sys.executable, "-c", PYTHON_COPY, path])
            if round_ % 2 == 0:
                a, b = run_ours(), run_floor()
            else:
                b, a = run_floor(), run_ours()
            ours.append(a), floor.append(b), ratios.append(a / b)
        add(f"slopecalc --csv {calculator}, {rows_count:,} rows",
            f"{statistics.median(ours):.2f} s", f"{statistics.median(floor):.2f} s (Python csv)",
            ratios, target)
    path = os.path.join(folder, "beam.csv")
    with open(path, "w") as f:  # 2,000 members of 99 spans, their loads varied
        f.write("n,q\n")
        for i in range(2000):
            f.write(f"99,{5 + (i * 37 % 250) / 10}\n")
    seconds = [cpu_seconds([slopecalc, "beam", "--csv", path]) for _ in range(rounds)]
    q1, median, q3 = quartiles(seconds)
    table.append(("slopecalc --csv beam, 2,000 rows of 99 spans", f"{median:.3f} s", "",
                  f"[{q1:.3f}–{q3:.3f}] s", "≤ 0.150 s", "yes" if median <= 0.15 else "NO"))

    # the slope's stability: a critical-circle search, and a batch of broken-line slides
    surface = ";".join(f"{x} {y}" for x, y in zip(
        (0, 4, 8, 11, 14, 16, 18, 20, 22, 24, 26, 28, 30, 32, 34, 36, 40, 46, 52, 60),
        (0, 0, 0.3, 0.8, 1.6, 2.5, 3.4, 4.4, 5.5, 6.7, 7.8, 8.9, 10.1, 11.2, 12.4, 13.5, 14.4,
         15.0, 15.2, 15.3)))
    search = [slopecalc, "slope-stability", "--method", "bishop", "surface=" + surface,
              "layers=15.3 19 10 24;8 19.5 15 20;2 20.5 25 28", "water=0 1;30 6;60 10"]
    seconds = [cpu_seconds(search) for _ in range(rounds)]
    q1, median, q3 = quartiles(seconds)
    table.append(("slopecalc slope-stability --method bishop, critical circle, 20 points, "
                  "3 strata", f"{median:.3f} s", "", f"[{q1:.3f}–{q3:.3f}] s", "≤ 0.200 s",
                  "yes" if median <= 0.2 else "NO"))
    # the rigorous methods: a factor on a given circle of 50 slices (2,000 circles in a batch, per
    # calculation), and the search of any shape on the same ground
    path = os.path.join(folder, "rigorous.csv")
    with open(path, "w") as f:
        f.write("circle\n")
        for i in range(2000):
            f.write(f'"{18 + (i % 40) * 0.1} {24 + (i // 40) * 0.1} {22 + (i % 7) * 0.1}"\n')
    for method in ("spencer", "morgenstern-price"):
        command = [slopecalc, "slope-stability", "--method", method, "surface=" + surface,
                   "layers=15.3 19 10 24;8 19.5 15 20;2 20.5 25 28", "water=0 1;30 6;60 10",
                   "slices=50", "--csv", path]
        seconds = [cpu_seconds(command) / 2000 * 1000 for _ in range(rounds)]
        q1, median, q3 = quartiles(seconds)
        table.append((f"slopecalc slope-stability --method {method}, a given circle of 50 "
                      "slices, per calculation", f"{median:.3f} ms", "",
                      f"[{q1:.3f}–{q3:.3f}] ms", "≤ 2.000 ms", "yes" if median <= 2 else "NO"))
    search = [slopecalc, "slope-stability", "--method", "spencer", "surface=" + surface,
              "layers=15.3 19 10 24;8 19.5 15 20;2 20.5 25 28", "water=0 1;30 6;60 10",
              "search=non-circular"]
    seconds = [cpu_seconds(search) for _ in range(rounds)]
    q1, median, q3 = quartiles(seconds)
    table.append(("slopecalc slope-stability --method spencer search=non-circular, 20 points, "
                  "3 strata", f"{median:.3f} s", "", f"[{q1:.3f}–{q3:.3f}] s", "≤ 2.000 s",
                  "yes" if median <= 2 else "NO"))
    path = os.path.join(folder, "broken-line.csv")
    with open(path, "w") as f:  # 10,000 slides of 3 to 6 blocks, varied
        f.write("G,theta,c,phi,l\n")
        for i in range(10000):
            n = 3 + i % 4
            cells = [";".join(str(v(i, k)) for k in range(n)) for v in (
                lambda i, k: 400 + (i * 37 + k * 101) % 900,
                lambda i, k: 35 - k * 6 + (i % 7),
                lambda i, k: 5 + (i + k) % 15,
                lambda i, k: 8 + (i * 3 + k) % 20,
                lambda i, k: 6 + (i + 2 * k) % 9)]
            f.write(",".join(cells) + "\n")
    seconds = [cpu_seconds([slopecalc, "slope-stability", "--method", "broken-line", "--csv", path])
               for _ in range(rounds)]
    q1, median, q3 = quartiles(seconds)
    table.append(("slopecalc --csv slope-stability --method broken-line, 10,000 rows",
                  f"{median:.3f} s", "", f"[{q1:.3f}–{q3:.3f}] s", "≤ 0.500 s",
                  "yes" if median <= 0.5 else "NO"))

    # the wall's ground: 10,000 calculations of three strata, water and two local loads
    path = os.path.join(folder, "wall-pressure.csv")
    with open(path, "w") as f:
        f.write("H,layers,water,loads,kh\n")
        for i in range(10000):
            H = 5 + i % 8
            layers = f"{1 + i % 3} 18 0 {28 + i % 6};{2 + i % 2} 19 {i % 15} 22 20;4 20 0 32 21"
            loads = f"line {20 + i % 50} {1 + i % 4};strip {10 + i % 30} {i % 3} {1 + i % 2}"
            f.write(f'{H},"{layers}",{1 + i % 4},"{loads}",{(i % 3) * 0.05}\n')
    seconds = [cpu_seconds([slopecalc, "wall-pressure", "--csv", path]) for _ in range(rounds)]
    q1, median, q3 = quartiles(seconds)
    table.append(("slopecalc --csv wall-pressure, 10,000 rows of 3 strata, water, 2 loads",
                  f"{median:.3f} s", "", f"[{q1:.3f}–{q3:.3f}] s", "≤ 0.500 s",
                  "yes" if median <= 0.5 else "NO"))

    # the anchored wall: 10,000 walls of 3 to 8 rows on three strata and water, the rib as a
    # continuous beam; and a study of 200 values of its rib's depth
    path = os.path.join(folder, "anchored-wall.csv")
    with open(path, "w") as f:
        f.write("H,layers,water,rows,base,distribution\n")
        for i in range(10000):
            H = 6 + i % 9
            count = 3 + i % 6
            rows = ";".join(f"{H * (j + 0.5) / count:.2f}" for j in range(count))
            layers = f"{1 + i % 3} 18 0 {28 + i % 6};{2 + i % 2} 19 {i % 15} 22 20;4 20 0 32 21"
            base = ("hinged", "fixed", "free")[i % 3]
            shape = ("trapezoid", "diagram", "triangle")[i % 3]
            f.write(f'{H},"{layers}",{1 + i % 4},"{rows}",{base},{shape}\n')
    seconds = [cpu_seconds([slopecalc, "anchored-wall", "--csv", path]) for _ in range(rounds)]
    q1, median, q3 = quartiles(seconds)
    table.append(("slopecalc --csv anchored-wall, 10,000 walls of 3–8 rows, 3 strata, water",
                  f"{median:.3f} s", "", f"[{q1:.3f}–{q3:.3f}] s", "≤ 1.000 s",
                  "yes" if median <= 1.0 else "NO"))
    seconds = [cpu_seconds([slopecalc, "anchored-wall", "water=2", "--vary", "rib_h=300:800:200"])
               for _ in range(rounds)]
    q1, median, q3 = quartiles(seconds)
    table.append(("slopecalc anchored-wall --vary, a study of 200 values",
                  f"{median:.3f} s", "", f"[{q1:.3f}–{q3:.3f}] s", "≤ 0.500 s",
                  "yes" if median <= 0.5 else "NO"))

    # the anti-slide pile: 10,000 piles by both methods and every foot on one to three strata
    # (the slowest pile of them bounds one pile's time), and the least embedment's search
    path = os.path.join(folder, "anti-slide-pile.csv")
    with open(path, "w") as f:
        f.write("method,strata,foot,h1,h2,shape,EI\n")
        for i in range(10000):
            method = ("m", "K")[i % 2]
            scale = 40000 if method == "m" else 200000
            strata = ";".join(f"{2 + (i + j) % 4} {scale * (1 + j + i % 5)} 2000"
                              for j in range(1 + i % 3))
            foot = ("free", "hinged", "fixed")[i % 3]
            shape = ("rectangle", "triangle", "trapezoid")[(i // 3) % 3]
            f.write(f'{method},"{strata}",{foot},{4 + i % 9},{4 + i % 13},{shape},'
                    f'{("", "2e6", "5e7")[(i // 9) % 3]}\n')
    seconds = [cpu_seconds([slopecalc, "anti-slide-pile", "--csv", path]) for _ in range(rounds)]
    q1, median, q3 = quartiles(seconds)
    table.append(("slopecalc --csv anti-slide-pile, 10,000 piles, m and K, every foot",
                  f"{median:.3f} s", "", f"[{q1:.3f}–{q3:.3f}] s", "≤ 20.000 s",
                  "yes" if median <= 20 else "NO"))
    table.append(("one anti-slide pile, the mean of that batch", f"{median / 10:.3f} ms", "", "",
                  "≤ 5.000 ms", "yes" if median / 10 <= 5 else "NO"))
    seconds = [cpu_seconds([slopecalc, "anti-slide-pile", "--least", "h2=3:20"])
               for _ in range(rounds)]
    q1, median, q3 = quartiles(seconds)
    table.append(("slopecalc anti-slide-pile --least h2=3:20 (17,001 piles judged)",
                  f"{median:.3f} s", "", f"[{q1:.3f}–{q3:.3f}] s", "≤ 0.500 s",
                  "yes" if median <= 0.5 else "NO"))


startup()
routines()
with tempfile.TemporaryDirectory() as folder:
    batches(folder)

header = ("measure", "ours", "floor", "ratio [quartiles]", "target", "met")
widths = [max(len(str(r[i])) for r in table + [header]) for i in range(6)]
for r in [header] + table:
    print("  ".join(str(c).ljust(w) for c, w in zip(r, widths)).rstrip())
