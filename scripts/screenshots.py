"""Saves a screenshot of each page of the running program: chooses every tab through the
accessibility tree, as a user would, and grabs the main window with xwd.

Usage: screenshots.py PROGRAM FOLDER [experiment|examples|references|race] (under a display and
a session bus; with "experiment", "examples", "references" or "race" only that picture)."""

import os
import subprocess
import sys
import time

import pyatspi

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "accessibility"))
from atspi_driver import (Program, named, press, press_and_go_on, showing,  # noqa: E402
                          wait_for)

RUN_BUTTONS = ["Greedy", "Steepest", "SA", "Genetic"]

PAGES = [("Function", "function"), ("Chart", "chart"), ("Solutions", "solutions"),
         ("Local Alg.", "local-options"), ("Genetic Alg.", "genetic-options")]


def grab(path, window="Quarmel"):
    xwd = subprocess.run(["xwd", "-silent", "-name", window], check=True,
                         capture_output=True).stdout
    pnm = subprocess.run(["xwdtopnm"], input=xwd, check=True, capture_output=True).stdout
    png = subprocess.run(["pnmtopng"], input=pnm, check=True, capture_output=True).stdout
    with open(path, "wb") as f:
        f.write(png)


def compare_runs(p, path):
    """Runs the four algorithms on the start-up problem without delays and seed 1, and grabs
    the window with the convergence plot docked beside the chart, comparing them on a log
    scale."""
    for caption in ("Local Alg.", "Genetic Alg."):
        page = p.find(lambda n, c=caption: n.getRoleName() == "filler" and n.name == c,
                      "the page " + caption)
        bar = p.find(lambda n: n.getRoleName() == "slider" and n.name == "Delay [ms]",
                     "the delay bar", root=page)
        bar.queryValue().currentValue = 0
    # A fixed seed, so the picture is the same every time.
    press(p.find(named("check box", "Fixed seed:"), "the fixed seed"))
    press(p.find(named("check box", "Log scale"), "the log scale"))
    table = p.find(named("table", "Finished runs"), "the runs table")
    for count, caption in enumerate(RUN_BUTTONS, 1):
        button = p.find(lambda n, c=caption: n.getRoleName() == "push button" and n.name == c,
                        "the button " + caption)
        press(button)
        wait_for(lambda c=count: table.queryTable().nRows == c, "run %d to end" % count,
                 timeout=120)
    press(p.menu_item("Runs", "Convergence plot"))
    plot = p.find(lambda n: n.name == "Convergence plot" and "menu" not in n.getRoleName(),
                  "the convergence plot")
    wait_for(lambda: showing(plot), "the convergence plot to be shown")
    time.sleep(1.0)
    grab(path)
    print(path)


REFERENCES = ["Random search", "CMA-ES", "Differential evolution", "Particle swarm"]


def experiment(p, path):
    """Runs an experiment of the eight algorithms (the four and the references) over 30 seeds on
    the start-up problem with a budget of 20000 evaluations and grabs its window with the plots
    and the table."""
    press(p.menu_item("Runs", "Experiment..."))
    window = p.window(lambda w: w.name == "Experiment", "the experiment window")
    for caption in REFERENCES:
        press(p.find(named("check box", caption), "the check box " + caption, root=window))
    for name, text in (("Target value", "5"), ("Evaluations per run", "20000")):
        field = p.find(named("text", name), 'the field "%s"' % name, root=window)
        field.queryEditableText().setTextContents(text)
    press(p.find(named("push button", "Start"), "the Start button", root=window))
    export = p.find(named("push button", "Export runs as CSV..."), "the runs export",
                    root=window)
    wait_for(lambda: export.getState().contains(pyatspi.STATE_ENABLED),
             "the experiment to end", timeout=600)
    time.sleep(1.0)
    grab(path, "Experiment")
    print(path)


def replay(program, path):
    """Opens the Himmelblau example, runs simulated annealing with seed 1 and no delay, and
    grabs the main window with the run replayed to half its steps, the chart zoomed in and
    turned by the auto-rotation so the path shows."""
    example = os.path.abspath(
        os.path.join(os.path.dirname(__file__), "..", "examples", "himmelblau.txt"))
    with Program(program, [example]) as p:
        page = p.find(lambda n: n.getRoleName() == "filler" and n.name == "Local Alg.",
                      "the page Local Alg.")
        bar = p.find(lambda n: n.getRoleName() == "slider" and n.name == "Delay [ms]",
                     "the delay bar", root=page)
        bar.queryValue().currentValue = 0
        press(p.find(named("check box", "Fixed seed:"), "the fixed seed"))
        press(p.find(lambda n: n.getRoleName() == "push button" and n.name == "SA",
                     "the button SA"))
        slider = p.find(lambda n: n.getRoleName() == "slider" and n.name == "Replay step",
                        "the replay slider")
        wait_for(lambda: showing(slider), "the run to end and the replay bar to be shown",
                 timeout=120)
        scaling = p.find(lambda n: n.getRoleName() == "scroll bar" and n.name == "Scaling",
                         "the scaling bar")
        scaling.queryValue().currentValue = 2600
        # Turned by the auto-rotation for a while, then held still.
        time.sleep(3.0)
        press(p.find(named("check box", "Autorotate"), "the check box Autorotate"))
        value = slider.queryValue()
        value.currentValue = int(value.maximumValue / 2)
        time.sleep(1.0)
        grab(path, "File: " + example)  # the window is named after the file it opened
        print(path)


def race(program, path):
    """Opens the Rastrigin example and races the four algorithms on it from seed 1 without
    delays, with the kept runs' paths shown on the chart; grabs the main window with the lanes'
    legend on the chart and the convergence plot beside it, each lane in the same colour, and
    the genetic lane chosen and replayed to half its generations."""
    example = os.path.abspath(
        os.path.join(os.path.dirname(__file__), "..", "examples", "rastrigin.txt"))
    with Program(program, [example]) as p:
        for caption in ("Local Alg.", "Genetic Alg."):
            page = p.find(named("filler", caption), "the page " + caption)
            bar = p.find(named("slider", "Delay [ms]"), "the delay bar", root=page)
            bar.queryValue().currentValue = 0
        press(p.find(named("check box", "Fixed seed:"), "the fixed seed"))
        press(p.find(named("check box", "Show paths on chart"), "the check box Show paths"))
        press(p.menu_item("Runs", "Convergence plot"))
        press_and_go_on(p.menu_item("Runs", "Race..."))
        dialog = p.window(lambda w: w.getRoleName() == "dialog" and w.name == "Race",
                          "the race dialog")
        press(p.find(named("push button", "OK"), "the OK button", root=dialog))
        table = p.find(named("table", "Finished runs"), "the runs table")
        wait_for(lambda: table.queryTable().nRows == 4, "the race to end", timeout=120)
        # Held still at the default view, then tilted (0.3 degrees a pixel) and turned (0.5) with
        # the left mouse button towards a view from above, so the paths show on the landscape.
        press(p.find(named("check box", "Autorotate"), "the check box Autorotate"))
        press(p.find(named("push button", "Default"), "the button Default"))
        x, y, _ = centre(p.find(named("filler", "Chart"), "the chart",
                                root=p.find(named("filler", "Chart"), "the Chart page")))
        subprocess.run(["xdotool", "mousemove", str(x - 20), str(y - 140), "sleep", "0.3",
                        "mousedown", "1", "sleep", "0.3", "mousemove", str(x), str(y), "sleep",
                        "0.3", "mousemove", str(x + 20), str(y + 140), "sleep", "0.3", "mouseup",
                        "1"], check=True)
        # Then nearer: the left button scales once its picture is clicked.
        picture = p.find(lambda n: n.name == "Scale" and n.getRoleName() in ("label", "image"),
                         "the picture Scale")
        sx, sy, _ = centre(picture)
        subprocess.run(["xdotool", "mousemove", str(sx), str(sy), "click", "1", "sleep", "0.3",
                        "mousemove", str(x), str(y - 40), "sleep", "0.3", "mousedown", "1",
                        "sleep", "0.3", "mousemove", str(x), str(y - 15), "sleep", "0.3",
                        "mouseup", "1"], check=True)
        # The genetic lane chosen in the replay bar's lane list and replayed to half its
        # generations: its population shows on the chart, the plot's dashed line on its curve.
        lanes = p.find(lambda n: n.getRoleName() == "combo box"
                       and n.description.startswith("The race's lane replayed"), "the lane list")
        lx, ly, _ = centre(lanes)
        subprocess.run(["xdotool", "mousemove", str(lx), str(ly), "click", "1", "sleep", "0.5",
                        "key", "Down", "Down", "Down", "Return"], check=True)
        slider = p.find(named("slider", "Replay step"), "the replay slider")
        wait_for(lambda: slider.queryValue().maximumValue > 100, "the genetic lane's replay")
        slider.queryValue().currentValue = int(slider.queryValue().maximumValue / 2)
        time.sleep(1.0)
        grab(path, "File: " + example)
        print(path)


def centre(node):
    box = node.queryComponent().getExtents(0)  # desktop coordinates
    return box.x + box.width // 2, box.y + box.height // 2, box


def examples_menu(p, path):
    """Opens File > Examples with the mouse, as a user would, and grabs the main window together
    with the open menus (menus are windows of their own, so the screen is grabbed and cut)."""
    bar = p.find(lambda n: n.getRoleName() == "menu bar", "the menu bar")
    file_menu = next(m for m in (bar.getChildAtIndex(i) for i in range(bar.childCount))
                     if m.name == "File")
    x, y, _ = centre(file_menu)
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], check=True)
    examples = p.find(lambda n: n.name == "Examples" and showing(n), "the Examples submenu",
                      root=file_menu)
    x, y, _ = centre(examples)
    subprocess.run(["xdotool", "mousemove", str(x), str(y)], check=True)
    plane = p.find(lambda n: n.name == "2 variables" and showing(n), "the 2 variables submenu",
                   root=examples)
    x, y, _ = centre(plane)
    subprocess.run(["xdotool", "mousemove", str(x), str(y)], check=True)
    first = p.find(lambda n: n.name == "Sphere" and showing(n), "the first example", root=plane)
    grab_with_menus(path, (plane.parent, first.parent))


def grab_with_menus(path, menus):
    """Grabs the main window together with its open menus (windows of their own): the screen is
    grabbed and cut to them."""
    time.sleep(1.0)
    info = subprocess.run(["xwininfo", "-name", "Quarmel"], check=True, capture_output=True,
                          text=True).stdout
    geometry = {k.strip(): int(v) for k, v in
                (line.split(":") for line in info.splitlines()
                 if line.strip().startswith(("Absolute", "Width", "Height")))}
    left, top = geometry["Absolute upper-left X"], geometry["Absolute upper-left Y"]
    right, bottom = left + geometry["Width"], top + geometry["Height"]
    for menu in menus:
        _, _, box = centre(menu)
        right = max(right, box.x + box.width)
        bottom = max(bottom, box.y + box.height)
    xwd = subprocess.run(["xwd", "-silent", "-root"], check=True, capture_output=True).stdout
    pnm = subprocess.run(["xwdtopnm"], input=xwd, check=True, capture_output=True).stdout
    cut = subprocess.run(["pnmcut", str(left), str(top), str(right - left), str(bottom - top)],
                         input=pnm, check=True, capture_output=True).stdout
    png = subprocess.run(["pnmtopng"], input=cut, check=True, capture_output=True).stdout
    with open(path, "wb") as f:
        f.write(png)
    subprocess.run(["xdotool", "key", "Escape", "Escape"], check=True)
    print(path)


def references(p, path):
    """Shows the reference algorithms' page with the Optimization menu's submenu open."""
    press(p.find(named("page tab", "References"), "the tab References"))
    bar = p.find(lambda n: n.getRoleName() == "menu bar", "the menu bar")
    menu = next(m for m in (bar.getChildAtIndex(i) for i in range(bar.childCount))
                if m.name == "Optimization")
    x, y, _ = centre(menu)
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], check=True)
    sub = p.find(lambda n: n.name == "Reference algorithms" and showing(n),
                 "the Reference algorithms submenu", root=menu)
    x, y, _ = centre(sub)
    subprocess.run(["xdotool", "mousemove", str(x), str(y)], check=True)
    first = p.find(lambda n: n.name == "Random search" and showing(n), "the first reference",
                   root=sub)
    grab_with_menus(path, (sub.parent, first.parent))


def main():
    program, folder = sys.argv[1], sys.argv[2]
    only = sys.argv[3:]  # the names of the pictures to take; all without
    os.makedirs(folder, exist_ok=True)
    if only == ["race"]:  # a program of its own, as the replay's
        race(program, os.path.join(folder, "%d-race.png" % (len(PAGES) + 6)))
        return
    with Program(program) as p:
        if only == ["experiment"]:
            experiment(p, os.path.join(folder, "7-experiment.png"))
            return
        if only == ["references"]:
            references(p, os.path.join(folder, "%d-references.png" % (len(PAGES) + 5)))
            return
        if only == ["examples"]:
            examples_menu(p, os.path.join(folder, "%d-examples.png" % (len(PAGES) + 4)))
            return
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
        compare_runs(p, os.path.join(folder, "%d-convergence.png" % (len(PAGES) + 1)))
        experiment(p, os.path.join(folder, "%d-experiment.png" % (len(PAGES) + 2)))
        examples_menu(p, os.path.join(folder, "%d-examples.png" % (len(PAGES) + 4)))
    replay(program, os.path.join(folder, "%d-replay.png" % (len(PAGES) + 3)))
    race(program, os.path.join(folder, "%d-race.png" % (len(PAGES) + 6)))


if __name__ == "__main__":
    main()
