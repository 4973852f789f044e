#!/usr/bin/env bash
# scripts/sweep.slurm on a single-node Slurm started here (its own munged, slurmctld and slurmd
# on private sockets and ports of the loopback address, stopped at the end): the job array's
# shards join into what single invocations print, and an array index past the sweep's tasks is
# refused. Skipped (status 77) without root or without slurm-wlm and munge; a Slurm that does
# not come up fails within seconds, saying why.
#   tests/cli/slurm_test.sh QUARMEL_BATCH
set -euo pipefail
batch=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
for tool in munged mungekey slurmctld slurmd sbatch; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
[[ $(id -u) -eq 0 ]] || { echo "skipped: the daemons need root"; exit 77; }

work=$(mktemp -d /tmp/quarmel-slurm-XXXXXX)
chmod 755 "$work"
stop() {
  for pid in "$work"/*.pid; do [[ -f $pid ]] && kill "$(cat "$pid")" 2>/dev/null || true; done
  sleep 0.5
  rm -rf "$work"
}
trap stop EXIT
fail() {
  echo "FAIL: $*" >&2
  tail -n 5 "$work"/*.log >&2 || true
  exit 1
}

mkdir -p "$work/state" "$work/spool" "$work/out/shards"
mungekey -c -k "$work/munge.key" 2>/dev/null || dd if=/dev/urandom of="$work/munge.key" bs=1024 count=1 2>/dev/null
chmod 600 "$work/munge.key"
munged --force --socket="$work/munge.socket" --key-file="$work/munge.key" \
  --pid-file="$work/munged.pid" --log-file="$work/munged.log" --seed-file="$work/munged.seed"
host=$(hostname -s)
port=$((20000 + RANDOM % 20000))
cat >"$work/slurm.conf" <<END
ClusterName=quarmeltest
SlurmctldHost=$host(127.0.0.1)
SlurmctldPort=$port
SlurmdPort=$((port + 1))
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
AuthInfo=socket=$work/munge.socket
StateSaveLocation=$work/state
SlurmdSpoolDir=$work/spool
SlurmctldPidFile=$work/slurmctld.pid
SlurmdPidFile=$work/slurmd.pid
SlurmctldLogFile=$work/slurmctld.log
SlurmdLogFile=$work/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
SchedulerType=sched/builtin
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
ReturnToService=2
NodeName=$host NodeAddr=127.0.0.1 CPUs=2 State=UNKNOWN
PartitionName=quarmel Nodes=ALL Default=YES MaxTime=10 State=UP
END
export SLURM_CONF=$work/slurm.conf
slurmctld || fail "slurmctld did not start"
slurmd || fail "slurmd did not start"
for _ in $(seq 50); do
  sinfo -h -o %t 2>/dev/null | grep -q idle && break
  sleep 0.2
done
sinfo -h -o %t | grep -q idle || fail "the node did not come up: $(sinfo -h -o '%t %E' 2>&1)"

cp "$root/fuzz/corpus/start.txt" "$work/problem.txt"
mkdir -p "$work/out"
cd "$work/out"
# 2 algorithms x 2 shards of 2 seeds from seed 5, packed 3 shards a task: 2 tasks. A task that
# waits (no resources, a down node) fails the test within 60 seconds with Slurm's reason.
options=(--algorithms "greedy steepest" --seeds 5:4 --shard-runs 2 --batch "$batch")
timeout 60 "$root/scripts/sweep.slurm" --sbatch --wait --sbatch --quiet --shards-per-task 3 \
  "${options[@]}" "$work/problem.txt" >"$work/submit.log" 2>&1 ||
  fail "the job array failed: $(cat "$work/submit.log"; squeue -h -o '%i %T %r' 2>&1)"
[[ $(ls sweep/logs | wc -l) -eq 2 ]] || fail "2 task logs expected: $(ls sweep/logs)"
"$root/scripts/sweep.sh" --join-only "${options[@]}" "$work/problem.txt" >/dev/null 2>&1 ||
  fail "join: $(ls "$work/out/sweep/shards")"
{
  "$batch" --algorithm greedy --seed 5 --runs 4 --format runs "$work/problem.txt"
  "$batch" --algorithm steepest --seed 5 --runs 4 --format runs --no-header "$work/problem.txt"
} >"$work/expected" 2>/dev/null
no_seconds() {  # the processor time differs between two makings of a run
  awk -F, -v OFS=, 'NR == 1 { for (i = 1; i <= NF; i++) if ($i == "seconds") c = i }
    { $c = ""; print }' "$1"
}
cmp <(no_seconds "$work/expected") <(no_seconds "$work/out/sweep/joined.csv") ||
  fail "the joined array differs"
# An index past the tasks (a hand-made --array) is refused with the bounds.
status=0
SLURM_ARRAY_TASK_ID=2 SWEEP_TASKS=2 SWEEP_PER_TASK=3 SWEEP_SH=$root/scripts/sweep.sh \
  "$root/scripts/sweep.slurm" "${options[@]}" "$work/problem.txt" 2>"$work/err" || status=$?
[[ $status -eq 2 ]] && grep -q "beyond the 2 tasks" "$work/err" || fail "index past: $(cat "$work/err")"
echo "slurm test passed"
