#!/usr/bin/env bash
# scripts/sweep.sh through GNU parallel: a small sweep joins into what single invocations print,
# and a sweep killed mid-way keeps its finished shards while the join names the missing one.
#   tests/cli/sweep_test.sh QUARMEL_BATCH
set -euo pipefail
batch=$1
sweep=$(cd "$(dirname "$0")/../.." && pwd)/scripts/sweep.sh
work=$(mktemp -d /tmp/quarmel-sweep-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

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
cmp "$work/expected" "$work/a/joined.csv" || fail "joined shards differ from single invocations"
[[ $(grep -c '^algorithm,' "$work/a/joined.csv") -eq 1 ]] || fail "one header expected"
[[ $(wc -l <"$work/summary") -eq 3 ]] || fail "summary: $(cat "$work/summary")"
grep -q '^greedy,,square.txt,5,' "$work/summary" || fail "summary: $(cat "$work/summary")"

# Killed while a shard that never ends (annealing at Alfa 1 on x^100) still runs.
setsid "$sweep" --batch "$batch" --algorithms "greedy annealing" --seeds 1:1 --jobs 2 \
  --dir "$work/b" "$work/power.txt" -- --set Alfa=1 >/dev/null 2>&1 &
leader=$!
for _ in $(seq 100); do
  [[ -f $work/b/shards/greedy-1-1.csv && -f $work/b/shards/annealing-1-1.csv.part ]] && break
  sleep 0.1
done
sleep 0.2
kill -TERM -- "-$leader"
wait "$leader" || true
[[ -f $work/b/shards/greedy-1-1.csv ]] || fail "the finished shard is gone"
[[ ! -f $work/b/shards/annealing-1-1.csv ]] || fail "the killed shard looks complete"
[[ $(wc -l <"$work/b/shards/greedy-1-1.csv") -eq 2 ]] || fail "the finished shard is damaged"
status=0
"$sweep" --batch "$batch" --algorithms "greedy annealing" --seeds 1:1 --dir "$work/b" \
  --join-only "$work/power.txt" 2>"$work/err" || status=$?
[[ $status -eq 1 ]] || fail "join of a killed sweep: status $status"
grep -q 'missing: annealing-1-1$' "$work/err" || fail "missing shard not named: $(cat "$work/err")"
[[ ! -f $work/b/joined.csv ]] || fail "a partial join was written"
echo "sweep test passed"
