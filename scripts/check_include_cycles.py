#!/usr/bin/env python3
"""Fails when the project's #include "..." lines form a circle between units.

usage: scripts/check_include_cycles.py

Reads every C++ source git knows (the product, its tests, benchmarks and fuzz
targets alike). A unit is a header with the sources of the same folder and stem
(foo.h, foo.cpp, and foo_win.cpp / foo_posix.cpp when foo.h exists); a unit
that includes itself is no circle. Prints each circle as "a -> b -> a" and
exits 1 when there is one, 0 otherwise.
"""

import re
import subprocess
import sys
from pathlib import Path

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
TWIN_SUFFIXES = ("_win", "_posix")


def project_sources(root):
    listed = subprocess.run(
        ["git", "ls-files", "--", "*.cpp", "*.h"],
        cwd=root, check=True, capture_output=True, text=True,
    ).stdout.split()
    return [Path(name) for name in listed]


def unit_of(path, headers):
    """The unit a file belongs to: its folder and stem, twins joining their header."""
    stem = path.with_suffix("")
    for suffix in TWIN_SUFFIXES:
        if stem.name.endswith(suffix):
            base = stem.with_name(stem.name[: -len(suffix)])
            if base.with_suffix(".h") in headers:
                return base.as_posix()
    return stem.as_posix()


def resolve(including, name, files):
    """An include is looked up beside the including file, then from the root."""
    for candidate in (including.parent / name, Path(name)):
        normal = Path(*candidate.parts)
        if normal in files:
            return normal
    return None


def included_files(root, path, files):
    """The project files that `path` includes with #include "...", in order."""
    text = (root / path).read_text(encoding="utf-8", errors="replace")
    for line in text.splitlines():
        match = INCLUDE.match(line)
        if match:
            target = resolve(path, match.group(1), files)
            if target is not None:
                yield target


def include_graph(root):
    sources = project_sources(root)
    files = set(sources)
    headers = {path for path in sources if path.suffix == ".h"}
    graph = {}
    for path in sources:
        unit = unit_of(path, headers)
        arrows = graph.setdefault(unit, set())
        for target in included_files(root, path, files):
            other = unit_of(target, headers)
            if other != unit:
                arrows.add(other)
    return graph


def strongly_connected(graph):
    """Tarjan's components, iteratively, in a stable order."""
    index = {}
    low = {}
    on_stack = set()
    stack = []
    components = []
    counter = 0
    for start in sorted(graph):
        if start in index:
            continue
        work = [(start, iter(sorted(graph.get(start, ()))))]
        index[start] = low[start] = counter
        counter += 1
        stack.append(start)
        on_stack.add(start)
        while work:
            node, children = work[-1]
            child = next(children, None)
            if child is not None:
                if child not in index:
                    index[child] = low[child] = counter
                    counter += 1
                    stack.append(child)
                    on_stack.add(child)
                    work.append((child, iter(sorted(graph.get(child, ())))))
                elif child in on_stack:
                    low[node] = min(low[node], index[child])
                continue
            work.pop()
            if work:
                parent = work[-1][0]
                low[parent] = min(low[parent], low[node])
            if low[node] == index[node]:
                component = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    component.append(member)
                    if member == node:
                        break
                components.append(sorted(component))
    return components


def circle_through(graph, component):
    """One shortest circle from the component's first unit back to it."""
    members = set(component)
    start = component[0]
    previous = {start: None}
    frontier = [start]
    while frontier:
        following = []
        for node in frontier:
            for child in sorted(graph.get(node, ())):
                if child == start:
                    path = [start]
                    while node is not None:
                        path.append(node)
                        node = previous[node]
                    return list(reversed(path))
                if child in members and child not in previous:
                    previous[child] = node
                    following.append(child)
        frontier = following
    return [start]


def main():
    root = Path(__file__).resolve().parent.parent
    graph = include_graph(root)
    circles = [c for c in strongly_connected(graph) if len(c) > 1]
    for component in circles:
        print("include circle: " + " -> ".join(circle_through(graph, component)))
        if len(component) > 2:
            print("  (units in it: " + ", ".join(component) + ")")
    return 1 if circles else 0


if __name__ == "__main__":
    sys.exit(main())
