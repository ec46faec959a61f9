#!/usr/bin/env python3
# Pondrel - bedside patient records. GPL-3.0-or-later.
"""Builds the six growth percentile curve files of Pondrel from public LMS tables.

    python3 tools/growth-curves/make_growth_curves.py DATA_DIR OUT_DIR
    python3 tools/growth-curves/make_growth_curves.py --check DATA_DIR OUT_DIR

DATA_DIR holds the WHO 2006 and CDC 2000 LMS tables (see its README); OUT_DIR receives
7500.txt .. 7505.txt. With --check nothing is written: the files are built in memory and
compared byte for byte with those in OUT_DIR (exit 1 when they differ).

What the curves are:
  * weight and height: the WHO Child Growth Standards (2006) from birth to 24 months (length
    lying down, as WHO measures it below two years), the CDC 2000 growth charts from 30 months
    to 216 months (18 years), and between 24 and 30 months a cubic bridge that takes the WHO
    value and slope at 24 months to the CDC value and slope at 30 months (the two references
    differ by up to 9 % at 24 months; a curve drawn through both cannot jump);
  * head circumference: WHO 2006 from birth to 60 months; no reference after five years.
  * P3, P10, P25, P50, P75, P90, P97 from the LMS formula with L, M and S interpolated
    linearly between the ages of the table; WHO ages in days are months of 30.4375 days.
  * Ages start at 0 (term): there is no openly licensed reference before term.

The program draws a curve with its own spline through the points of the file (second
derivatives from the neighbouring slopes only). The points are chosen so that this spline,
evaluated as the program evaluates it, stays within TARGET of the reference at every day of
the WHO part, every 0.05 month of the bridge and every 0.1 month of the CDC part, for all
seven percentiles, with at most 99 points per curve.
"""

import bisect
import csv
import math
import os
import sys

TARGET = 0.001  # relative; the program promises 0.5 %
MAX_POINTS = 99
PERCENTILES = (3, 10, 25, 50, 75, 90, 97)
# z of each percentile, the inverse of the standard normal distribution.
Z = {3: -1.880794, 10: -1.281552, 25: -0.674490, 50: 0.0, 75: 0.674490, 90: 1.281552,
     97: 1.880794}
DAYS_PER_MONTH = 30.4375
WHO_END = 24.0
BRIDGE_END = 30.0
ADULT = 216.0
HEAD_END = 60.0

SETS = (
    ("7500", "Poids-Garcon", "weight", "boys"),
    ("7501", "Poids-Fille", "weight", "girls"),
    ("7502", "Taille-Garcon", "height", "boys"),
    ("7503", "Taille-Fille", "height", "girls"),
    ("7504", "Crane-Garcon", "head", "boys"),
    ("7505", "Crane-Fille", "head", "girls"),
)


class LmsTable:
    """An LMS table: rows of (age in months, L, M, S), ascending."""

    def __init__(self, rows):
        self.ages = [r[0] for r in rows]
        self.rows = rows

    def value(self, age, z):
        ages = self.ages
        if age <= ages[0]:
            i = 0
        elif age >= ages[-1]:
            i = len(ages) - 2
        else:
            i = bisect.bisect_right(ages, age) - 1
        a0, l0, m0, s0 = self.rows[i]
        a1, l1, m1, s1 = self.rows[i + 1]
        f = (age - a0) / (a1 - a0)
        f = min(max(f, 0.0), 1.0)
        lam = l0 + (l1 - l0) * f
        mu = m0 + (m1 - m0) * f
        sigma = s0 + (s1 - s0) * f
        if abs(lam) < 1e-12:
            return mu * math.exp(sigma * z)
        return mu * (1.0 + lam * sigma * z) ** (1.0 / lam)


def read_table(path, age_column, keep=None):
    rows = []
    with open(path, newline="") as f:
        for r in csv.DictReader(f):
            if keep and not keep(r):
                continue
            age = float(r[age_column])
            if age_column == "age_days":
                age /= DAYS_PER_MONTH
            rows.append((age, float(r["L"]), float(r["M"]), float(r["S"])))
    return LmsTable(rows)


class Reference:
    """The reference value of one set at an age, for a percentile."""

    def __init__(self, data_dir, measure, sex):
        self.measure = measure
        d = data_dir
        if measure == "weight":
            self.who = read_table(os.path.join(d, f"who2006_weight-for-age_{sex}.csv"),
                                  "age_days")
            self.cdc = read_table(os.path.join(d, f"cdc2000_weight-for-age_{sex}.csv"), "Agemos")
        elif measure == "height":
            # Length lying down: WHO's table switches to standing height after 730 days.
            self.who = read_table(os.path.join(d, f"who2006_length-height-for-age_{sex}.csv"),
                                  "age_days", keep=lambda r: r["loh"] == "L")
            self.cdc = read_table(os.path.join(d, f"cdc2000_stature-for-age_{sex}.csv"),
                                  "Agemos")
        else:
            self.who = read_table(
                os.path.join(d, f"who2006_head-circumference-for-age_{sex}.csv"), "age_days")
            self.cdc = None

    def end(self):
        return HEAD_END if self.cdc is None else ADULT

    def value(self, p, age):
        z = Z[p]
        if self.cdc is None or age <= WHO_END:
            return self.who.value(age, z)
        if age >= BRIDGE_END:
            return self.cdc.value(age, z)
        return self.bridge(z, age)

    def bridge(self, z, age):
        # Cubic Hermite from the WHO value and slope at 24 months to the CDC ones at 30.
        width = BRIDGE_END - WHO_END
        step = 0.02
        p0 = self.who.value(WHO_END, z)
        d0 = (p0 - self.who.value(WHO_END - step, z)) / step
        p1 = self.cdc.value(BRIDGE_END, z)
        d1 = (self.cdc.value(BRIDGE_END + step, z) - p1) / step
        t = (age - WHO_END) / width
        h00 = 2 * t ** 3 - 3 * t ** 2 + 1
        h10 = t ** 3 - 2 * t ** 2 + t
        h01 = -2 * t ** 3 + 3 * t ** 2
        h11 = t ** 3 - t ** 2
        return h00 * p0 + h10 * width * d0 + h01 * p1 + h11 * width * d1

    def test_ages(self):
        ages = [d / DAYS_PER_MONTH for d in range(0, int(WHO_END * DAYS_PER_MONTH) + 1)]
        if self.cdc is None:
            ages = [d / DAYS_PER_MONTH for d in range(0, int(HEAD_END * DAYS_PER_MONTH) + 1)]
            ages.append(HEAD_END)
            return ages
        ages.append(WHO_END)
        ages += [WHO_END + 0.05 * i for i in range(1, 120)]
        ages += [BRIDGE_END + 0.1 * i for i in range(0, int((ADULT - BRIDGE_END) * 10) + 1)]
        return ages

    def candidate_grid(self):
        """Ages a point may be put at: WHO days, then steps of 0.25 month."""
        end = self.end()
        who_end = end if self.cdc is None else WHO_END
        ages = [round(d / DAYS_PER_MONTH, 4) for d in range(0, int(who_end * DAYS_PER_MONTH) + 1)]
        ages.append(who_end)
        if self.cdc is not None:
            ages += [WHO_END + 0.25 * i for i in range(1, int((end - WHO_END) * 4) + 1)]
        return sorted(set(ages))


# ---- The program's spline ---------------------------------------------------------------------

def coefficients(x, y):
    """Second derivatives as the program computes them: each from its two slopes only."""
    n = len(x)
    m = [0.0] * n
    for j in range(1, n - 1):
        s0 = (y[j] - y[j - 1]) / (x[j] - x[j - 1])
        s1 = (y[j + 1] - y[j]) / (x[j + 1] - x[j])
        m[j] = 3.0 * (s1 - s0) / (x[j + 1] - x[j - 1])
    return m


def evaluate(x, y, m, age):
    n = len(x)
    b = max(0, min(bisect.bisect_right(x, age) - 1, n - 2))
    h = x[b + 1] - x[b]
    u = age - x[b]
    v = x[b + 1] - age
    s = y[b] * v / h + y[b + 1] * u / h
    if b + 1 <= n - 2:
        s += m[b + 1] * (u ** 3 / (6 * h) - h * u / 6)
    if b >= 1:
        s += m[b] * (v ** 3 / (6 * h) - h * v / 6)
    return s


# ---- Choosing the points ----------------------------------------------------------------------

def build_curves(ref, grid):
    curves = {}
    for p in PERCENTILES:
        ys = [round(ref.value(p, a), 3) for a in grid]
        curves[p] = (grid, ys, coefficients(grid, ys))
    return curves


def worst_error(ref, grid, tests, expected, lo=None, hi=None):
    """The largest relative distance of the spline to the reference over the test ages
    (those between lo and hi when given) and the age where it is."""
    curves = build_curves(ref, grid)
    first = 0 if lo is None else bisect.bisect_left(tests, lo)
    last = len(tests) if hi is None else bisect.bisect_right(tests, hi)
    worst = (0.0, None)
    for p in PERCENTILES:
        x, y, m = curves[p]
        want = expected[p]
        for k in range(first, last):
            age = tests[k]
            err = abs(evaluate(x, y, m, age) - want[k]) / want[k]
            if err > worst[0]:
                worst = (err, age)
    return worst


def choose_grid(ref):
    tests = sorted(set(ref.test_ages()))
    expected = {p: [ref.value(p, a) for a in tests] for p in PERCENTILES}
    candidates = ref.candidate_grid()
    fixed = {0.0, ref.end()} if ref.cdc is None else {0.0, WHO_END, BRIDGE_END, ref.end()}
    grid = sorted(fixed)
    # Refine: a point where the spline is worst, until it is close enough everywhere.
    while True:
        err, age = worst_error(ref, grid, tests, expected)
        if err <= TARGET:
            break
        i = bisect.bisect_left(candidates, age)
        options = [c for c in candidates[max(0, i - 1):i + 1] if c not in grid]
        if not options:
            raise SystemExit(f"no candidate age near {age:.4f} for {ref.measure}")
        grid = sorted(grid + [min(options, key=lambda c: abs(c - age))])
        if len(grid) > 3 * MAX_POINTS:
            raise SystemExit("the refinement does not converge")
    # Thin: drop every point the curve can do without. A point moves the second derivatives
    # of its neighbours only, so two points on each side bound what its removal changes.
    removed = True
    while removed:
        removed = False
        k = 1
        while k < len(grid) - 1:
            if grid[k] not in fixed:
                trial = grid[:k] + grid[k + 1:]
                lo = trial[max(0, k - 3)]
                hi = trial[min(len(trial) - 1, k + 2)]
                if worst_error(ref, trial, tests, expected, lo, hi)[0] <= TARGET:
                    grid = trial
                    removed = True
                    continue
            k += 1
    if worst_error(ref, grid, tests, expected)[0] > TARGET:
        raise SystemExit("thinning left the curve too far from the reference")
    if len(grid) > MAX_POINTS:
        raise SystemExit(f"{len(grid)} points needed for {ref.measure}, at most {MAX_POINTS}")
    return grid


def number(value, decimals):
    text = f"{value:.{decimals}f}"
    return "0" if text.strip("-0.") == "" else text


def resource_text(name, ref, grid):
    lines = [name]
    for p in PERCENTILES:
        ys = [round(ref.value(p, a), 3) for a in grid]
        lines.append(f"{len(grid):03d} {p:02d}")
        lines.append("\t" + " ".join(number(a, 4) for a in grid))
        lines.append("\t" + " ".join(number(v, 3) for v in ys))
    return "\r\n".join(lines) + "\r\n"


def encode(text):
    return b"\xff\xfe" + text.encode("utf-16-le")


def main(argv):
    check = "--check" in argv
    args = [a for a in argv if a != "--check"]
    if len(args) != 2:
        sys.stderr.write(__doc__)
        return 2
    data_dir, out_dir = args
    differs = False
    for number_text, name, measure, sex in SETS:
        ref = Reference(data_dir, measure, sex)
        grid = choose_grid(ref)
        data = encode(resource_text(name, ref, grid))
        path = os.path.join(out_dir, number_text + ".txt")
        if check:
            try:
                with open(path, "rb") as f:
                    same = f.read() == data
            except OSError:
                same = False
            if not same:
                print(f"{path} differs from what the generator builds")
                differs = True
        else:
            with open(path, "wb") as f:
                f.write(data)
            print(f"{path}: {name}, {len(grid)} points per curve")
    return 1 if differs else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
