#!/usr/bin/env python3
"""Makes the manual page of a Pondrel command from its own --help: make_man.py COMMAND OUT.1

The --help text is the one source: its "usage:" lines become the synopsis, its "commands:" list
(pondrel-tool, whose commands register themselves) and its option list (pondrel) the sections
of the page, each entry a tagged paragraph; the sub-commands of a usage made of several lines
(pondrel-server) become the commands. Only the one-line summary and the pointers below are
written here. The page carries no date, so that the same program makes the same page.
"""
import os
import re
import subprocess
import sys

ABOUT = {
    "pondrel": (
        "bedside patient-record program",
        "Pondrel keeps the records of the patients a doctor follows: one file per patient, a "
        "problem-oriented journal, treatments and actions, tasks, summaries, letters from "
        "templates, growth charts, and synchronisation of patient files, mail and chat with a "
        "pondrel-server. The program works on a device folder; pondrel-tool init-device "
        "prepares one. Its help (main menu, Help) is the user guide.",
        ["pondrel-tool(1)", "pondrel-server(1)"],
    ),
    "pondrel-tool": (
        "command-line tool for the files of Pondrel",
        "pondrel-tool works on the program's files without the user interface, for users and "
        "administrators who must inspect or repair files, and for checks from outside. File "
        "arguments are host paths. Exit status: 0 done, 1 refused or failed (one line on "
        "standard error says why), 2 wrong usage.",
        ["pondrel(1)", "pondrel-server(1)"],
    ),
    "pondrel-server": (
        "synchronisation server of Pondrel",
        "pondrel-server keeps the shared patient files of a ward with their locks, knows who is "
        "online, and passes mail and chat between users. It keeps everything in one SQLite "
        "database in its data folder. With --tls-cert and --tls-key every connection is "
        "encrypted (TLS 1.2 or later). Exit status: 0 done, 1 failed (one line on standard "
        "error), 2 wrong usage. The Debian package runs it as the systemd service "
        "pondrel-server, with its data in /var/lib/pondrel-server.",
        ["pondrel(1)", "pondrel-tool(1)"],
    ),
}


def roff(text):
    text = text.replace("\\", "\\e").replace("-", "\\-")
    return "\\&" + text if text[:1] in (".", "'") else text


def parse(name, help_text):
    """The synopsis lines and the (term, description) entries of a --help text."""
    synopsis, entries = [], []
    section = None
    for line in help_text.splitlines():
        indent = len(line) - len(line.lstrip(" "))
        if not line.strip():
            section = None
        elif line.startswith("usage:"):
            section = "usage"
            synopsis.append(line[len("usage:"):].strip())
        elif section == "usage" and indent >= 4:
            stripped = line.strip()
            if stripped.startswith(name + " ") or stripped == name:
                synopsis.append(stripped)
            else:
                synopsis[-1] += " " + stripped
        elif indent == 0:
            section = "heading"  # "commands:"
        elif indent == 2:
            section = "list"
            parts = re.split(r"\s{2,}", line.strip(), maxsplit=1)
            entries.append([parts[0], parts[1] if len(parts) > 1 else ""])
        elif entries:
            entries[-1][1] = (entries[-1][1] + " " + line.strip()).strip()
    if not entries and len(synopsis) > 1:
        # Sub-commands told by the usage alone: one entry each, its remark in brackets.
        for usage in synopsis:
            match = re.match(r"(.*?)\s*\(([^()]*)\)\s*$", usage)
            term, remark = (match.group(1), match.group(2)) if match else (usage, "")
            entries.append([term, remark])
    return synopsis, entries


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    command, out = sys.argv[1:]
    name = os.path.basename(command)
    summary, description, see_also = ABOUT[name]
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    help_text = subprocess.run([command, "--help"], check=True, capture_output=True, text=True,
                               env=env).stdout
    version = subprocess.run([command, "--version"], check=True, capture_output=True, text=True,
                             env=env).stdout.split()[-1]
    synopsis, entries = parse(name, help_text)
    heading = "COMMANDS" if any(not term.startswith("-") for term, _ in entries) else "OPTIONS"
    page = [f'.TH {name.upper()} 1 "" "Pondrel {version}" "Pondrel"',
            ".SH NAME", f"{roff(name)} \\- {roff(summary)}",
            ".SH SYNOPSIS", ".nf"]
    page += [roff(line) for line in synopsis]
    page += [".fi", ".SH DESCRIPTION", roff(description), f".SH {heading}"]
    for term, text in entries:
        page += [".TP", f"\\fB{roff(term)}\\fR"]
        if text:
            page.append(roff(text))
    page += [".SH SEE ALSO", ", ".join(roff(s) for s in see_also)]
    with open(out, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(page) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
