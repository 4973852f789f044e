"""Saves a screenshot of each page of the running program: chooses every tab through the
accessibility tree, as a user would, and grabs the main window with xwd.

Usage: screenshots.py PROGRAM FOLDER (under a display and a session bus)."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "accessibility"))
from atspi_driver import Program, named, press, showing, wait_for  # noqa: E402

PAGES = [("Function", "function"), ("Chart", "chart"), ("Solutions", "solutions"),
         ("Local Alg.", "local-options"), ("Genetic Alg.", "genetic-options")]


def grab(path):
    xwd = subprocess.run(["xwd", "-silent", "-name", "Quarmel"], check=True,
                         capture_output=True).stdout
    pnm = subprocess.run(["xwdtopnm"], input=xwd, check=True, capture_output=True).stdout
    png = subprocess.run(["pnmtopng"], input=pnm, check=True, capture_output=True).stdout
    with open(path, "wb") as f:
        f.write(png)


def main():
    program, folder = sys.argv[1], sys.argv[2]
    os.makedirs(folder, exist_ok=True)
    with Program(program) as p:
        for number, (caption, name) in enumerate(PAGES, 1):
            tab = p.find(named("page tab", caption), "the tab " + caption)
            page = p.find(lambda n: n.getRoleName() == "filler" and n.name == caption,
                          "the page " + caption)
            if not showing(page):
                press(tab)
                wait_for(lambda: showing(page), "the page %s to be shown" % caption)
            time.sleep(1.0)  # let the chart draw a few frames
            path = os.path.join(folder, "%d-%s.png" % (number, name))
            grab(path)
            print(path)


if __name__ == "__main__":
    main()
