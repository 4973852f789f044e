#!/bin/sh
# Runs one accessibility case (see quarmel_a11y_test.py) on a private session bus, so that cases
# may run side by side on one display:
# - the accessibility bus puts its socket in the runtime folder: each case gets its own;
# - the bus daemons get no display, so the accessibility bus is found through the session bus
#   alone, never through a property of the shared X display.
# Python writes no byte code next to the scripts (-B): the source tree stays clean.
display=${DISPLAY:?a display is needed}
here=$(dirname "$0")
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
XDG_RUNTIME_DIR=$runtime env -u DISPLAY dbus-run-session -- env DISPLAY="$display" \
  /usr/bin/python3 -B "$here/quarmel_a11y_test.py" "$@"
