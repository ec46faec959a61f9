#!/usr/bin/env python3
"""Checks that the manual page of each command names every sub-command (or option) its --help
lists: check_man_pages.py MAN_DIR COMMAND...

pondrel-tool: every command of the "commands:" list; pondrel-server: every sub-command of its
usage lines ("user add", "file delete"...); pondrel: every option.
"""
import gzip
import os
import re
import subprocess
import sys


def listed(name, help_text):
    words = []
    in_commands = False
    for line in help_text.splitlines():
        if line.startswith("commands:"):
            in_commands = True
            continue
        if in_commands and line.startswith("  ") and not line.startswith("   "):
            words.append(line.split()[0])
            continue
        stripped = line.replace("usage:", "").strip()
        if stripped.startswith(name + " "):
            tokens = stripped.split()[1:]
            sub = []
            for token in tokens:
                if not re.fullmatch(r"[a-z][a-z-]*", token):
                    break
                sub.append(token)
            if sub:
                words.append(" ".join(sub))
        for option in re.findall(r"^\s{2}(--[a-z-]+)", line):
            words.append(option)
    return words


def main():
    man_dir, commands = sys.argv[1], sys.argv[2:]
    faults = []
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    for command in commands:
        name = os.path.basename(command)
        help_text = subprocess.run([command, "--help"], capture_output=True, text=True,
                                   env=env, check=True).stdout
        words = listed(name, help_text)
        if not words:
            faults.append(f"{name}: --help lists nothing")
        with gzip.open(os.path.join(man_dir, name + ".1.gz"), "rt", encoding="utf-8") as f:
            page = f.read().replace("\\-", "-").replace("\\e", "\\")
        for word in words:
            if not re.search(r"(^|[\s\"B])" + re.escape(word) + r"(\s|\\f|$)", page, re.M):
                faults.append(f"{name}: '{word}' of --help is not in its manual page")
        print(f"{name}: {len(words)} entries of --help checked")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
