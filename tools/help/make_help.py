#!/usr/bin/env python3
"""Makes the program's help file from the user guide: make_help.py CMARK GUIDE.md OUT.htm

cmark turns the Markdown into HTML (raw HTML in the guide is dropped); every heading gets an
anchor named as the heading's link on the project's web pages (lower case, blanks made "-",
punctuation dropped), so that the guide's links "#page-20-problems" work in both. The first
heading also carries "Main_Contents", where the help command opens the file.
"""
import html
import re
import subprocess
import sys


def slug(text):
    text = html.unescape(re.sub(r"<[^>]+>", "", text)).strip().lower()
    text = re.sub(r"[^\w\- ]", "", text)
    return text.replace(" ", "-")


def main():
    if len(sys.argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    cmark, guide, out = sys.argv[1:]
    body = subprocess.run([cmark, "--smart", guide], check=True, capture_output=True,
                          text=True, encoding="utf-8").stdout
    first = True

    def anchor(match):
        nonlocal first
        level, text = match.group(1), match.group(2)
        names = [slug(text)]
        if first:
            names.insert(0, "Main_Contents")
            first = False
        anchors = "".join(f'<a name="{n}"></a>' for n in names)
        return f"<h{level}>{anchors}{text}</h{level}>"

    body = re.sub(r"<h([1-6])>(.*?)</h\1>", anchor, body, flags=re.S)
    title = "Pondrel Help"
    page = ("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
            f"<title>{title}</title>\n</head>\n<body>\n{body}</body>\n</html>\n")
    with open(out, "w", encoding="utf-8", newline="\n") as f:
        f.write(page)
    return 0


if __name__ == "__main__":
    sys.exit(main())
