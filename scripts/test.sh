#!/usr/bin/env bash
# Sets up what is missing, builds the debug build and runs every test. Window and OpenGL tests
# need a display, so the tests run under a virtual X server.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset dev >/dev/null
cmake --build --preset dev
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset dev "$@"
