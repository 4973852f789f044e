#!/usr/bin/env bash
# The batch runner at scale, on the release build:
#  1. wall time of 64 seeded genetic runs (PopSize 200, Iterations 200) with --jobs 1 and
#     --jobs 2 (the best of 5 alternating tries each), their outputs compared byte for byte, and
#     the speed-up;
#  2. peak memory (/usr/bin/time -v) of long-format runs of 10^5 and 10^6 rows: it stays flat.
# The machine's load average is printed with each figure: other work on the cores distorts them.
#   bench/batch_bench.sh [QUARMEL_BATCH]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
batch=${1:-$root/build/release/cli/quarmel-batch}
[[ -x $batch ]] || { echo "build it first: cmake --build --preset release --target quarmel-batch" >&2; exit 2; }
problem=$root/fuzz/corpus/start.txt
work=$(mktemp -d /tmp/quarmel-batch-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

load() { cut -d' ' -f1 /proc/loadavg; }
wall() {  # OUTPUT ARGS...: prints the wall time in seconds
  local out=$1 start end
  shift
  start=$(date +%s.%N)
  "$batch" "$@" >"$out" 2>/dev/null
  end=$(date +%s.%N)
  echo "$end - $start" | bc
}

args=(--algorithm genetic --seed 1 --runs 64 --format runs --set PopSize=200 --set Iterations=200
      "$problem")
echo "load average before: $(load)"
t1=999999 t2=999999
for _ in 1 2 3 4 5; do
  t=$(wall "$work/jobs1" --jobs 1 "${args[@]}")
  t1=$(awk -v a="$t" -v b="$t1" 'BEGIN { print (a < b ? a : b) }')
  t=$(wall "$work/jobs2" --jobs 2 "${args[@]}")
  t2=$(awk -v a="$t" -v b="$t2" 'BEGIN { print (a < b ? a : b) }')
done
echo "64 genetic runs, --jobs 1: ${t1} s"
echo "64 genetic runs, --jobs 2: ${t2} s (load average now $(load))"
cmp -s "$work/jobs1" "$work/jobs2" && echo "outputs identical" || echo "OUTPUTS DIFFER"
echo "speed-up: $(echo "scale=2; $t1 / $t2" | bc)"

# 10 published steps a run (PopSize 2, Iterations 10): 10^4 and 10^5 runs.
for runs in 10000 100000; do
  /usr/bin/time -v "$batch" --algorithm genetic --seed 1 --runs "$runs" --format long \
    --set PopSize=2 --set Iterations=10 "$problem" 2>"$work/time" | wc -l >"$work/rows"
  echo "long format, $(($(cat "$work/rows") - 1)) rows: peak $(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time") kB"
done
