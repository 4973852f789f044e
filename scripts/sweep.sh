#!/usr/bin/env bash
# Runs a sweep of quarmel-batch (algorithms x grid x seed ranges) as shards through GNU parallel,
# then joins the shards into one file with one header.
#
#   scripts/sweep.sh [options] PROBLEM_FILE... [-- MORE quarmel-batch OPTIONS]
#
#   --algorithms "A B ..."  algorithms to run (default: greedy steepest annealing genetic)
#   --seeds FIRST:COUNT     seeds FIRST, FIRST+1, ... (default 1:30)
#   --shard-runs K          seeds per shard (default 10)
#   --grid NAME=V1,V2,...   a grid axis, run inside the shards of the algorithms that read
#                           the setting (quarmel-batch --reads ALGORITHM) (repeatable)
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
# Every shard runs every problem file, problem by problem. Each shard is written under a temporary name and renamed when complete, so killing a sweep
# leaves the finished shards intact; running the same command again runs only the missing ones.
# DIR/manifest records what the shards are made of (the batch runner's version, every option
# and each problem file's checksum); a sweep into a folder whose manifest differs is refused,
# naming the difference, so that shards of two experiments never mix. One sweep at a time works
# in a folder: DIR/.lock is held by the sweep and by every job it starts, so a second sweep is
# refused at once, and a sweep started after one that was killed (kill -9) waits for the jobs
# the killed one left running (the Slurm array's tasks share the lock among themselves). The
# join lists the shards that are missing and then ends with status 1; it checks every shard's
# header and each row's series columns (problem, algorithm, settings) and seed against what
# this sweep's options make (the batch runner run once for one evaluation per algorithm), and
# for --format runs that every run is there once. For --format runs, DIR/summary.csv is the
# joined table's summary as quarmel-batch --summarize computes it (the summary format of one
# invocation, also with --target optimum), and is printed.
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
problems=()

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
    *) problems+=("$1"); shift ;;
  esac
done

[[ ${#problems[@]} -gt 0 ]] || die "the problem file is missing"
for problem in "${problems[@]}"; do [[ -r $problem ]] || die "cannot read '$problem'"; done
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
# The summary needs the runs' target; each algorithm's shards get only the grid axes of the
# settings it reads.
target=()
axes=()
for ((i = 0; i < ${#extra[@]}; i++)); do
  case ${extra[i]} in
    --grid) axes+=("${extra[i + 1]:-}") ;;
    --grid=*) axes+=("${extra[i]#--grid=}") ;;
    --target) target=(--target "${extra[i + 1]:-}") ;;
    --target=*) target=("${extra[i]}") ;;
  esac
done
batch=$(cd "$(dirname "$batch")" && pwd)/$(basename "$batch")
for i in "${!problems[@]}"; do
  problems[i]=$(cd "$(dirname "${problems[i]}")" && pwd)/$(basename "${problems[i]}")
done
# The options of an algorithm's runs: the grid axes of settings it does not read are left out.
declare -A options_of
for algorithm in $algorithms; do
  reads=$("$batch" --reads "$algorithm" 2>&1) ||
    die "cannot ask the batch runner which settings '$algorithm' reads: ${reads#quarmel-batch: }"
  own=()
  for ((i = 0; i < ${#extra[@]}; i++)); do
    axis=
    case ${extra[i]} in
      --grid) axis=${extra[i + 1]:-}; i=$((i + 1)) ;;
      --grid=*) axis=${extra[i]#--grid=} ;;
      *) own+=("${extra[i]}"); continue ;;
    esac
    grep -qxF -- "${axis%%=*}" <<<"$reads" && own+=(--grid "$axis")
  done
  options_of[$algorithm]=
  [[ ${#own[@]} -eq 0 ]] || options_of[$algorithm]=$(printf '%q ' "${own[@]}")
done
for axis in "${axes[@]}"; do
  [[ ${options_of[*]} == *"--grid $(printf '%q' "$axis")"* ]] ||
    die "--grid ${axis%%=*}: none of the algorithms ($algorithms) reads ${axis%%=*}"
done

mkdir -p "$dir/shards" || die "cannot make the folder '$dir/shards'"
dir=$(cd "$dir" && pwd)

# One sweep at a time in a folder. The lock's descriptor is inherited by parallel and its jobs,
# so it is held until the last job of this sweep ends, even when this script was killed. The
# tasks of a Slurm array (--shards) run disjoint shards: they share the lock.
command -v flock >/dev/null || die "flock is missing (Debian package util-linux)"
exec 9>>"$dir/.lock" || die "cannot open '$dir/.lock'"
mode=-x
[[ -z $subset ]] || mode=-s
if ! flock -n "$mode" 9; then
  read -r host pid <"$dir/.lock" || true
  # A sweep that is gone (or a zombie not yet reaped) left its jobs holding the lock.
  if [[ -n ${pid:-} && ($host != "$(hostname)" || $(ps -o stat= -p "$pid" 2>/dev/null) == [^Z]*) ]]; then
    die "another sweep (process $pid on $host) is working in $dir; wait for it to end or use another --dir"
  fi
  echo "sweep.sh: waiting for the jobs of an interrupted sweep (or of a Slurm array's tasks) in $dir to end" >&2
  flock "$mode" 9
fi
[[ -n $subset ]] || echo "$(hostname) $$" >"$dir/.lock"

# What the shards are made of; another experiment's folder is refused.
manifest=$(
  echo "batch: $("$batch" --version)"
  for problem in "${problems[@]}"; do
    echo "problem: $(sha256sum <"$problem" | cut -d' ' -f1) $problem"
  done
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
  eval "own=(${options_of[$algorithm]})"
  for ((from = first; from < first + count; from += shard_runs)); do
    runs=$((first + count - from < shard_runs ? first + count - from : shard_runs))
    name=$algorithm-$from-$((from + runs - 1))
    names+=("$name")
    index=$((${#names[@]} - 1))
    [[ -n $subset && ($index -lt $subset_from || $index -ge $subset_to) ]] && continue
    [[ -f $dir/shards/$name.csv ]] && continue
    args=(--algorithm "$algorithm" --seed "$from" --runs "$runs" --jobs 1 --format "$format"
          "${own[@]}" "${problems[@]}")
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
# What this sweep's options make: each algorithm's series (one run of one evaluation each).
mkdir -p "$dir/expected"
for algorithm in $algorithms; do
  eval "own=(${options_of[$algorithm]})"
  probe=(--max-evaluations 1)
  for ((i = 0; i < ${#own[@]}; i++)); do
    case ${own[i]} in
      --meta | --out | --max-evaluations | --max-seconds) i=$((i + 1)) ;;
      --meta=* | --out=* | --max-evaluations=* | --max-seconds=*) ;;
      *) probe+=("${own[i]}") ;;
    esac
  done
  "$batch" --algorithm "$algorithm" --seed "$first" --runs 1 --jobs 1 --format runs "${probe[@]}" \
    "${problems[@]}" >"$dir/expected/$algorithm.csv" 2>"$dir/expected/$algorithm.log" ||
    die "cannot make the series of $algorithm to check the shards: $(tail -n 1 "$dir/expected/$algorithm.log")"
done
# Every row's series columns (all but the columns from "seed" on, which hold no quoted text)
# must be one of the series its algorithm makes with these options, its seed in the shard's
# range, and for --format runs each run of each series there once.
check_shard() {  # SHARD EXPECTED FROM TO
  awk -F, -v from="$3" -v to="$4" -v runs="$([[ $format == runs ]] && echo 1)" '
    function series(line, n,   k) { for (k = 0; k < n; k++) sub(/,[^,]*$/, "", line); return line }
    FNR == 1 { for (k = 1; k <= NF; k++) if ($k == "seed") tail = NF - k + 1; next }
    NR == FNR { want[series($0, tail)] = 1; wanted++; next }
    {
      seed = $(NF - tail + 1)
      if (!(series($0, tail) in want) || seed !~ /^[0-9]+$/ || seed < from || seed > to) {
        print "row " FNR " was made with other options (its problem, algorithm, settings or seed are not this sweep'"'"'s)"
        exit 1
      }
      if (runs && seen[series($0, tail), seed]++) { print "row " FNR " repeats a run"; exit 1 }
      rows++
    }
    END { if (runs && rows != wanted * (to - from + 1)) print rows + 0 " rows for " wanted * (to - from + 1) " runs" }
  ' "$2" "$1"
}
joined=$dir/joined.csv
header=$(head -n 1 "$dir/shards/${names[0]}.csv")
for name in "${names[@]}"; do
  shard=$dir/shards/$name.csv
  algorithm=${name%-*-*}
  last=${name##*-}
  from=${name%-*}
  from=${from##*-}
  [[ $(head -n 1 "$shard") == "$header" ]] || die "$shard: its header differs from the first shard's"
  [[ $format == long || $header == "$(head -n 1 "$dir/expected/$algorithm.csv")" ]] ||
    die "$shard: its header is not what these options make; delete it and run the same command again"
  fault=$(check_shard "$shard" "$dir/expected/$algorithm.csv" "$from" "$last") || true
  [[ -z $fault ]] || die "$shard: $fault; delete it and run the same command again"
done
{
  echo "$header"
  for name in "${names[@]}"; do tail -n +2 "$dir/shards/$name.csv"; done
} >"$joined.part" || die "cannot write '$joined.part'"
mv "$joined.part" "$joined"
echo "sweep.sh: joined ${#names[@]} shards into $joined" >&2
if [[ $format == runs ]]; then
  "$batch" --summarize "$joined" "${target[@]}" >"$dir/summary.csv.part" ||
    { rm -f "$dir/summary.csv.part"; die "cannot summarise $joined"; }
  mv "$dir/summary.csv.part" "$dir/summary.csv"
  cat "$dir/summary.csv"
fi
exit "$status"
