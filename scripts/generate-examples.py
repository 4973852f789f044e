#!/usr/bin/env python3
"""Writes the example problems of more than two variables (examples/NAME-N.txt) and their rows of
examples/catalogue.tsv, each function from the one definition below.

A data file has no sum, so every file writes its formula out term by term. A formula may hold at
most 199 characters (spaces do not count: the reader joins the formula's words) and a file at most
19 variables, so the variables are single letters and a few constants are short; a size whose
formula does not fit is left out, and the script says so.

Usage: generate-examples.py [--examples DIR] [--check]
  --examples DIR  the examples folder (default: the repository's examples/)
  --check         writes nothing: generates into a temporary folder and compares it with DIR;
                  exit status 1 and the differences when the folder is not what this script writes

The catalogue keeps its other rows (the two-variable problems) as they are, in their order; the
rows of files named NAME-N.txt belong to this script and follow them."""

import argparse
import filecmp
import math
import os
import re
import struct
import sys
import tempfile

MAX_VARIABLES = 19
MAX_FORMULA = 199
SIZES = (5, 10, MAX_VARIABLES)
# Single letters; e and f are left out, so that no variable reads as Euler's number or as the
# formula's key.
LETTERS = "abcdghijklmnopqrstu"
HEADER = "file\tname\tdimension\tdirection\toptimum\tlocation\ttolerance\tdescription\tsource"
OWN_FILE = re.compile(r"^[a-z-]+-[0-9]+\.txt$")
TWO_PI = "6.2832"  # 2 pi to 5 digits: the whole one would not fit 10 variables


def short(x):
    """The shortest text of x to 3 significant digits, with a short exponent ("2.15e3")."""
    text = f"{x:.3g}"
    if "e" in text:
        mantissa, exponent = text.split("e")
        text = f"{mantissa}e{int(exponent)}"
    return text


def joined(terms):
    return " + ".join(terms)


def sphere(v):
    return joined(f"{x}^2" for x in v)


def ellipsoid(v):
    n = len(v)
    terms = [v[0] + "^2"]
    terms += [f"{short(10 ** (6 * i / (n - 1)))}*{v[i]}^2" for i in range(1, n)]
    return joined(terms)


def rosenbrock(v):
    valley = joined(f"({b} - {a}^2)^2" for a, b in zip(v, v[1:]))
    return f"100*({valley}) + " + joined(f"(1 - {a})^2" for a in v[:-1])


def rastrigin(v):
    ripples = joined(f"cos({TWO_PI}*{x})" for x in v)
    return f"{10 * len(v)} + {sphere(v)} - 10*({ripples})"


def ackley(v):
    n = len(v)
    ripples = joined(f"cos({TWO_PI}*{x})" for x in v)
    return (f"20 + exp(1) - 20*exp(-0.2*sqrt(({sphere(v)})/{n})) - exp(({ripples})/{n})")


def griewank(v):
    scaled = [f"cos({v[0]})"] + [f"cos({x}/sqrt({i + 1}))" for i, x in enumerate(v) if i > 0]
    return f"1 + ({sphere(v)})/4000 - " + "*".join(scaled)


def styblinski_tang(v):
    return "(" + joined(f"{x}^4 - 16*{x}^2 + 5*{x}" for x in v) + ")/2"


def zakharov(v):
    # u^2 + u^4 with u = (x1 + 2 x2 + ... + n xn)/2, written as (u^2 + 0.5)^2 - 0.25 so that the
    # weighted sum is written once.
    weighted = joined([v[0]] + [f"{i + 1}*{x}" for i, x in enumerate(v) if i > 0])
    return f"{sphere(v)} + (({weighted})^2/4 + 0.5)^2 - 0.25"


# The minimum of x^4 - 16 x^2 + 5 x, by Newton's method on its derivative.
def _styblinski_tang_minimum():
    x = -2.9
    for _ in range(50):
        x -= (4 * x**3 - 32 * x + 5) / (12 * x**2 - 32)
    return x


ST_X = _styblinski_tang_minimum()
ST_F = (ST_X**4 - 16 * ST_X**2 + 5 * ST_X) / 2

# One row per function: its file stem, name, formula, domain, the start point's coordinates (used
# in turn), the optimum's value and coordinate (the same for every variable), the tolerance of an
# evaluation there, description and source.
FUNCTIONS = [
    dict(stem="sphere", name="Sphere", formula=sphere, domain=(-5.12, 5.12), start=(3, -4),
         optimum=lambda n: 0, at=0, tolerance=1e-6,
         description="Convex bowl, one minimum: the plainest test of how a search copes with "
         "more variables.",
         source="De Jong (1975), An analysis of the behavior of a class of genetic adaptive "
         "systems, function F1"),
    dict(stem="ellipsoid", name="Ellipsoid", formula=ellipsoid, domain=(-5, 5), start=(3, -4),
         optimum=lambda n: 0, at=0, tolerance=1e-6,
         description="Convex bowl whose curvature grows a million times from the first variable "
         "to the last: ill-conditioned.",
         source="Hansen, Finck, Ros, Auger (2009), Real-parameter black-box optimization "
         "benchmarking 2009: noiseless functions definitions, INRIA RR-6829, f2 without its "
         "shift and oscillation; weights 10^(6(i-1)/(n-1)) to 3 digits"),
    dict(stem="rosenbrock", name="Rosenbrock", formula=rosenbrock, domain=(-2.048, 2.048),
         start=(-1.5, 2), optimum=lambda n: 0, at=1, tolerance=1e-6,
         description="A chain of curved flat valleys: easy to enter, slow to follow to the end.",
         source="Rosenbrock (1960), The Computer Journal 3(3); the chained form of Yao, Liu, "
         "Lin (1999), IEEE TEC 3(2), f5; domain as De Jong (1975) F2"),
    dict(stem="rastrigin", name="Rastrigin", formula=rastrigin, domain=(-5.12, 5.12),
         start=(3.5, -2.5), optimum=lambda n: 0, at=0, tolerance=1e-4,
         description="Regular grid of local minima on a bowl, 11^n of them in the domain: "
         "traps greedy searches.",
         source="Rastrigin (1974); Muehlenbein, Schomisch, Born (1991), Parallel Computing 17; "
         "2 pi written as " + TWO_PI),
    dict(stem="ackley", name="Ackley", formula=ackley, domain=(-32, 32), start=(20, -25),
         optimum=lambda n: 0, at=0, tolerance=1e-4,
         description="Nearly flat outer region with many small dips and one deep hole in the "
         "middle.",
         source="Ackley (1987), A connectionist machine for genetic hillclimbing; n variables "
         "and domain as in Yao, Liu, Lin (1999), IEEE TEC 3(2), f10; 2 pi written as " + TWO_PI),
    dict(stem="griewank", name="Griewank", formula=griewank, domain=(-600, 600),
         start=(400, -300), optimum=lambda n: 0, at=0, tolerance=1e-6,
         description="Wide bowl covered by small ripples: the ripples matter only near the "
         "middle.",
         source="Griewank (1981), Journal of Optimization Theory and Applications 34"),
    dict(stem="styblinski-tang", name="Styblinski-Tang", formula=styblinski_tang, domain=(-5, 5),
         start=(4,), optimum=lambda n: n * ST_F, at=ST_X, tolerance=1e-4,
         description="2^n minima of different depth, one in each orthant.",
         source="Styblinski, Tang (1990), Neural Networks 3(4)"),
    dict(stem="zakharov", name="Zakharov", formula=zakharov, domain=(-5, 10), start=(5, -3),
         optimum=lambda n: 0, at=0, tolerance=1e-6,
         description="One minimum, but the fourth power of a weighted sum couples every "
         "variable with every other.",
         source="Jamil, Yang (2013), IJMMNO 4(2), Zakharov function; u^2 + u^4 written as "
         "(u^2 + 0.5)^2 - 0.25"),
]


def number(x):
    """A number as the catalogue writes it: up to 10 significant digits, no exponent."""
    text = f"{x:.10g}"
    return "0" if text == "-0" else text


def file_text(name, formula, variables, start, domain):
    lo, hi = domain
    rows = "".join(f"{x},{lo:g},{hi:g},{start[i % len(start)]:g}\n"
                   for i, x in enumerate(variables))
    return (f"# data file for Quarmel\n# {name}\n\n# formula\nf={formula}\n\n"
            f"# 1 for maximization, 0 for minimization\nmax=0 \n\n"
            f"# number of variables\nvars={len(variables)} \n\n"
            f"# variables: name, min, max, default\n{rows}\n# number of solutions\nsols=0\n\n")


def evaluate(formula, variables, point):
    """The formula's value at point, in double precision, read as the parser reads it."""
    scope = {x: p for x, p in zip(variables, point)}
    scope.update(cos=math.cos, sin=math.sin, exp=math.exp, sqrt=math.sqrt)
    return eval(formula.replace("^", "**"), {"__builtins__": {}}, scope)


def single(x):
    return struct.unpack("f", struct.pack("f", x))[0]


def generate():
    """The files ({name: text}), the catalogue rows in order, and notes on what was left out."""
    files, rows, notes = {}, [], []
    for n in SIZES:
        variables = list(LETTERS[:n])
        for f in FUNCTIONS:
            formula = f["formula"](variables)
            length = len(formula.replace(" ", ""))
            if length > MAX_FORMULA:
                notes.append(f"{f['stem']}-{n}: left out, its formula has {length} characters")
                continue
            name = f"{f['name']} {n}-D"
            value, location = number(f["optimum"](n)), [number(f["at"])] * n
            # The catalogued value at the catalogued place, and at its single-precision neighbour
            # (where a run's coordinates are), each within the tolerance; so is the exact
            # optimum stored in single precision, as a run's best value is.
            point = [float(x) for x in location]
            gaps = [evaluate(formula, variables, p) - float(value)
                    for p in (point, [single(x) for x in point])]
            gaps.append(single(f["optimum"](n)) - float(value))
            if not max(abs(g) for g in gaps) <= f["tolerance"]:
                sys.exit(f"{name}: {gaps} from the optimum at its location")
            file = f"{f['stem']}-{n}.txt"
            files[file] = file_text(name, formula, variables, f["start"], f["domain"])
            rows.append("\t".join([file, name, str(n), "min", value, ";".join(location),
                                   f"{f['tolerance']:g}", f["description"], f["source"]]))
    return files, rows, notes


def write(folder, base_catalogue, files, rows):
    with open(base_catalogue, encoding="utf-8") as f:
        lines = f.read().splitlines()
    if not lines or lines[0] != HEADER:
        sys.exit(f"{base_catalogue}: not the catalogue's header")
    kept = [line for line in lines[1:] if not OWN_FILE.match(line.split("\t")[0])]
    for file, text in files.items():
        with open(os.path.join(folder, file), "w", encoding="utf-8", newline="\n") as f:
            f.write(text)
    with open(os.path.join(folder, "catalogue.tsv"), "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join([HEADER] + kept + rows) + "\n")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--examples", default=os.path.join(here, "..", "examples"))
    parser.add_argument("--check", action="store_true")
    options = parser.parse_args()
    files, rows, notes = generate()
    catalogue = os.path.join(options.examples, "catalogue.tsv")
    if not options.check:
        write(options.examples, catalogue, files, rows)
        for note in notes:
            print(note, file=sys.stderr)
        return 0
    with tempfile.TemporaryDirectory() as scratch:
        write(scratch, catalogue, files, rows)
        # A file the script no longer writes, one it writes that is missing, one that differs.
        present = {f for f in os.listdir(options.examples) if OWN_FILE.match(f)}
        wrong = sorted(present ^ set(files))
        for f in sorted(present & set(files)) + ["catalogue.tsv"]:
            ours, theirs = os.path.join(scratch, f), os.path.join(options.examples, f)
            if not filecmp.cmp(ours, theirs, shallow=False):
                wrong.append(f)
    for f in wrong:
        print(f"{f}: not what scripts/generate-examples.py writes (run it)", file=sys.stderr)
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())
