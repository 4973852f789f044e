#!/usr/bin/env bash
# Builds and runs the plain C++ tests (no windows) under a sanitizer preset: asan (default) or tsan.
# Further arguments go to ctest, e.g. `tsan -L algorithms` for one layer's tests.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-asan}
shift || true
./scripts/setup.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" "$@"
