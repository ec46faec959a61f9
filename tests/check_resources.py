#!/usr/bin/env python3
"""Checks the top of the factory installation folder (resources/), which is copied into every
new installation: every file there is named in resources/README.md (between back-quotes) and is
not empty. A stray or empty file (a name split at its blanks by a merge, say) fails.
"""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
resources = root / "resources"
readme = (resources / "README.md").read_text(encoding="utf-8")
named = set(re.findall(r"`([^`]+)`", readme))
faults = []
for path in sorted(resources.iterdir()):
    if path.is_dir():
        if path.name != "src":
            faults.append(f"{path.name}/: a folder the README does not describe")
        continue
    if path.name == "README.md":
        continue
    if path.stat().st_size == 0:
        faults.append(f"{path.name}: empty")
    if path.name not in named:
        faults.append(f"{path.name}: not named in resources/README.md")
for fault in faults:
    print("resources/" + fault)
sys.exit(1 if faults else 0)
