#!/usr/bin/env python3
# Pondrel - bedside patient records. GPL-3.0-or-later.
"""Builds the factory ICD-10 code table of Pondrel (resources/ICD10.txt) from ICD-10-CM.

    python3 tools/icd10/make_icd10_table.py DATA_DIR OUT_FILE
    python3 tools/icd10/make_icd10_table.py --check DATA_DIR OUT_FILE

DATA_DIR holds icd10cm-2026-codes.tsv.xz and icd10cm-2026-categories.tsv.xz (see its README:
source, checksums, licence). With --check nothing is written: the table is built in memory and
compared byte for byte with OUT_FILE (exit 1 when they differ).

What the table holds, in tabular order:
  * every 3-character category with its title ("E11<TAB>Type 2 diabetes mellitus"), each
    followed by its codes;
  * every billable code of 4 to 6 characters;
  * the billable 7-character codes whose 7th character is "A" (initial encounter): the
    subsequent-encounter and sequela variants (D, S, G, ...) are left out, which keeps the
    table well under the program's 5,000,000-byte limit.
Codes are written dotted (E119 -> E11.9, S72001A -> S72.001A). One line per entry:
code, TAB, wording, CRLF. ASCII only (the source is), so the program reads it as 8-bit text.
"""

import hashlib
import lzma
import os
import sys

LIMIT = 5_000_000  # bytes the program reads of a code table
SOURCES = {
    "icd10cm-2026-codes.tsv.xz":
        "94f24633704d0fd3a497ac794d3a88f5d8acaf9a3dd0f91ceeaabe4119c33723",
    "icd10cm-2026-categories.tsv.xz":
        "7c12415a10bb2d2bf1fff1c5824a8da68d5c953f443f914b1972c368c39cfe9b",
}


def read_source(data_dir, name):
    with open(os.path.join(data_dir, name), "rb") as f:
        raw = lzma.decompress(f.read())
    digest = hashlib.sha256(raw).hexdigest()
    if digest != SOURCES[name]:
        raise SystemExit(f"{name}: sha256 {digest} is not the documented one")
    rows = []
    for number, line in enumerate(raw.decode("ascii").split("\n"), 1):
        if not line:
            continue
        code, sep, wording = line.partition("\t")
        if not sep or not code or not wording or not code.isalnum() or len(code) > 7:
            raise SystemExit(f"{name}:{number}: not CODE<TAB>wording")
        rows.append((code, wording))
    return rows


def dotted(code):
    return code if len(code) <= 3 else code[:3] + "." + code[3:]


def wanted(code):
    return len(code) <= 6 or code.endswith("A")


def build(data_dir):
    categories = read_source(data_dir, "icd10cm-2026-categories.tsv.xz")
    codes = read_source(data_dir, "icd10cm-2026-codes.tsv.xz")
    by_category = {}
    for code, wording in codes:
        by_category.setdefault(code[:3], []).append((code, wording))
    known = {code for code, _ in categories}
    orphans = sorted(set(by_category) - known)
    if orphans:
        raise SystemExit(f"codes without a category: {orphans[:5]}")
    lines = []
    for category, title in categories:
        lines.append(f"{category}\t{title}\r\n")
        for code, wording in by_category.get(category, []):
            if code != category and wanted(code):
                lines.append(f"{dotted(code)}\t{wording}\r\n")
    data = "".join(lines).encode("ascii")
    if len(data) > LIMIT:
        raise SystemExit(f"the table has {len(data)} bytes, more than {LIMIT}")
    return data


def main(argv):
    check = "--check" in argv
    args = [a for a in argv if a != "--check"]
    if len(args) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    data = build(args[0])
    if check:
        try:
            with open(args[1], "rb") as f:
                current = f.read()
        except OSError as e:
            print(f"{args[1]}: {e}", file=sys.stderr)
            return 1
        if current != data:
            print(f"{args[1]} differs from the generator's output; run "
                  "tools/icd10/make_icd10_table.py to build it again", file=sys.stderr)
            return 1
        return 0
    with open(args[1], "wb") as f:
        f.write(data)
    lines = data.count(b"\n")
    print(f"{args[1]}: {lines} lines, {len(data)} bytes")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
