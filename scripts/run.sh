#!/usr/bin/env bash
# Sets up what is missing, builds the optimised program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target quarmel
exec ./build/release/ui/quarmel "$@"
