#!/usr/bin/env python3
"""Checks that the folders keep their layers: a file includes only headers of its own layer or of
a layer below it, no header of the Qt-free layers includes Qt, and no files, nor units (a header
with its source), include each other in a circle. Exits 1 and names each offence; run by `make test` (the ctest test "layers").

usage: scripts/check-layers.py [ROOT]
"""
import os
import re
import sys

# Each layer and the layers it may include.
BELOW = {
    "core": set(),
    "calculators": {"core"},
    "report": {"calculators", "core"},
    "cli": {"report", "calculators", "core"},
    "gui": {"report", "calculators", "core"},
    "windows": {"gui", "report", "calculators", "core"},
    "app": {"windows", "gui", "report", "calculators", "core"},
}
WITHOUT_QT = {"core", "calculators", "report", "cli"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)

root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(
    os.path.abspath(__file__)))
offences = []
graph = {}  # file → the project files it includes
for layer in BELOW:
    for base, _, files in os.walk(os.path.join(root, layer)):
        for name in sorted(files):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.relpath(os.path.join(base, name), root)
            graph[path] = []
            for kind, target in INCLUDE.findall(open(os.path.join(root, path), encoding="utf-8")
                                                .read()):
                if kind == "<":
                    if layer in WITHOUT_QT and re.match(r"Q[A-Z]|Qt", target):
                        offences.append(f"{path}: includes Qt's <{target}> in a layer without Qt")
                    continue
                if "/" not in target:  # the file's own header, beside it
                    target = os.path.join(os.path.dirname(path), target)
                graph[path].append(target)
                other = target.split("/")[0]
                if other != layer and other not in BELOW[layer]:
                    offences.append(f"{path}: includes {target}, of the layer above it or beside it")


def circle_from(start):
    """A path of includes from `start` back to itself, or None."""
    stack, seen = [(start, [start])], set()
    while stack:
        node, path = stack.pop()
        for nxt in graph.get(node, []):
            if nxt == start:
                return path + [start]
            if nxt not in seen:
                seen.add(nxt)
                stack.append((nxt, path + [nxt]))
    return None


reported = set()
for path in sorted(graph):
    circle = circle_from(path)
    if circle and frozenset(circle) not in reported:
        reported.add(frozenset(circle))
        offences.append("files include each other in a circle: " + " → ".join(circle))

# The same of units, a header with its source: no two units of a layer lean on each other, so
# that each can be read, tested and changed on its own.
units = {}
for path, targets in graph.items():
    unit = os.path.splitext(path)[0]
    units.setdefault(unit, set()).update(
        os.path.splitext(t)[0] for t in targets if os.path.splitext(t)[0] != unit)
graph = {unit: sorted(targets) for unit, targets in units.items()}
for unit in sorted(graph):
    circle = circle_from(unit)
    if circle and frozenset(circle) not in reported:
        reported.add(frozenset(circle))
        offences.append("units lean on each other in a circle: " + " → ".join(circle))

for offence in offences:
    print("check-layers: " + offence)
sys.exit(1 if offences else 0)
