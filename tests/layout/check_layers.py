#!/usr/bin/env python3
"""Checks that every include in src/ goes down the layers or stays in its
folder, and that nothing includes itself through a circle: no headers
include each other in a circle, and no files of one folder need each other
in a circle either (a file's unit is its header with its .cpp: FileSystem.cpp
including SafeWrite.h makes the unit FileSystem need the unit SafeWrite).

    check_layers.py SRC_DIR

Each folder may include its own files and those of the folders it depends
on (and theirs).  A folder of src/gui/ that the table does not name is a
subsystem's windows: it sits between the shell and the application object.
A model folder the table does not name fails: add it to the table.
Prints every fault and exits 1 when there is one.
"""
import os
import re
import sys

# Folder -> the folders right below it.
LAYERS = {
    "core": [],
    "tags": ["core"],
    "collection": ["tags"],
    "views": ["collection"],
    "player": ["collection"],
    "covers": ["collection", "views"],
    "freedb": ["collection"],
    "export": ["views"],
    "builder": ["collection"],
    "browse": ["core"],
    "cli": ["views", "player", "covers", "freedb", "export", "builder"],
    # The windows see the whole model.
    "gui/common": ["views", "player", "covers", "freedb", "export", "builder", "browse"],
    "gui/shell": ["gui/common"],
    "gui/list": ["gui/shell"],
    "gui/player": ["gui/shell"],
    "gui/app": [],  # every window folder: filled in below
}
SUBSYSTEM_BELOW = ["gui/shell"]
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.MULTILINE)


def folder_of(path):
    """The layer folder of a path relative to src/ ("gui/list/X.h" -> "gui/list")."""
    parts = path.split("/")
    if parts[0] == "gui" and len(parts) > 2:
        return "gui/" + parts[1]
    return parts[0] if len(parts) > 1 else None


def reachable(table, folder):
    seen, todo = set(), [folder]
    while todo:
        for below in table.get(todo.pop(), []):
            if below not in seen:
                seen.add(below)
                todo.append(below)
    return seen


def read_sources(src):
    sources = {}
    for root, _, files in os.walk(src):
        for name in files:
            if name.endswith((".h", ".cpp")):
                path = os.path.join(root, name)
                with open(path, encoding="utf-8", errors="replace") as f:
                    sources[os.path.relpath(path, src)] = INCLUDE.findall(f.read())
    return sources


def layer_table(sources):
    table = {k: list(v) for k, v in LAYERS.items()}
    folders = {folder_of(p) for p in sources} - {None}
    faults = []
    for folder in sorted(folders):
        if folder in table:
            continue
        if folder.startswith("gui/"):
            table[folder] = list(SUBSYSTEM_BELOW)
        else:
            faults.append(f"src/{folder}: a folder the layer table does not know")
    table["gui/app"] = sorted(f for f in table if f.startswith("gui/") and f != "gui/app")
    return table, faults


def layer_faults(sources, table):
    faults = []
    for path, includes in sorted(sources.items()):
        here = folder_of(path)
        if here is None:
            continue
        allowed = reachable(table, here) | {here}
        for included in includes:
            there = folder_of(included)
            if there is None or there not in table:
                continue  # a header of the same folder or of a library
            if there not in allowed:
                faults.append(f"src/{path}: includes {included} ({here} may not use {there})")
    return faults


def circle_faults(sources):
    """Circles among the headers (a .cpp is never included, so never in one)."""
    graph = {p: [i for i in inc if i in sources] for p, inc in sources.items() if p.endswith(".h")}
    faults, state = [], {}

    def visit(node, trail):
        state[node] = "open"
        trail.append(node)
        for nxt in graph.get(node, []):
            if state.get(nxt) == "open":
                circle = trail[trail.index(nxt):] + [nxt]
                faults.append("include circle: " + " -> ".join(circle))
            elif nxt not in state:
                visit(nxt, trail)
        trail.pop()
        state[node] = "done"

    for node in sorted(graph):
        if node not in state:
            visit(node, [])
    return faults


def unit_of(path):
    """The unit of a source file: its path without the extension."""
    return os.path.splitext(path)[0]


def unit_circle_faults(sources):
    """Circles among units: a unit needs another when one of its files
    includes the other's header.  Units of different folders cannot close a
    circle while the layers hold, so this finds the circles inside a folder."""
    graph = {}
    for path, includes in sources.items():
        here = unit_of(path)
        needs = graph.setdefault(here, set())
        for included in includes:
            if included in sources and unit_of(included) != here:
                needs.add(unit_of(included))
    faults, state = [], {}

    def visit(node, trail):
        state[node] = "open"
        trail.append(node)
        for nxt in sorted(graph.get(node, ())):
            if state.get(nxt) == "open":
                circle = trail[trail.index(nxt):] + [nxt]
                faults.append("unit circle: " + " -> ".join(circle))
            elif nxt not in state:
                visit(nxt, trail)
        trail.pop()
        state[node] = "done"

    for node in sorted(graph):
        if node not in state:
            visit(node, [])
    return faults


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    sources = read_sources(sys.argv[1])
    table, faults = layer_table(sources)
    faults += layer_faults(sources, table)
    faults += circle_faults(sources)
    faults += unit_circle_faults(sources)
    for fault in faults:
        print(fault)
    if not faults:
        print(f"{len(sources)} files: every include goes down a layer, no circles")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
