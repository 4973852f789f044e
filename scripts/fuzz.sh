#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs the data-file reader's for a bounded time
# (seconds, 60 by default), starting from the corpus in fuzz/corpus. Fails on any crash, hang or
# sanitizer report.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
./scripts/setup.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --parallel 2 --target datafile_fuzz
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp fuzz/corpus/* "$work"/
./build/fuzz/fuzz/datafile_fuzz -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
  -max_len=4096 -print_final_stats=1 -artifact_prefix=build/fuzz/ "$work" 2>&1 | tail -n 25
