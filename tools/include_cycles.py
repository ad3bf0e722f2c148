#!/usr/bin/env python3
"""Checks that the project's own includes point one way.

A module is a .h and its .cpp (and any .cpp that shares the name's stem, such as
system_colors_classic.cpp with system_colors.h). Prints each circle of modules that
include each other, directly or in a loop, and exits 1 when there is one. With
--layers it also checks that no file outside app/ includes app/ (only src/main.cpp
may), so the main window stays on top."""
import os
import re
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def module_of(path):
    stem = os.path.splitext(path)[0]
    return stem


def main():
    files = []
    for top, _, names in os.walk(ROOT):
        for name in names:
            if name.endswith((".h", ".cpp")):
                files.append(os.path.relpath(os.path.join(top, name), ROOT))
    modules = {module_of(f) for f in files if f.endswith(".h")}
    edges = {}
    upward = []
    for f in files:
        with open(os.path.join(ROOT, f), encoding="utf-8") as text:
            includes = INCLUDE.findall(text.read())
        own = module_of(f)
        if own not in modules:
            # a platform variant (x_classic.cpp) belongs to the module it implements
            owner = [m for m in modules if own.startswith(m + "_")]
            own = max(owner, key=len) if owner else own
        for inc in includes:
            target = module_of(inc)
            if target not in modules or target == own:
                continue
            edges.setdefault(own, set()).add(target)
            if inc.startswith("app/") and not f.startswith("app/") and f != "main.cpp":
                upward.append(f"{f} includes {inc}")

    # Tarjan's strongly connected components: every one of two or more is a circle.
    index, low, stack, on_stack, circles = {}, {}, [], set(), []
    counter = [0]

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on_stack.add(v)
        for w in sorted(edges.get(v, ())):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            component = []
            while True:
                w = stack.pop()
                on_stack.discard(w)
                component.append(w)
                if w == v:
                    break
            if len(component) > 1:
                circles.append(sorted(component))

    sys.setrecursionlimit(10000)
    for v in sorted(modules):
        if v not in index:
            visit(v)

    failed = False
    for circle in circles:
        print("include circle: " + " -> ".join(circle))
        failed = True
    if "--layers" in sys.argv:
        for line in upward:
            print("upward include: " + line)
            failed = True
    if not failed:
        print(f"includes: {len(modules)} modules, no circle" + (", none upward" if "--layers" in sys.argv else ""))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
