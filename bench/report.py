#!/usr/bin/env python3
"""Runs the benchmarks of a build and prints one table of ratios against their floors.

usage: report.py BUILD_DIR

Medians over interleaved repetitions; the machines are shared, so only ratios measured in the
same run mean anything. Nothing here fails on speed: the table says which targets are met.
"""
import json
import os
import shutil
import subprocess
import sys

build = sys.argv[1] if len(sys.argv) > 1 else "build"
bench = os.path.join(build, "bench")


def google_benchmark(program):
    out = subprocess.run(
        [os.path.join(bench, program), "--benchmark_format=json", "--benchmark_repetitions=7",
         "--benchmark_enable_random_interleaving=true", "--benchmark_min_time=0.05",
         "--benchmark_report_aggregates_only=true"],
        check=True, capture_output=True, text=True).stdout
    return {b["run_name"]: b for b in json.loads(out)["benchmarks"]
            if b.get("aggregate_name") == "median"}


def startup():
    command = [os.path.join(bench, "bench_startup"), os.path.join(build, "slope-support"),
               os.path.join(bench, "bench_minimal"), "15"]
    env = dict(os.environ)
    if not env.get("DISPLAY") and not env.get("WAYLAND_DISPLAY"):
        if shutil.which("xvfb-run"):
            command = ["xvfb-run", "-a"] + command
        else:
            env["QT_QPA_PLATFORM"] = "offscreen"
    return json.loads(subprocess.run(command, check=True, capture_output=True, text=True,
                                     env=env).stdout)


rows = []  # (measure, ours, floor, ratio, target, met)


def add(measure, ours, floor, ratio, target, met):
    rows.append((measure, ours, floor, f"{ratio:.2f}×", target, "yes" if met else "NO"))


s = startup()
ratio = s["program_seconds"] / s["floor_seconds"]
add("start-up to first frame", f"{s['program_seconds'] * 1000:.1f} ms",
    f"{s['floor_seconds'] * 1000:.1f} ms", ratio, "≤ 1.10×", ratio <= 1.10)
ratio = s["program_peak_kib"] / s["floor_peak_kib"]
add("peak memory", f"{s['program_peak_kib'] / 1024:.1f} MiB", f"{s['floor_peak_kib'] / 1024:.1f} MiB",
    ratio, "≤ 1.15×", ratio <= 1.15)

core = google_benchmark("bench_core")
for name in sorted({n.rsplit("_", 1)[0] for n in core}):
    checked, plain = core[name + "_checked"]["real_time"], core[name + "_plain"]["real_time"]
    ratio = checked / plain
    if name.startswith(("textToDouble", "doubleToText")):
        floor = "from_chars" if name.startswith("text") else "to_chars"
        add(f"{name} vs {floor}", f"{checked:.1f} ns", f"{plain:.1f} ns", ratio, "≤ 2.00×",
            ratio <= 2.0)
    else:
        add(f"{name} checked vs plain", f"{checked:.1f} ns", f"{plain:.1f} ns", ratio, "≤ 1.50×",
            ratio <= 1.5)

for name, b in sorted(google_benchmark("bench_slopecalc").items()):
    rate = b["items_per_second"]
    calculator = name.split("/")[-1]
    target = 1_000_000 if calculator == "earth_pressure" else None
    rows.append((f"slopecalc --csv {calculator}", f"{rate / 1000:.0f} k rows/s", "", "",
                 "≥ 1000 k rows/s" if target else "", ("yes" if rate >= target else "NO")
                 if target else ""))

widths = [max(len(str(r[i])) for r in rows + [("measure", "ours", "floor", "ratio", "target",
                                               "met")]) for i in range(6)]
header = ("measure", "ours", "floor", "ratio", "target", "met")
for r in [header] + rows:
    print("  ".join(str(c).ljust(w) for c, w in zip(r, widths)).rstrip())
