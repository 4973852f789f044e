#!/usr/bin/python3
"""The pairs table's U and p against scipy.stats.mannwhitneyu (two-sided, method 'auto'): runs
tables written here with chosen final bests and read back with --summarize, and the batch
runner's own --format pairs against its runs table.
   tests/cli/pairs_test.py QUARMEL_BATCH EXAMPLES_DIR"""
import csv
import io
import math
import os
import subprocess
import sys
import tempfile

try:
    import numpy as np
    import pandas as pd
    from scipy.stats import mannwhitneyu
except ImportError:
    print("skipped: python3-scipy or python3-pandas is missing")
    sys.exit(77)

batch, examples = sys.argv[1], sys.argv[2]
work = tempfile.mkdtemp(prefix="quarmel-pairs-")
sphere = os.path.join(examples, "sphere.txt")


def run(*args):
    return subprocess.run([batch, *args], capture_output=True, text=True, check=True).stdout


def expect(condition, what):
    if not condition:
        print("FAIL:", what)
        sys.exit(1)


def check(pairs, samples, direction):
    """Each row's U and p against scipy on the samples of its series (labels as keys)."""
    worst = math.inf if direction == "min" else -math.inf
    for _, r in pairs.iterrows():
        a = [worst if math.isnan(v) else v for v in samples[r["series_a"]]]
        b = [worst if math.isnan(v) else v for v in samples[r["series_b"]]]
        want = mannwhitneyu(a, b, alternative="two-sided", method="auto")
        expect(r["n_a"] == len(a) and r["n_b"] == len(b), r)
        expect(r["u"] == want.statistic, f"U {r['u']} != {want.statistic}: {a} {b}")
        expect(math.isclose(r["p"], want.pvalue, rel_tol=1e-9, abs_tol=1e-15),
               f"p {r['p']!r} != {want.pvalue!r}: {a} {b}")
        expect(r["p_holm"] >= r["p"], r)


# A template row of a runs table; series differ by algorithm and one setting.
template = next(csv.DictReader(io.StringIO(run("--algorithm", "greedy", "--seed", "1", "--runs",
                                               "1", "--format", "runs", sphere))))
columns = list(template)
rng = np.random.RandomState(7)


def f32(values):
    return [float(np.float32(v)) for v in values]


series = [("greedy", {}), ("steepest", {}), ("genetic", {"PopSize": "20"}),
          ("genetic", {}), ("annealing", {"Lk": "3"})]
labels = ["greedy", "steepest", "genetic PopSize=20", "genetic", "annealing Lk=3"]
cases = {
    # Small without ties: the exact distribution, also for a small against a large sample.
    "exact": [f32(rng.normal(m, 1, n)) for m, n in ((0, 5), (0.5, 7), (0, 3), (3, 30), (0, 8))],
    # Ties between and within samples, small and large: the normal approximation.
    "ties": [[float(v) for v in rng.randint(0, 4, n)] for n in (6, 7, 12, 9, 15)],
    # Both larger than eight: normal without ties; a run without a number counts as the worst.
    "large": [f32(rng.normal(m, 1, n)) for m, n in ((0, 12), (1, 15), (0.2, 20), (3, 9),
                                                       (0, 10))],
}
cases["large"][0][3] = math.nan
for name, values in cases.items():
    for direction in ("min", "max"):
        path = os.path.join(work, f"{name}-{direction}.csv")
        with open(path, "w", newline="") as f:
            w = csv.DictWriter(f, columns, lineterminator="\n")
            w.writeheader()
            for (algorithm, settings), sample in zip(series, values):
                for seed, best in enumerate(sample):
                    w.writerow({**template, "direction": direction, "algorithm": algorithm,
                                **settings, "seed": seed, "best": repr(best)})
        pairs = pd.read_csv(io.StringIO(run("--summarize", path, "--format", "pairs")))
        expect(len(pairs) == 10, pairs)
        check(pairs, dict(zip(labels, values)), direction)

# The batch runner's own pairs: the grid's series against its runs table.
grid = ["--algorithm", "annealing", "--seed", "4", "--runs", "9", "--grid", "A=0.01,1", sphere]
table = pd.read_csv(io.StringIO(run(*grid, "--format", "runs")))
pairs = pd.read_csv(io.StringIO(run(*grid, "--format", "pairs")))
expect(list(pairs[["series_a", "series_b"]].iloc[0]) == ["annealing A=0.01", "annealing A=1"],
       pairs)
check(pairs, {"annealing A=0.01": table[table["A"] == 0.01]["best"].tolist(),
              "annealing A=1": table[table["A"] == 1]["best"].tolist()}, "min")
# One series: no pairs.
expect(run("--algorithm", "greedy", "--runs", "3", "--format", "pairs", sphere).count("\n") == 1,
       "pairs of one series")
print("pairs test passed")
