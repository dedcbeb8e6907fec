#!/usr/bin/env python3
"""Lists which product folder includes which, from the #include "..." lines.

usage: scripts/folder_arrows.py [--check | --write]

  (no option)  prints one line per product folder: "folder/ -> a/, b/"
  --check      exits 1 (printing the difference) unless the README's block of
               folder arrows is that list
  --write      rewrites the README's block with that list

The product is every top-level folder with C++ sources but tests/ and bench/.
The README's block is the fenced block right after its line
"<!-- folder arrows: scripts/folder_arrows.py --write -->". Circles between
folders are named on stderr.
"""

import difflib
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from check_include_cycles import (  # noqa: E402
    circle_through, included_files, project_sources, strongly_connected)

NOT_PRODUCT = {"tests", "bench"}
MARKER = "<!-- folder arrows: scripts/folder_arrows.py --write -->"


def folder_graph(root):
    sources = project_sources(root)
    files = set(sources)
    graph = {}
    for path in sources:
        if len(path.parts) < 2 or path.parts[0] in NOT_PRODUCT:
            continue
        folder = path.parts[0]
        arrows = graph.setdefault(folder, set())
        for target in included_files(root, path, files):
            if len(target.parts) > 1 and target.parts[0] != folder:
                arrows.add(target.parts[0])
    return graph


def arrow_lines(graph):
    lines = []
    for folder in sorted(graph):
        targets = ", ".join(f"{t}/" for t in sorted(graph[folder])) or "(none)"
        lines.append(f"{folder}/ -> {targets}")
    return lines


def readme_block(text):
    """The README's lines, and the first and past-the-last index of the block."""
    lines = text.split("\n")
    try:
        at = lines.index(MARKER)
    except ValueError:
        sys.exit(f"README.md has no line {MARKER!r}")
    if at + 1 >= len(lines) or not lines[at + 1].startswith("```"):
        sys.exit("README.md: a fenced block must follow the folder arrows line")
    end = at + 2
    while end < len(lines) and not lines[end].startswith("```"):
        end += 1
    if end == len(lines):
        sys.exit("README.md: the folder arrows block is not closed")
    return lines, at + 2, end


def main():
    option = sys.argv[1] if len(sys.argv) > 1 else None
    if option not in (None, "--check", "--write") or len(sys.argv) > 2:
        sys.exit(__doc__.split("\n\n")[1])
    root = Path(__file__).resolve().parent.parent
    graph = folder_graph(root)
    for component in strongly_connected(graph):
        if len(component) > 1:
            circle = circle_through(graph, component)
            print("folder circle: " + " -> ".join(f"{f}/" for f in circle), file=sys.stderr)
    wanted = arrow_lines(graph)
    if option is None:
        print("\n".join(wanted))
        return 0
    readme = root / "README.md"
    lines, first, end = readme_block(readme.read_text(encoding="utf-8"))
    if option == "--write":
        lines[first:end] = wanted
        readme.write_text("\n".join(lines), encoding="utf-8")
        return 0
    if lines[first:end] == wanted:
        return 0
    print("README.md's folder arrows differ from the includes "
          "(scripts/folder_arrows.py --write mends them):")
    sys.stdout.writelines(
        line + "\n" for line in difflib.unified_diff(
            lines[first:end], wanted, "README.md", "includes", lineterm=""))
    return 1


if __name__ == "__main__":
    sys.exit(main())
