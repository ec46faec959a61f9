#!/usr/bin/env python3
"""Checks that every library includes only libraries before it in the layer order, which is the
order of the add_subdirectory(src/...) lines of the top-level CMakeLists.txt.

A core library (src/<name>) includes only core libraries up to itself. The Qt part of a
subsystem (src/<name>/ui) also includes the Qt parts of the subsystems up to its own (the Qt
helpers of src/platform/ui among them). The program (src/ui) includes anything but the tool and
the server; the tool and the server include core libraries only.

Inside the program the rooms of src/ui have their own order, lowest first: seams (the Qt
adapters of the platform seams), pages, frame (the frame, the command bar and the main form's
widget), app (the application and its start). A room includes only the rooms up to itself:
the pages never include the form that carries them.
"""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
order = re.findall(r"^\s*add_subdirectory\(src/(\w+)\)", (root / "CMakeLists.txt").read_text(),
                   re.MULTILINE)
rank = {name: i for i, name in enumerate(order)}
include = re.compile(r'^#include "(\w+)/(ui/)?', re.MULTILINE)
rooms = {name: i for i, name in enumerate(["seams", "pages", "frame", "app"])}
room_include = re.compile(r'^#include "ui/(\w+)/', re.MULTILINE)
faults = []
for path in sorted((root / "src").rglob("*")):
    if path.suffix not in (".h", ".cpp"):
        continue
    parts = path.relative_to(root / "src").parts
    library = parts[0]
    qt_part = len(parts) > 2 and parts[1] == "ui"
    if library not in rank:
        faults.append(f"{path}: src/{library} is not in the layer order")
        continue
    for match in include.finditer(path.read_text(errors="replace")):
        used, used_ui = match.group(1), match.group(2) is not None
        if used not in rank:
            continue
        if used == library:
            allowed = qt_part or library == "ui" or not used_ui
        elif library == "ui":
            allowed = used not in ("tool", "server")
        elif library in ("tool", "server"):
            allowed = not used_ui and used not in ("ui", "tool", "server")
        else:
            allowed = rank[used] <= rank[library] and used != "ui" and (qt_part or not used_ui)
        if not allowed:
            faults.append(f"{path}: may not include {used}/{'ui/' if used_ui else ''}")
    if library == "ui":
        room = parts[1] if len(parts) > 2 else None
        if room not in rooms:
            if path.name != "CMakeLists.txt":
                faults.append(f"{path}: src/ui files belong to one of the rooms {list(rooms)}")
            continue
        for match in room_include.finditer(path.read_text(errors="replace")):
            used_room = match.group(1)
            if used_room not in rooms or rooms[used_room] > rooms[room]:
                faults.append(f"{path}: the room {room} may not include ui/{used_room}/")
for fault in faults:
    print(fault)
print(f"layers: {' < '.join(order)}; {len(faults)} fault(s)")
sys.exit(1 if faults else 0)
