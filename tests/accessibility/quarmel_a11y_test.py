"""End-to-end tests of Quarmel through its accessibility tree.

Usage: quarmel_a11y_test.py PROGRAM CASE [ARGUMENT...], with CASE one of the functions named
test_* (the experiment and race cases take the batch runner's path as their argument).
Exit status 0 when the case passes."""

import csv
import io
import os
import struct
import subprocess
import sys
import tempfile
import zlib

import pyatspi

from atspi_driver import (DriverError, Program, named, press, press_and_go_on, showing, text_of,
                          wait_for)


def test_calculate(program):
    """Calculate, pressed through its accessible action, shows 31 in the value label."""
    with Program(program) as p:
        group = p.find(named("panel", "Value of function"), 'the group "Value of function"')
        button = p.find(named("push button", "Calculate"), "the Calculate button", root=group)
        label = p.find(lambda n: n.getRoleName() == "label"
                       and n.description == "Value of function", "the value label", root=group)
        if label.name != "-":
            raise DriverError("the value label starts as %r, not '-'" % label.name)
        press(button)
        wait_for(lambda: label.name == "31",
                 lambda: 'the value label to read "31" (it reads %r)' % label.name, timeout=10)


def test_local_delay(program):
    """Choosing the "Local Alg." page shows it, and its delay reads 200 (its bar stands at
    500)."""
    with Program(program) as p:
        tab = p.find(named("page tab", "Local Alg."), 'the tab "Local Alg."')
        page = p.find(lambda n: n.getRoleName() == "filler" and n.name == "Local Alg.",
                      'the page "Local Alg."')
        if showing(page):
            raise DriverError('the page "Local Alg." is shown before it is chosen')
        press(tab)
        wait_for(lambda: showing(page), 'the page "Local Alg." to be shown', timeout=10)
        delay = p.find(lambda n: n.getRoleName() == "text" and n.name == "Delay [ms]",
                       "the delay field", root=page)
        if text_of(delay) != "200":
            raise DriverError("the delay reads %r, not '200'" % text_of(delay))
        bar = p.find(lambda n: n.getRoleName() == "slider" and n.name == "Delay [ms]",
                     "the delay bar", root=page)
        if bar.queryValue().currentValue != 500:
            raise DriverError("the delay bar stands at %r" % bar.queryValue().currentValue)


def test_status_values(program):
    """During a paused greedy run the status line's labels keep their names and give their
    values as descriptions: the seed and the elapsed time."""
    with Program(program) as p:
        press(p.find(named("push button", "Greedy"), "the Greedy button"))
        pause = p.find(named("check box", "Pause"), "the Pause button")
        press(pause)
        wait_for(lambda: pause.description == "Continue calculation",  # the run paused
                 "the Pause button's hint to read 'Continue calculation'", timeout=10)
        seed = p.find(named("label", "Seed"), 'the label "Seed"')
        elapsed = p.find(named("label", "Elapsed time"), 'the label "Elapsed time"')
        wait_for(lambda: seed.description.startswith("Seed ") and
                 elapsed.description.count(":") == 1,
                 lambda: "the seed and the time as descriptions (they read %r and %r)" %
                 (seed.description, elapsed.description), timeout=10)
        press(p.find(named("push button", "Stop"), "the Stop button"))


PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def test_file_argument(program):
    """A data file given to the program opens at the start as File > Open opens it: the window
    is titled with it and the formula edit holds its formula."""
    path = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", "examples",
                                        "sphere.txt"))
    with Program(program, [path]) as p:
        p.find(named("frame", "File: " + path), "the window titled with the file")
        edit = p.find(lambda n: n.getRoleName() == "text"
                      and n.description == "Enter funtion for optimization", "the formula edit")
        wait_for(lambda: text_of(edit) == "x^2+y^2",
                 lambda: "the formula edit to hold the file's (it holds %r)" % text_of(edit))


def png_pixels(data):
    """Width, height and rows of (r, g, b) of an 8-bit RGB or RGBA, non-interlaced PNG file (as
    Qt writes them); fails on anything else."""
    if data[:8] != PNG_SIGNATURE:
        raise DriverError("the file does not start with the PNG signature: %r" % data[:8])
    chunks, at = {}, 8
    while at + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        chunks.setdefault(kind, []).append(data[at + 8:at + 8 + length])
        at += 12 + length
    if b"IHDR" not in chunks or b"IEND" not in chunks:
        raise DriverError("the PNG file lacks its header or end chunk")
    width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", chunks[b"IHDR"][0])
    if depth != 8 or colour not in (2, 6) or interlace:
        raise DriverError("unexpected PNG form: depth %d, colour type %d, interlace %d"
                          % (depth, colour, interlace))
    step = 3 if colour == 2 else 4
    raw = zlib.decompress(b"".join(chunks.get(b"IDAT", [])))
    stride = width * step
    if len(raw) != height * (stride + 1):
        raise DriverError("the PNG image data has %d bytes, not %d"
                          % (len(raw), height * (stride + 1)))
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            a = line[i - step] if i >= step else 0
            b = previous[i]
            c = previous[i - step] if i >= step else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([tuple(line[x:x + 3]) for x in range(0, stride, step)])
        previous = line
    return width, height, rows


def test_export_plot(program):
    """A greedy run without delay; the convergence plot opened from the Runs menu; "Export plot
    as PNG..." driven through the real file dialog writes a PNG file of the plot as shown."""
    with Program(program) as p, tempfile.TemporaryDirectory() as folder:
        press(p.find(named("page tab", "Local Alg."), 'the tab "Local Alg."'))
        page = p.find(named("filler", "Local Alg."), 'the page "Local Alg."')
        bar = p.find(named("slider", "Delay [ms]"), "the delay bar", root=page)
        delay = p.find(named("text", "Delay [ms]"), "the delay field", root=page)
        value = bar.queryValue()
        value.currentValue = value.minimumValue
        wait_for(lambda: text_of(delay) == "0",
                 lambda: "the delay to read 0 (it reads %r)" % text_of(delay), timeout=30)

        dock = p.find(named("frame", "Convergence"), 'the dock "Convergence"')
        plot = p.find(named("filler", "Convergence plot"), "the convergence plot", root=dock)
        runs = p.find(named("table", "Finished runs"), 'the table "Finished runs"', root=dock)
        if showing(plot):
            raise DriverError("the convergence plot is shown before it is opened")
        if runs.queryTable().nRows != 0:
            raise DriverError("%d finished runs before any run" % runs.queryTable().nRows)
        press(p.find(named("push button", "Greedy"), "the Greedy button"))
        wait_for(lambda: runs.queryTable().nRows == 1,
                 lambda: "the greedy run to end as one row of the finished runs (there are %d)"
                 % runs.queryTable().nRows, timeout=60)

        press(p.menu_item("Runs", "Convergence plot"))
        wait_for(lambda: showing(plot), "the convergence plot to be shown", timeout=30)

        # The item's action ends only when its modal dialog is closed.
        press_and_go_on(p.menu_item("Runs", "Export plot as PNG..."))
        dialog = p.window(lambda w: w.getRoleName() == "dialog", "the file dialog", timeout=30)
        # Its own fields only, not the folder's files that it lists as it reads them.
        field = p.find(named("text", "File name:"), 'the file dialog\'s "File name:" field',
                       root=dialog, timeout=30, depth=2)
        path = os.path.join(folder, "plot.png")
        field.queryEditableText().setTextContents(path)
        wait_for(lambda: text_of(field) == path,
                 lambda: "the file name to read %r (it reads %r)" % (path, text_of(field)),
                 timeout=30)
        press(p.find(named("push button", "Save"), "the file dialog's Save button", root=dialog,
                     timeout=30, depth=2))

        def written():
            with open(path, "rb") as f:  # written whole and renamed into place
                return f.read()
        data = wait_for(written, lambda: "the PNG file %s (windows shown: %s)"
                        % (path, p.shown_windows()), timeout=30)
        width, height, rows = png_pixels(data)
        extents = plot.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        if extents.width < 50 or extents.height < 50:
            raise DriverError("the plot is shown at %dx%d" % (extents.width, extents.height))
        # The plot drawn at its shown size, in device pixels (as many per logical one across as
        # down).
        scale = width / extents.width
        if scale < 1 or abs(height - extents.height * scale) > scale + 1:
            raise DriverError("the PNG file is %dx%d, the plot is shown at %dx%d"
                              % (width, height, extents.width, extents.height))
        # Frame, scale and captions are in the text colour on the base one, greys in the default
        # palette; only runs are drawn in colour.
        coloured = sum(1 for row in rows for r, g, b in row if max(r, g, b) - min(r, g, b) > 80)
        if coloured < 100:
            raise DriverError("the PNG file shows no run (%d coloured pixels)" % coloured)


def enabled(node):
    return node.getState().contains(pyatspi.STATE_ENABLED)


def save_through_dialog(p, path):
    """Answers the file dialog a command opened: the file name typed in, then Save."""
    dialog = p.window(lambda w: w.getRoleName() == "dialog" and w.name != "Experiment",
                      "the file dialog", timeout=30)
    field = p.find(named("text", "File name:"), 'the file dialog\'s "File name:" field',
                   root=dialog, timeout=30, depth=2)
    field.queryEditableText().setTextContents(path)
    wait_for(lambda: text_of(field) == path,
             lambda: "the file name to read %r (it reads %r)" % (path, text_of(field)), timeout=30)
    press(p.find(named("push button", "Save"), "the file dialog's Save button", root=dialog,
                 timeout=30, depth=2))


def without_seconds(table):
    """The rows of a CSV table with the seconds column blanked: the runs' processor time is
    measured, not computed."""
    rows = list(csv.reader(io.StringIO(table)))
    if not rows or "seconds" not in rows[0]:
        raise DriverError("the table has no seconds column: %r" % table[:200])
    at = rows[0].index("seconds")
    for row in rows[1:]:
        row[at] = ""
    return rows


def test_experiment(program, batch):
    """An experiment of greedy and genetic over 3 seeds with a small budget and a target, run from
    the Runs menu on a problem file, exports the runs and long tables the batch runner prints for
    the same file, settings, seeds, budget and target (the measured seconds aside)."""
    path = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", "examples",
                                        "sphere.txt"))
    with Program(program, [path]) as p, tempfile.TemporaryDirectory() as folder:
        p.find(named("frame", "File: " + path), "the window titled with the file")
        press(p.menu_item("Runs", "Experiment..."))
        window = p.window(lambda w: w.name == "Experiment", "the experiment window", timeout=30)
        for name in ("Steepest", "Simulated annealing"):
            press(p.find(named("check box", name), 'the check box "%s"' % name, root=window))
        for name, text in (("Seeds", "3"), ("First seed", "5"), ("Evaluations per run", "3000"),
                           ("Target value", "0,01")):
            field = p.find(named("text", name), 'the field "%s"' % name, root=window)
            field.queryEditableText().setTextContents(text)
            wait_for(lambda: text_of(field) == text, 'the field "%s" to read %r' % (name, text))
        export = p.find(named("push button", "Export runs as CSV..."), "the runs export",
                        root=window)
        if enabled(export):
            raise DriverError("the runs export is enabled before any experiment")
        press(p.find(named("push button", "Start"), "the Start button", root=window))
        progress = p.find(named("progress bar", "Experiment progress"), "the progress bar",
                          root=window)
        wait_for(lambda: enabled(export) and progress.queryValue().currentValue == 6,
                 lambda: "the experiment's 6 runs to end (progress %r)"
                 % progress.queryValue().currentValue, timeout=120)
        table = p.find(named("table", "Experiment results"), "the results table", root=window)
        if table.queryTable().nRows != 2:
            raise DriverError("%d result rows, not 2" % table.queryTable().nRows)

        exported = {}
        for table_format, caption in (("runs", "Export runs as CSV..."),
                                      ("long", "Export long table as CSV...")):
            press_and_go_on(p.find(named("push button", caption), caption, root=window))
            exported[table_format] = os.path.join(folder, table_format + ".csv")
            save_through_dialog(p, exported[table_format])

            def written():
                with open(exported[table_format], encoding="utf-8") as f:  # renamed into place
                    return f.read()
            exported[table_format] = wait_for(written, "the %s table" % table_format, timeout=30)

    def batch_table(table_format):
        table = ""
        for algorithm, header in (("greedy", []), ("genetic", ["--no-header"])):
            table += subprocess.run(
                [batch, "--algorithm", algorithm, "--runs", "3", "--seed", "5",
                 "--max-evaluations", "3000", "--target", "0.01", "--format", table_format]
                + header + [path], check=True, capture_output=True, text=True).stdout
        return table
    runs = batch_table("runs")
    if without_seconds(exported["runs"]) != without_seconds(runs):
        raise DriverError("the window's runs table differs from the batch runner's:\n%s\n%s"
                          % (exported["runs"], runs))
    if exported["long"] != batch_table("long"):
        raise DriverError("the window's long table differs from the batch runner's")


def float32(text):
    """A number text (decimal comma or point) as the float it names."""
    return struct.unpack("f", struct.pack("f", float(text.replace(",", "."))))[0]


def test_race(program, batch):
    """A race of greedy and genetic (Runs > Race..., the others unchecked, the new seed the dialog
    shows) on a problem file without delays: each lane's row of the finished runs is the batch
    runner's single run of its algorithm with that seed (seed, best value, solutions,
    evaluations)."""
    path = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", "examples",
                                        "sphere.txt"))
    with Program(program, [path]) as p:
        p.find(named("frame", "File: " + path), "the window titled with the file")
        for caption in ("Local Alg.", "Genetic Alg."):
            page = p.find(named("filler", caption), "the page " + caption)
            bar = p.find(named("slider", "Delay [ms]"), "the delay bar", root=page)
            bar.queryValue().currentValue = 0
        press_and_go_on(p.menu_item("Runs", "Race..."))
        dialog = p.window(lambda w: w.getRoleName() == "dialog" and w.name == "Race",
                          "the race dialog", timeout=30)
        boxes = {name: p.find(named("check box", name), 'the check box "%s"' % name,
                              root=dialog)
                 for name in ("Greedy", "Steepest", "Simulated annealing", "Genetic")}
        for name in ("Steepest", "Simulated annealing"):
            press(boxes[name])
        checked = {name for name, box in boxes.items()
                   if box.getState().contains(pyatspi.STATE_CHECKED)}
        if checked != {"Greedy", "Genetic"}:
            raise DriverError("the race's checked lanes are %r" % sorted(checked))
        seed_choice = p.find(lambda n: n.getRoleName() == "radio button"
                             and n.name.startswith("New seed "), "the new seed", root=dialog)
        if not seed_choice.getState().contains(pyatspi.STATE_CHECKED):
            raise DriverError("the new seed is not chosen without a fixed seed")
        seed = seed_choice.name[len("New seed "):]
        press(p.find(named("push button", "OK"), "the OK button", root=dialog))
        runs = p.find(named("table", "Finished runs"), 'the table "Finished runs"')
        wait_for(lambda: runs.queryTable().nRows == 2,
                 lambda: "both lanes to end as rows of the finished runs (there are %d)"
                 % runs.queryTable().nRows, timeout=40)
        table = runs.queryTable()
        window = [[table.getAccessibleAt(r, c).name for c in (0, 2, 3, 4, 5)] for r in (0, 1)]

    for row, algorithm in zip(window, ("greedy", "genetic")):
        alone = next(csv.DictReader(io.StringIO(subprocess.run(
            [batch, "--algorithm", algorithm, "--seed", seed, "--format", "runs", path],
            check=True, capture_output=True, text=True).stdout)))
        expected = [algorithm, alone["seed"], alone["best"], alone["solutions"],
                    alone["evaluations"]]
        same = (row[:2] + row[3:] == expected[:2] + expected[3:]
                and float32(row[2]) == float32(expected[2]))
        if not same:
            raise DriverError("the %s lane's row %r is not its run alone %r"
                              % (algorithm, row, expected))


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    program, case = sys.argv[1], sys.argv[2]
    test = globals().get("test_" + case)
    if test is None:
        sys.exit("unknown case " + case)
    try:
        test(program, *sys.argv[3:])
    except DriverError as e:
        print("FAILED:", e, file=sys.stderr)
        sys.exit(1)
    print("passed:", case)


if __name__ == "__main__":
    main()
