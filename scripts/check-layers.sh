#!/usr/bin/env bash
# Checks the layers of docs/ARCHITECTURE.md on the include lines of the sources, and fails with
# one line per breach:
# - core and platform files (those of the tunestead_core and tunestead_platform targets, and
#   every header they include) never include Qt, toolkit/ or app/;
# - platform files include only platform/;
# - the describe tool (describe/) includes only its own files and core files: no Qt;
# - the include graph of the core and platform files between folders has no loop.
# The forms are left out of the loop test: TMainFrm is declared in app/ and its members are
# defined in catalogue/ and playback/, so forms and app/ include each other by design.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
exec python3 - "$root" <<'PYTHON'
import os
import re
import sys

root = sys.argv[1]
os.chdir(root)
include = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
target_block = re.compile(
    r'target_sources\(\s*(tunestead_core|tunestead_platform)\s+PRIVATE([^)]*)\)')


def includes(path):
    with open(path, encoding="utf-8", errors="replace") as source:
        for line in source:
            match = include.match(line)
            if match:
                yield match.group(1), match.group(2)


def folder(path):
    return path.split("/")[0]


# The core and platform sources as the build lists them, then every header they reach.
core = set()
for directory, _, names in os.walk("."):
    if "CMakeLists.txt" not in names or directory.startswith("./build"):
        continue
    with open(os.path.join(directory, "CMakeLists.txt"), encoding="utf-8") as cmake:
        for block in target_block.finditer(cmake.read()):
            for name in block.group(2).split():
                core.add(os.path.normpath(os.path.join(directory, name)))
pending = list(core)
while pending:
    for kind, name in includes(pending.pop()):
        if kind == '"' and os.path.isfile(name) and name not in core:
            core.add(name)
            pending.append(name)

breaches = []


def forbidden(path, kind, name):
    if kind == "<" and name.startswith("Q"):
        return "Qt"
    if name.startswith("toolkit/") or name.startswith("app/"):
        return folder(name) + "/"
    return None


for path in sorted(core):
    for kind, name in includes(path):
        what = forbidden(path, kind, name)
        if what:
            breaches.append(f"{path} includes {name}: core and platform files never include {what}")
        elif folder(path) == "platform" and kind == '"' and folder(name) != "platform":
            breaches.append(f"{path} includes {name}: platform files include only platform/")

for directory, _, names in os.walk("describe"):
    for file_name in sorted(names):
        path = os.path.join(directory, file_name)
        if not path.endswith((".cpp", ".h")):
            continue
        for kind, name in includes(path):
            if forbidden(path, kind, name):
                breaches.append(f"{path} includes {name}: the describe tool uses core only")
            elif kind == '"' and folder(name) != "describe" and name not in core:
                breaches.append(f"{path} includes {name}: the describe tool uses core only")

# Folder graph of the core and platform files, and a loop in it.
edges = {}
for path in core:
    for kind, name in includes(path):
        if kind == '"' and name in core and folder(name) != folder(path):
            edges.setdefault(folder(path), set()).add(folder(name))
state = {}


def visit(node, trail):
    state[node] = "open"
    for successor in sorted(edges.get(node, ())):
        if state.get(successor) == "open":
            loop = trail[trail.index(successor):] + [successor]
            breaches.append("folder loop in the core: " + " -> ".join(loop))
        elif successor not in state:
            visit(successor, trail + [successor])
    state[node] = "done"


for node in sorted(edges):
    if node not in state:
        visit(node, [node])

for breach in breaches:
    print("check-layers:", breach)
if not breaches:
    print(f"check-layers: the {len(core)} core and platform files keep to their layers")
sys.exit(1 if breaches else 0)
PYTHON
