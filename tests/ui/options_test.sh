#!/usr/bin/env bash
# The window program's command line: --help and --version print without a display (status 1 when
# standard output cannot be written), and an option that is neither the program's nor Qt's is
# refused with status 2 before any window opens.
#   tests/ui/options_test.sh QUARMEL
set -uo pipefail
quarmel=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
help=$(env -u DISPLAY -u WAYLAND_DISPLAY "$quarmel" --help) || fail "--help: status $?"
grep -q '^usage: quarmel ' <<<"$help" || fail "--help: $help"
[[ -z $(awk 'length > 80' <<<"$help") ]] || fail "--help has lines over 80 columns"
env -u DISPLAY -u WAYLAND_DISPLAY "$quarmel" --version | grep -qx 'quarmel [0-9.]*' ||
  fail "--version"
for option in --help --version; do
  env -u DISPLAY "$quarmel" $option >/dev/full 2>/dev/null
  [[ $? -eq 1 ]] || fail "$option >/dev/full: not status 1"
done
err=$(QT_QPA_PLATFORM=offscreen "$quarmel" -style Fusion --frob 2>&1 >/dev/null)
[[ $? -eq 2 ]] && grep -q "unknown option '--frob'" <<<"$err" || fail "--frob: $err"
echo "options test passed"
