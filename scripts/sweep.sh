#!/usr/bin/env bash
# Runs a sweep of quarmel-batch (algorithms x grid x seed ranges) as shards through GNU parallel,
# then joins the shards into one file with one header.
#
#   scripts/sweep.sh [options] PROBLEM_FILE [-- MORE quarmel-batch OPTIONS]
#
#   --algorithms "A B ..."  algorithms to run (default: greedy steepest annealing genetic)
#   --seeds FIRST:COUNT     seeds FIRST, FIRST+1, ... (default 1:30)
#   --shard-runs K          seeds per shard (default 10)
#   --grid NAME=V1,V2,...   a grid axis, run inside every shard (repeatable)
#   --set NAME=VALUE        a setting for every run (repeatable)
#   --format runs|long      one row per run (default) or per published step
#   --dir DIR               where the shards and the joined file go (default sweep)
#   --jobs N                shards at once on each machine (default: its cores)
#   --sshlogin LOGIN        passed on to parallel (repeatable); ":" is this machine. The project
#                           folder must be at the same path on every machine (a shared folder).
#   --batch EXE             the batch runner (default build/release/cli/quarmel-batch, else the
#                           dev build's, else quarmel-batch on the PATH)
#   --join-only             only join the shards there are
#   --shards FROM:COUNT     only run shards FROM .. FROM+COUNT-1 (numbered from 0, algorithm by
#                           algorithm, seed range by seed range) and do not join: one task of a
#                           sweep split over several jobs (scripts/sweep.slurm)
#
# Each shard is written under a temporary name and renamed when complete, so killing a sweep
# leaves the finished shards intact; running the same command again runs only the missing ones.
# DIR/manifest records what the shards are made of (the batch runner's version, every option
# and the problem file's checksum); a sweep into a folder whose manifest differs is refused,
# naming the difference, so that shards of two experiments never mix. The join checks that
# every shard has the first one's header and (for --format runs) its number of rows, lists the
# shards that are missing and then ends with status 1. For --format runs, DIR/summary.csv is
# the joined table's summary as quarmel-batch --summarize computes it (the summary format of
# one invocation), and is printed.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
algorithms="greedy steepest annealing genetic"
seeds=1:30
shard_runs=10
format=runs
dir=sweep
jobs=
join_only=0
subset=
batch=
extra=()
ssh=()
problem=

die() {
  echo "sweep.sh: $*" >&2
  exit 2
}

while [[ $# -gt 0 ]]; do
  case $1 in
    --algorithms) algorithms=$2; shift 2 ;;
    --seeds) seeds=$2; shift 2 ;;
    --shard-runs) shard_runs=$2; shift 2 ;;
    --grid | --set) extra+=("$1" "$2"); shift 2 ;;
    --format) format=$2; shift 2 ;;
    --dir) dir=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    --sshlogin) ssh+=(--sshlogin "$2"); shift 2 ;;
    --batch) batch=$2; shift 2 ;;
    --join-only) join_only=1; shift ;;
    --shards) subset=$2; shift 2 ;;
    --) shift; extra+=("$@"); break ;;
    -*) die "unknown option '$1'" ;;
    *) [[ -z $problem ]] || die "only one problem file may be given"; problem=$1; shift ;;
  esac
done

[[ -n $problem ]] || die "the problem file is missing"
[[ -r $problem ]] || die "cannot read '$problem'"
[[ $format == runs || $format == long ]] || die "--format needs runs or long, not '$format'"
[[ $seeds =~ ^([0-9]+):([0-9]+)$ ]] || die "--seeds needs FIRST:COUNT, not '$seeds'"
first=${BASH_REMATCH[1]}
count=${BASH_REMATCH[2]}
[[ $count -ge 1 ]] || die "--seeds needs a count of at least 1"
[[ $shard_runs =~ ^[0-9]+$ && $shard_runs -ge 1 ]] || die "--shard-runs needs a whole number above 0"
if [[ -n $subset ]]; then
  [[ $subset =~ ^([0-9]+):([0-9]+)$ ]] || die "--shards needs FROM:COUNT, not '$subset'"
  subset_from=${BASH_REMATCH[1]}
  subset_to=$((subset_from + BASH_REMATCH[2]))
fi
if [[ -z $batch ]]; then
  batch=$here/build/release/cli/quarmel-batch
  [[ -x $batch ]] || batch=$here/build/dev/cli/quarmel-batch
  [[ -x $batch ]] || batch=$(command -v quarmel-batch || true)
fi
[[ -x $batch ]] || die "no batch runner at '$batch' (build it, install it, or give --batch)"
# The rows of a runs shard: its runs times the grid's combinations.
# The summary needs the runs' target.
combinations=1
target=()
for ((i = 0; i < ${#extra[@]}; i++)); do
  axis=
  case ${extra[i]} in
    --grid) axis=${extra[i + 1]:-} ;;
    --grid=*) axis=${extra[i]#--grid=} ;;
    --target) target=(--target "${extra[i + 1]:-}") ;;
    --target=*) target=("${extra[i]}") ;;
  esac
  [[ -n $axis ]] || continue
  values=${axis#*=}
  commas=${values//[^,]/}
  combinations=$((combinations * (${#commas} + 1)))
done
batch=$(cd "$(dirname "$batch")" && pwd)/$(basename "$batch")
problem=$(cd "$(dirname "$problem")" && pwd)/$(basename "$problem")
mkdir -p "$dir/shards" || die "cannot make the folder '$dir/shards'"
dir=$(cd "$dir" && pwd)

# What the shards are made of; another experiment's folder is refused.
manifest=$(
  echo "batch: $("$batch" --version)"
  echo "problem: $(sha256sum <"$problem" | cut -d' ' -f1)"
  echo "algorithms: $algorithms"
  echo "seeds: $seeds"
  echo "shard-runs: $shard_runs"
  echo "format: $format"
  echo "options: ${extra[*]}"
)
if [[ -f $dir/manifest ]]; then
  if [[ $(cat "$dir/manifest") != "$manifest" ]]; then
    difference=$(diff <(cat "$dir/manifest") <(echo "$manifest") | grep "^>" | head -n 1 | cut -c3- || true)
    die "$dir holds the shards of another experiment (its manifest differs in '${difference%%:*}': now ${difference#*: }); use another --dir"
  fi
else
  echo "$manifest" >"$dir/manifest.part" && mv "$dir/manifest.part" "$dir/manifest" ||
    die "cannot write '$dir/manifest'"
fi

# The shards: one per algorithm and seed range, named after both.
names=()
commands=()
for algorithm in $algorithms; do
  for ((from = first; from < first + count; from += shard_runs)); do
    runs=$((first + count - from < shard_runs ? first + count - from : shard_runs))
    name=$algorithm-$from-$((from + runs - 1))
    names+=("$name")
    index=$((${#names[@]} - 1))
    [[ -n $subset && ($index -lt $subset_from || $index -ge $subset_to) ]] && continue
    [[ -f $dir/shards/$name.csv ]] && continue
    args=(--algorithm "$algorithm" --seed "$from" --runs "$runs" --jobs 1 --format "$format"
          "${extra[@]}" "$problem")
    commands+=("$(printf '%q ' "$batch" "${args[@]}")>$(printf '%q' "$dir/shards/$name.csv.part") \
2>$(printf '%q' "$dir/shards/$name.log") && mv $(printf '%q %q' "$dir/shards/$name.csv.part" "$dir/shards/$name.csv")")
  done
done

status=0
if [[ $join_only -eq 0 && ${#commands[@]} -gt 0 ]]; then
  command -v parallel >/dev/null || die "GNU parallel is missing (Debian package parallel)"
  printf '%s\n' "${commands[@]}" |
    parallel --will-cite --halt never --joblog "$dir/joblog" ${jobs:+--jobs "$jobs"} "${ssh[@]}" ||
    status=$?
fi
[[ -z $subset ]] || exit "$status"

# The join: the first shard's header, then every shard's rows in shard order.
missing=()
for name in "${names[@]}"; do
  [[ -f $dir/shards/$name.csv ]] || missing+=("$name")
done
if [[ ${#missing[@]} -gt 0 ]]; then
  echo "sweep.sh: ${#missing[@]} of ${#names[@]} shards missing: ${missing[*]}" >&2
  log=$dir/shards/${missing[0]}.log
  [[ -s $log ]] && echo "sweep.sh: ${missing[0]}: $(grep -v '^algorithm=' "$log" | tail -n 1)" >&2
  # The batch runner ends with status 2 on bad input: running it again changes nothing.
  if [[ -f $dir/joblog ]] &&
    awk -F'\t' -v shard="/${missing[0]}.csv.part" 'index($9, shard) && $7 == 2 { bad = 1 }
      END { exit !bad }' "$dir/joblog"; then
    echo "sweep.sh: the batch runner refused its options: fix the command (the logs are in $dir/shards)" >&2
  else
    echo "sweep.sh: run the same command again to run only those (their logs are in $dir/shards)" >&2
  fi
  exit 1
fi
joined=$dir/joined.csv
header=$(head -n 1 "$dir/shards/${names[0]}.csv")
for name in "${names[@]}"; do
  shard=$dir/shards/$name.csv
  [[ $(head -n 1 "$shard") == "$header" ]] || die "$shard: its header differs from the first shard's"
  if [[ $format == runs ]]; then
    runs=${name##*-}
    from=${name%-*}
    from=${from##*-}
    rows=$(($(wc -l <"$shard") - 1))
    [[ $rows -eq $(((runs - from + 1) * combinations)) ]] ||
      die "$shard: $rows rows for $(((runs - from + 1) * combinations)) runs; delete it and run the same command again"
  fi
done
{
  echo "$header"
  for name in "${names[@]}"; do tail -n +2 "$dir/shards/$name.csv"; done
} >"$joined.part" || die "cannot write '$joined.part'"
mv "$joined.part" "$joined"
echo "sweep.sh: joined ${#names[@]} shards into $joined" >&2
if [[ $format == runs ]]; then
  "$batch" --summarize "$joined" "${target[@]}" >"$dir/summary.csv.part" ||
    die "cannot summarise $joined"
  mv "$dir/summary.csv.part" "$dir/summary.csv"
  cat "$dir/summary.csv"
fi
exit "$status"
