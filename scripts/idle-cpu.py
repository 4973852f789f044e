"""Measures the CPU share the program takes while it shows the Chart page with nothing running:
chooses the Chart tab through the accessibility tree, turns auto-rotation off (unless told
"rotating"), optionally maximises the window, waits for the first frames, then reads the
process's CPU time over a span of seconds.

Usage: idle-cpu.py PROGRAM [SECONDS] [maximised] [rotating] (under a display and a session bus),
for example from the worktree's top:
  runtime=$(mktemp -d); PYTHONPATH=$PWD/tests/accessibility XDG_RUNTIME_DIR=$runtime \
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 xvfb-run -a -s "-screen 0 1920x1080x24" \
  dbus-run-session -- /usr/bin/python3 scripts/idle-cpu.py build/dev/ui/quarmel 10 maximised"""

import os
import subprocess
import sys
import time

import pyatspi

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "accessibility"))
from atspi_driver import Program, named, press, showing, wait_for  # noqa: E402


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def main():
    program = sys.argv[1]
    span = float(sys.argv[2]) if len(sys.argv) > 2 else 10.0
    maximised = "maximised" in sys.argv[3:]
    rotating = "rotating" in sys.argv[3:]
    with Program(program) as p:
        if maximised:
            subprocess.run(["xdotool", "search", "--name", "^Quarmel$", "windowsize", "1920",
                            "1080"], check=True)
        tab = p.find(named("page tab", "Chart"), "the Chart tab")
        page = p.find(lambda n: n.getRoleName() == "filler" and n.name == "Chart", "the page")
        press(tab)
        wait_for(lambda: showing(page), "the Chart page to be shown")
        if not rotating:
            rotation = p.find(named("check box", "Autorotate"), "the Autorotate check box")
            press(rotation)
            wait_for(lambda: not rotation.getState().contains(pyatspi.STATE_CHECKED),
                     "auto-rotation to be off")
        time.sleep(2.0)
        start, clock = cpu_seconds(p.process.pid), time.monotonic()
        time.sleep(span)
        used = cpu_seconds(p.process.pid) - start
        print("idle Chart page%s%s: %.1f %% of a core" % (
            " at 1920x1080" if maximised else "", ", rotating" if rotating else "",
            100.0 * used / (time.monotonic() - clock)))


if __name__ == "__main__":
    main()
