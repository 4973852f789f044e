#!/usr/bin/env bash
# Starts Quarmel under a virtual X server and saves a screenshot of each page, by default into
# docs/screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."
folder=${1:-docs/screenshots}
shift || true
./scripts/setup.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target quarmel
# A runtime folder of our own keeps the accessibility bus apart from any other on this machine.
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
XDG_RUNTIME_DIR=$runtime QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
  xvfb-run -a -s "-screen 0 1280x1024x24" \
  dbus-run-session -- /usr/bin/python3 scripts/screenshots.py build/dev/ui/quarmel "$folder" "$@"
