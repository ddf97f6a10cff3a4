#!/usr/bin/env python3
"""Fails when a source file includes a folder above its own in the orders that
docs/ARCHITECTURE.md gives: the core's folders, the help compiler's folders, the help project's formats below
both, and the base below all, which includes nothing of the program's own."""
import os
import re
import sys

root = os.path.abspath(sys.argv[1])
with open(os.path.join(root, "docs", "ARCHITECTURE.md"), encoding="utf-8") as doc:
    text = doc.read()


def folder_order(name):
    match = re.search(name + r" folder order, lowest first: ([a-z, ]+)\.", text)
    if not match:
        sys.exit(f"docs/ARCHITECTURE.md names no {name.lower()} folder order")
    return {folder.strip(): i for i, folder in enumerate(match.group(1).split(","))}


core = folder_order("Core")
compiler = folder_order("Compiler")
include = re.compile(r'#include "([A-Za-z-]+)/(?:([A-Za-z-]+)/)?')


def wrong(top, inner, target, target_inner):
    """Whether a file in src/top[/inner] may not include target[/target_inner]."""
    if target == "base":
        return False
    if top == "base":
        return True
    if target == "formats":
        return False
    if top == "formats":
        return True
    if top == "chm":
        # Files at the compiler's root (its error type) are below every folder of it.
        if target != "chm" or target_inner is None:
            return target != "chm"
        return inner is None or compiler.get(target_inner, len(compiler)) > compiler[inner]
    return target == "chm" or core.get(target, -1) > core[top]


problems = []
for top in os.listdir(os.path.join(root, "src")):
    base = os.path.join(root, "src", top)
    if not os.path.isdir(base):
        continue
    if top not in ("chm", "base", "formats") and top not in core:
        problems.append(f"src/{top}/ is not in the core folder order")
        continue
    for directory, _, files in os.walk(base):
        inner = os.path.relpath(directory, base).split(os.sep)[0]
        if top == "chm" and inner != "." and inner not in compiler:
            problems.append(f"src/chm/{inner}/ is not in the compiler folder order")
            continue
        for name in files:
            if not name.endswith((".cpp", ".h", ".in")):
                continue
            path = os.path.join(directory, name)
            with open(path, encoding="utf-8") as source:
                for number, line in enumerate(source, 1):
                    found = include.match(line)
                    if not found:
                        continue
                    target, target_inner = found.group(1), found.group(2)
                    if wrong(top, inner if inner != "." else None, target, target_inner):
                        problems.append(f"{os.path.relpath(path, root)}:{number}: includes {found.group(0)[10:]}")
for problem in problems:
    print(problem)
sys.exit(1 if problems else 0)
