#!/usr/bin/python3
"""Every table of quarmel-batch as a data frame reads it: one header, numeric columns numeric,
no missing setting; the jsonl lines and the --meta file as JSON; the ioh folder against
IOHprofiler's documented layout (.info: a line of keys, a "%" line, the data file's path with
"instance:evaluations|best" per run; .dat: a quoted header line per run, then rows of numbers).
   tests/cli/tables_test.py QUARMEL_BATCH EXAMPLES_DIR"""
import io
import json
import os
import re
import shlex
import subprocess
import sys
import tempfile

try:
    import pandas as pd
except ImportError:
    print("skipped: python3-pandas is missing")
    sys.exit(77)

batch, examples = sys.argv[1], sys.argv[2]
work = tempfile.mkdtemp(prefix="quarmel-tables-")
problems = [os.path.join(examples, "sphere.txt"), os.path.join(examples, "himmelblau.txt")]
IDENTITY = ["problem", "function", "direction", "dimension", "algorithm"]


def run(*args):
    out = subprocess.run([batch, *args], capture_output=True, text=True, check=True)
    path = os.path.join(work, "out.csv")
    with open(path, "w") as f:
        f.write(out.stdout)
    return path


def expect(condition, what):
    if not condition:
        print("FAIL:", what)
        sys.exit(1)


def numeric(frame, columns):
    for c in columns:
        expect(pd.api.types.is_numeric_dtype(frame[c]), f"{c} is {frame[c].dtype}")


common = ["--algorithm", "annealing", "--seed", "3", "--runs", "3", "--grid", "Alfa=0.9,0.96",
          "--target", "0.5"]
runs = pd.read_csv(run(*common, "--format", "runs", *problems))
# Identity, then a column per setting (whatever settings there are), then the results.
SETTINGS = list(runs.columns[len(IDENTITY):list(runs.columns).index("seed")])
SERIES = IDENTITY + SETTINGS
expect({"A", "Alfa", "PopSize", "CrossoverType", "CmaPopSize"} <= set(SETTINGS), SETTINGS)
expect(list(runs.columns) == SERIES + ["seed", "best", "evaluations", "solutions", "seconds",
                                       "ended", "evaluations_to_target", "gap", "undefined",
                                       "target"],
       list(runs.columns))
numeric(runs, ["dimension", "seed", "best", "evaluations", "solutions", "seconds",
               "evaluations_to_target", "gap", "undefined"] + SETTINGS)
expect(len(runs) == 12, f"{len(runs)} runs")
expect(runs[SETTINGS].notna().all().all(), "a setting is missing")
expect(sorted(runs["Alfa"].unique()) == [0.9, 0.96], runs["Alfa"].unique())
expect(list(runs["problem"].unique()) == problems, runs["problem"].unique())
# Every series keeps its rows when grouped by its settings.
expect(runs.groupby(["problem", "Alfa"]).size().tolist() == [3, 3, 3, 3], "groups")

csv = pd.read_csv(run(*common, *problems))
expect(csv.drop(columns="seconds").equals(runs.drop(columns="seconds")), "csv is not runs")

summary = pd.read_csv(run(*common, "--format", "summary", *problems))
expect(list(summary.columns) == SERIES + ["runs", "best", "median", "worst", "mean", "sd",
                                          "seconds", "target", "reached", "ert", "rank",
                                          "ert_lo", "ert_hi"],
       list(summary.columns))
numeric(summary, ["runs", "best", "median", "worst", "mean", "sd", "seconds", "reached", "ert",
                  "rank", "ert_lo", "ert_hi"])
expect(len(summary) == 4 and (summary["runs"] == 3).all(), summary)
# The summary's statistics are those of the runs table.
by = runs.groupby(["problem", "Alfa"], sort=False)["best"]
expect((abs(summary["mean"].values - by.mean().values) < 1e-6).all(), "means")
expect((summary["best"].values == by.min().values).all(), "bests")

long = pd.read_csv(run("--algorithm", "greedy", "--seed", "1", "--runs", "2", "--format", "long",
                       *problems))
expect(list(long.columns) == SERIES + ["seed", "step", "evaluations", "value", "best_so_far"],
       list(long.columns))
numeric(long, ["seed", "step", "evaluations", "value", "best_so_far"])

solutions = pd.read_csv(run("--algorithm", "genetic", "--seed", "2", "--set", "PopSize=20",
                            "--set", "Iterations=5", "--population", problems[0]))
expect(list(solutions.columns) == ["x", "y", "F", "population"], list(solutions.columns))
numeric(solutions, solutions.columns)
expect((solutions["population"] == 0).sum() == 5, "the history's rows")

meta = os.path.join(work, "meta.json")
lines = pd.read_json(run("--algorithm", "greedy", "--seed", "1", "--runs", "2", "--format",
                         "jsonl", "--meta", meta, *problems), lines=True, dtype=False)
expect(len(lines) == 4 and lines["settings"][0]["Alfa"] == 0.96, lines)
expect(lines["command"][0][-2:] == problems, lines["command"][0])
with open(meta) as f:
    m = json.load(f)
expect(m["format"] == "jsonl" and [p["file"] for p in m["problems"]] == problems, m)
version = subprocess.run([batch, "--version"], capture_output=True, text=True).stdout.split()[1]
expect(m["version"] == version, m)

# ioh: read back by the documented layout; its final rows agree with the runs table.
ioh = os.path.join(work, "ioh")
run("--algorithm", "greedy", "--seed", "1", "--runs", "3", "--format", "ioh", ioh, *problems)
table = pd.read_csv(run("--algorithm", "greedy", "--seed", "1", "--runs", "3", "--format", "runs",
                        *problems))


def info_ids(folder):
    """{funcName: funcId} of an ioh folder's .info files, each named by its funcId."""
    ids = {}
    for name in os.listdir(folder):
        if name.endswith(".info"):
            with open(os.path.join(folder, name)) as f:
                fields = dict(re.findall(r"(\w+) = '?([^',]*)'?", f.readline()))
            expect(name.startswith(f"IOHprofiler_f{fields['funcId']}_"), name)
            ids[fields["funcName"]] = fields["funcId"]
    return ids


infos = sorted(os.listdir(os.path.join(ioh, "greedy")))
ids = info_ids(os.path.join(ioh, "greedy"))
expect(len(set(ids.values())) == 2, ids)
# A function keeps its id whatever its place on the command line; a long name still fits a path;
# the command in the comment reads back as given.
with open(problems[0]) as f:
    text = f.read().replace("# Sphere\n", "# " + "Long, 'quoted' " * 80 + "\n", 1)
named = os.path.join(work, "long name.txt")
with open(named, "w") as f:
    f.write(text)
again = os.path.join(work, "ioh-again")
args = ["--algorithm", "greedy", "--seed", "1", "--set", "A=0.1", "--format", "ioh", again,
        problems[1], named, problems[0]]
run(*args)
ids_again = info_ids(os.path.join(again, "greedy"))
expect({k: v for k, v in ids_again.items() if k in ids} == ids and len(ids_again) == 3, ids_again)
expect(not [n for n in os.listdir(work) if ".partial-" in n], os.listdir(work))
for name in os.listdir(os.path.join(again, "greedy")):
    if name.endswith(".info"):
        with open(os.path.join(again, "greedy", name)) as f:
            comment = f.read().splitlines()[1]
        command = shlex.split(comment.split("; command: ", 1)[1])
        expect(command == ["quarmel-batch"] + args, command)
for problem in problems:
    name = [i for i in infos if i.endswith(".info") and
            os.path.basename(problem)[:-4] in i.lower()][0]
    with open(os.path.join(ioh, "greedy", name)) as f:
        keys, comment, data = f.read().splitlines()
    fields = dict(re.findall(r"(\w+) = '?([^',]*)'?", keys))
    expect(fields["DIM"] == "2" and fields["algId"] == "greedy"
           and fields["maximization"] == "F", fields)
    expect(comment.startswith("% quarmel-batch ") and problem in comment, comment)
    path, *records = data.split(", ")
    rows = table[table["problem"] == problem]
    expect([r.split(":")[0] for r in records] == ["1"] * 3, records)
    expect([int(r.split(":")[1].split("|")[0]) for r in records] == rows["evaluations"].tolist(),
           records)
    expect([float(r.split("|")[1]) for r in records] == rows["best"].tolist(), records)
    with open(os.path.join(ioh, "greedy", path)) as f:
        blocks = f.read().split('"function evaluation" "current f(x)" "best-so-far f(x)"\n')[1:]
    expect(len(blocks) == 3, f"{len(blocks)} runs in {path}")
    for block, (_, row) in zip(blocks, rows.iterrows()):
        numbers = [[float(v) for v in line.split(" ")] for line in block.splitlines()]
        expect(all(len(n) == 3 for n in numbers), block)
        # A row per improvement; the last, at the final evaluation, may repeat the best.
        best = [n[2] for n in numbers[:-1]]
        expect(best == sorted(best, reverse=True) and len(set(best)) == len(best), block)
        expect(numbers[-1][2] <= best[-1], block)
        expect(numbers[-1][0] == row["evaluations"] and numbers[-1][2] == row["best"], block)

# A path and a name of bytes that are not UTF-8 still give lines every reader parses; the
# function column holds the name without the blank the data file keeps after it.
raw = os.path.join(os.fsencode(work), b"caf\xe9.txt")
with open(problems[0], "rb") as f:
    text = f.read().replace(b"# Sphere\n", b"# Sph\xe8re \n", 1)
with open(raw, "wb") as f:
    f.write(text)
rawmeta = os.path.join(work, "raw-meta.json")
for fmt in ["runs", "summary", "long", "jsonl"]:
    out = subprocess.run([batch, "--algorithm", "greedy", "--seed", "1", "--runs", "2", "--format",
                          fmt, "--target", "1", "--meta", rawmeta, raw, problems[0]],
                         capture_output=True, check=True).stdout
    lines = out.decode("utf-8").splitlines()  # strict: fails on a byte that is not UTF-8
    if fmt == "jsonl":
        names = [json.loads(line)["function"] for line in lines]
    else:
        names = pd.read_csv(io.StringIO(out.decode("utf-8")))["function"].unique().tolist()
    expect(names[-1] == "Sphere" and names[0] == "Sph\ufffdre", (fmt, names))
    with open(rawmeta, "rb") as f:
        meta = json.loads(f.read().decode("utf-8"))
    expect([p["function"] for p in meta["problems"]] == ["Sph\ufffdre", "Sphere"], meta)
print("tables test passed")
