#!/usr/bin/env bash
# scripts/sweep.sh through GNU parallel: a small sweep joins into what single invocations print
# (also of several problems, with their optima as targets and a grid of one algorithm's
# setting), a sweep killed mid-way keeps its finished shards while the join names the missing
# one, one sweep at a time works in a folder, and a shard of other options is never joined.
#   tests/cli/sweep_test.sh QUARMEL_BATCH
set -euo pipefail
batch=$1
sweep=$(cd "$(dirname "$0")/../.." && pwd)/scripts/sweep.sh
work=$(mktemp -d /tmp/quarmel-sweep-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# A table without its seconds column: the processor time differs between two makings of a run.
# The table without its measured seconds, nor the summary's rank (which a joined table gives
# among all its algorithms on a problem, one invocation among its own).
no_seconds() {
  awk -F, -v OFS=, 'NR == 1 { for (i = 1; i <= NF; i++) if ($i == "seconds" || $i == "rank") c[i] }
    { for (i in c) $i = ""; print }' "$1"
}

problem() {  # NAME FORMULA MIN MAX
  cat >"$work/$1" <<END
# data file for Quarmel
# $1

# formula
f=$2

# 1 for maximization, 0 for minimization
max=0

# number of variables
vars=1

# variables: name, min, max, default
x,$3,$4,$3

# number of solutions
sols=0
END
}
problem square.txt "x^2+3" -10 10
problem power.txt "x^100" 2 10

# A sweep of 2 algorithms x 5 seeds in shards of 2: the same rows as one invocation each.
"$sweep" --batch "$batch" --algorithms "greedy steepest" --seeds 3:5 --shard-runs 2 --jobs 2 \
  --dir "$work/a" "$work/square.txt" -- --target 3.5 >"$work/summary" 2>"$work/err" ||
  fail "sweep: $(cat "$work/err")"
[[ $(ls "$work/a/shards"/*.csv | wc -l) -eq 6 ]] || fail "6 shards expected"
{
  "$batch" --algorithm greedy --seed 3 --runs 5 --format runs --target 3.5 "$work/square.txt"
  "$batch" --algorithm steepest --seed 3 --runs 5 --format runs --target 3.5 --no-header \
    "$work/square.txt"
} >"$work/expected" 2>/dev/null
cmp <(no_seconds "$work/expected") <(no_seconds "$work/a/joined.csv") ||
  fail "joined shards differ from single invocations"
[[ $(grep -c '^problem,' "$work/a/joined.csv") -eq 1 ]] || fail "one header expected"
# Resumed after an interruption that left two shards missing and one half written: the same
# command runs only those and joins what one uninterrupted sweep joined.
cp -r "$work/a" "$work/d"
rm "$work/d/joined.csv" "$work/d/shards/greedy-3-4.csv" "$work/d/shards/steepest-7-7.csv"
head -c 20 "$work/a/shards/steepest-7-7.csv" >"$work/d/shards/steepest-7-7.csv.part"
touch -d '1 hour ago' "$work/d/shards"/*.csv
"$sweep" --batch "$batch" --algorithms "greedy steepest" --seeds 3:5 --shard-runs 2 --jobs 2 \
  --dir "$work/d" "$work/square.txt" -- --target 3.5 >/dev/null 2>"$work/err" ||
  fail "resumed sweep: $(cat "$work/err")"
[[ -z $(find "$work/d/shards" -name '*.csv' -newer "$work/d/manifest" ! -name 'greedy-3-4.csv' \
  ! -name 'steepest-7-7.csv') ]] || fail "a finished shard was run again"
cmp <(no_seconds "$work/a/joined.csv") <(no_seconds "$work/d/joined.csv") ||
  fail "a resumed sweep differs from an uninterrupted one"
# The summary of the joined shards is the summary format's of one invocation (but the seconds).
for algorithm in greedy steepest; do
  "$batch" --algorithm $algorithm --seed 3 --runs 5 --format summary --target 3.5 \
    $([[ $algorithm == greedy ]] || echo --no-header) "$work/square.txt" 2>/dev/null
done >"$work/expected-summary"
cmp <(no_seconds "$work/expected-summary") <(no_seconds "$work/summary") ||
  fail "summary: $(cat "$work/summary")"

# Another experiment into the same folder is refused, naming what differs; so is a damaged shard.
for change in "--set Lk=3" "--format long"; do
  status=0
  "$sweep" --batch "$batch" --algorithms "greedy steepest" --seeds 3:5 --shard-runs 2 \
    --dir "$work/a" "$work/square.txt" -- --target 3.5 $change 2>"$work/err" >/dev/null || status=$?
  [[ $status -eq 2 ]] || fail "a mixed sweep ($change): status $status"
  grep -q "another experiment" "$work/err" || fail "mixed sweep not named: $(cat "$work/err")"
done
cp "$work/square.txt" "$work/edited.txt"
sed -i 's/^max=0/max=1/' "$work/square.txt"
status=0
"$sweep" --batch "$batch" --algorithms "greedy steepest" --seeds 3:5 --shard-runs 2 \
  --dir "$work/a" "$work/square.txt" -- --target 3.5 2>"$work/err" >/dev/null || status=$?
[[ $status -eq 2 ]] && grep -q "'problem'" "$work/err" || fail "an edited problem: $(cat "$work/err")"
cp "$work/edited.txt" "$work/square.txt"
sed -i '$d' "$work/a/shards/greedy-3-4.csv"
status=0
"$sweep" --batch "$batch" --algorithms "greedy steepest" --seeds 3:5 --shard-runs 2 \
  --dir "$work/a" --join-only "$work/square.txt" -- --target 3.5 2>"$work/err" || status=$?
[[ $status -eq 2 ]] && grep -q "1 rows for 2 runs" "$work/err" || fail "a short shard: $(cat "$work/err")"
# Without the manifest, a shard made with other options (settings, algorithm, seeds, problem) is
# still refused: the join checks every row's series columns and seed.
cp "$work/square.txt" "$work/copy.txt"
while read -r forged; do
  rm -rf "$work/f" && cp -r "$work/d" "$work/f" && rm "$work/f/manifest" "$work/f/joined.csv"
  # shellcheck disable=SC2086 # the options of the forged shard
  "$batch" --format runs --target 3.5 $forged >"$work/f/shards/greedy-3-4.csv" 2>/dev/null
  status=0
  "$sweep" --batch "$batch" --algorithms "greedy steepest" --seeds 3:5 --shard-runs 2 \
    --dir "$work/f" --join-only "$work/square.txt" -- --target 3.5 2>"$work/err" >/dev/null ||
    status=$?
  [[ $status -eq 2 ]] && grep -q "greedy-3-4.csv: row 2 was made with other options" "$work/err" &&
    [[ ! -f $work/f/joined.csv ]] || fail "a forged shard ($forged): $(cat "$work/err")"
done <<END
--algorithm greedy --seed 3 --runs 2 --set A=0.1 $work/square.txt
--algorithm steepest --seed 3 --runs 2 $work/square.txt
--algorithm greedy --seed 5 --runs 2 $work/square.txt
--algorithm greedy --seed 3 --runs 2 $work/copy.txt
END

# Several problems with their known optima as targets, and a grid axis that only the genetic
# algorithm reads: the rows and the summary of one invocation per algorithm.
examples=$(cd "$(dirname "$0")/../../examples" && pwd)
common=(--set Iterations=5 --target optimum)
"$sweep" --batch "$batch" --algorithms "greedy genetic" --seeds 1:2 --dir "$work/e" \
  "$examples/sphere.txt" "$examples/booth.txt" -- --grid PopSize=10,20 "${common[@]}" \
  >"$work/summary" 2>"$work/err" || fail "a sweep of two problems: $(cat "$work/err")"
for format in runs summary; do
  {
    "$batch" --algorithm greedy --seed 1 --runs 2 --format $format "${common[@]}" \
      "$examples/sphere.txt" "$examples/booth.txt"
    "$batch" --algorithm genetic --seed 1 --runs 2 --format $format --no-header \
      --grid PopSize=10,20 "${common[@]}" "$examples/sphere.txt" "$examples/booth.txt"
  } >"$work/expected-$format" 2>/dev/null
done
cmp <(no_seconds "$work/expected-runs") <(no_seconds "$work/e/joined.csv") &&
  cmp <(no_seconds "$work/expected-summary") <(no_seconds "$work/summary") ||
  fail "a sweep of two problems differs from single invocations"
[[ ! -e $work/e/summary.csv.part ]] || fail "a summary part was left"

# Killed while a shard that never ends (annealing at Alfa 1 on x^100) still runs.
setsid "$sweep" --batch "$batch" --algorithms "greedy annealing" --seeds 1:1 --jobs 2 \
  --dir "$work/b" "$work/power.txt" -- --set Alfa=1 >/dev/null 2>&1 &
leader=$!
for _ in $(seq 100); do
  [[ -f $work/b/shards/greedy-1-1.csv && -f $work/b/shards/annealing-1-1.csv.part ]] && break
  sleep 0.1
done
sleep 0.2
# A second sweep into the folder is refused at once; after kill -9 of the sweep its jobs live on
# and a resume waits for them (here for ever, so it is timed out) instead of racing them.
status=0
"$sweep" --batch "$batch" --algorithms "greedy annealing" --seeds 1:1 --dir "$work/b" \
  "$work/power.txt" -- --set Alfa=1 >/dev/null 2>"$work/err" || status=$?
[[ $status -eq 2 ]] && grep -q "another sweep (process $leader" "$work/err" ||
  fail "a second sweep: status $status: $(cat "$work/err")"
kill -KILL "$leader"
{ wait "$leader"; } 2>/dev/null || true
status=0
timeout 2 "$sweep" --batch "$batch" --algorithms "greedy annealing" --seeds 1:1 \
  --dir "$work/b" "$work/power.txt" -- --set Alfa=1 >/dev/null 2>"$work/err" || status=$?
[[ $status -eq 124 ]] && grep -q "waiting for the jobs of an interrupted sweep" "$work/err" ||
  fail "a resume after kill -9: status $status: $(cat "$work/err")"
kill -TERM -- "-$leader"
while pgrep -g "$leader" >/dev/null; do sleep 0.1; done
[[ -f $work/b/shards/greedy-1-1.csv ]] || fail "the finished shard is gone"
[[ ! -f $work/b/shards/annealing-1-1.csv ]] || fail "the killed shard looks complete"
[[ $(wc -l <"$work/b/shards/greedy-1-1.csv") -eq 2 ]] || fail "the finished shard is damaged"
status=0
"$sweep" --batch "$batch" --algorithms "greedy annealing" --seeds 1:1 --dir "$work/b" \
  --join-only "$work/power.txt" -- --set Alfa=1 2>"$work/err" || status=$?
[[ $status -eq 1 ]] || fail "join of a killed sweep: status $status"
grep -q 'missing: annealing-1-1$' "$work/err" || fail "missing shard not named: $(cat "$work/err")"
[[ ! -f $work/b/joined.csv ]] || fail "a partial join was written"

# A shard the batch runner refuses is reported as a command to fix, not one to run again.
status=0
"$sweep" --batch "$batch" --algorithms greedy --seeds 1:1 --dir "$work/c" "$work/square.txt" \
  -- --set Lk=999 2>"$work/err" >/dev/null || status=$?
[[ $status -eq 1 ]] && grep -q "needs a whole number in 0..100" "$work/err" &&
  grep -q "refused its options" "$work/err" || fail "a refused shard: $(cat "$work/err")"
echo "sweep test passed"
