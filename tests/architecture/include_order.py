#!/usr/bin/env python3
"""Fails when a source file includes a folder above its own in the order that
docs/ARCHITECTURE.md gives, or when the help compiler includes anything but itself and the formats."""
import os
import re
import sys

root = os.path.abspath(sys.argv[1])
with open(os.path.join(root, "docs", "ARCHITECTURE.md"), encoding="utf-8") as doc:
    match = re.search(r"Folder order, lowest first: ([a-z, ]+)\.", doc.read())
if not match:
    sys.exit("docs/ARCHITECTURE.md names no folder order")
order = [name.strip() for name in match.group(1).split(",")]
rank = {name: i for i, name in enumerate(order)}
include = re.compile(r'#include "([A-Za-z-]+)/')

problems = []
for folder in os.listdir(os.path.join(root, "src")):
    base = os.path.join(root, "src", folder)
    if not os.path.isdir(base):
        continue
    if folder != "chm" and folder not in rank:
        problems.append(f"src/{folder}/ is not in the folder order")
        continue
    for directory, _, files in os.walk(base):
        for name in files:
            if not name.endswith((".cpp", ".h", ".in")):
                continue
            path = os.path.join(directory, name)
            with open(path, encoding="utf-8") as source:
                for number, line in enumerate(source, 1):
                    found = include.match(line)
                    if not found:
                        continue
                    target = found.group(1)
                    if folder == "chm":
                        wrong = target not in ("chm", "formats")
                    else:
                        wrong = target == "chm" or rank.get(target, -1) > rank[folder]
                    if wrong:
                        problems.append(f"{os.path.relpath(path, root)}:{number}: includes {target}/")
for problem in problems:
    print(problem)
sys.exit(1 if problems else 0)
