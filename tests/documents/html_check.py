#!/usr/bin/env python3
"""Every summary of a ward of demo patients, and of a patient holding hostile texts, read by
Python's own HTML parser: only the tags the summaries write, tables and lists balanced, list items
inside lists, and the hostile texts shown as text, never as markup.

usage: html_check.py PONDREL_TOOL WORK_FOLDER
"""

import html.parser
import os
import shutil
import subprocess
import sys

TOOL, WORK = sys.argv[1], sys.argv[2]
TODAY = "2026-03-02"
KNOWN_TAGS = {"html", "body", "font", "table", "tr", "td", "th", "p", "b", "u", "i", "ul", "li",
              "br", "hr", "pre"}
BALANCED = {"table", "ul"}
HOSTILE = ['</table><script>alert(1)</script>', '&amp; "quoted" <b>bold</b>', '</UL></FONT>']


class SummaryChecker(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.open = []
        self.problems = []
        self.text = []

    def handle_starttag(self, tag, attrs):
        if tag not in KNOWN_TAGS:
            self.problems.append("unexpected tag <%s>" % tag)
        if tag in BALANCED:
            self.open.append(tag)
        if tag == "li" and "ul" not in self.open:
            self.problems.append("list item outside a list")

    def handle_endtag(self, tag):
        if tag not in KNOWN_TAGS:
            self.problems.append("unexpected end tag </%s>" % tag)
        if tag in BALANCED:
            if not self.open or self.open[-1] != tag:
                self.problems.append("</%s> closes %s" % (tag, self.open[-1:] or "nothing"))
            else:
                self.open.pop()

    def handle_data(self, data):
        self.text.append(data)


def run(*args):
    result = subprocess.run([TOOL, *args], capture_output=True)
    if result.returncode != 0:
        sys.exit("pondrel-tool %s failed: %s" % (" ".join(args), result.stderr.decode()))
    return result.stdout


def check(name, source):
    try:
        text = source.decode("ascii")
    except UnicodeDecodeError:
        return ["%s: not plain ASCII" % name], ""
    checker = SummaryChecker()
    checker.feed(text)
    checker.close()
    problems = ["%s: %s" % (name, p) for p in checker.problems]
    if checker.open:
        problems.append("%s: left open: %s" % (name, checker.open))
    return problems, "".join(checker.text)


def main():
    os.makedirs(WORK, exist_ok=True)
    device = os.path.join(WORK, "device")
    shutil.rmtree(device, ignore_errors=True)
    run("init-device", device)
    run("demo", device, "--patients", "12", "--date", TODAY)
    active = os.path.join(device, "My Documents", "PD_ActivePatients")
    files = sorted(os.path.join(active, f) for f in os.listdir(active) if f.endswith(".pdr"))

    # One patient gets hostile texts in a title, a section and the head doctor field.
    hostile = files[0]
    run("header", hostile, "0", "--title", HOSTILE[0])
    run("entry", hostile, "0", "0", "--set", HOSTILE[1], HOSTILE[2], "", "", "", "")
    decoded = os.path.join(WORK, "hostile.txt")
    with open(decoded, "wb") as out:
        out.write(run("decode", hostile))
    with open(decoded, "rb") as source:
        text = source.read().decode("utf-8")
    doctor = "Dr "  # the demo's head doctors all start so; the field is rewritten whole
    start = text.index("\u00a2" + doctor)
    end = text.index("\u00a2", start + 1)
    text = text[:start + 1] + HOSTILE[0] + text[end:]
    with open(decoded, "wb") as out:
        out.write(text.encode("utf-8"))
    run("encode", decoded, hostile)

    problems = []
    checked = 0
    for path in files:
        for kind in ("day", "problem", "evolution", "exams", "entry"):
            found, _ = check("%s %s" % (kind, os.path.basename(path)),
                             run("summary", kind, path, "--today", TODAY))
            problems += found
            checked += 1
    for kind in ("tasks", "all"):
        found, _ = check(kind, run("summary", kind, device, "--today", TODAY))
        problems += found
        checked += 1
    # The hostile patient's texts are shown as typed.
    found, shown = check("hostile day", run("summary", "day", hostile, "--today", TODAY,
                                            "--day", "2000-01-01"))
    problems += found
    for typed in (HOSTILE[0], '&amp; "quoted" <b>bold</b>'):
        if typed not in shown:
            problems.append("hostile day: %r is not shown as typed" % typed)
    if problems:
        print("\n".join(problems))
        return 1
    print("%d summaries read without a fault" % checked)
    return 0


if __name__ == "__main__":
    sys.exit(main())
