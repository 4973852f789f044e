"""Drives the real Quarmel program through the accessibility tree (AT-SPI), as a screen reader
or a user of assistive technology would. Needs a session bus and a display; Qt must have its
accessibility bridge on (QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1)."""

import os
import subprocess
import time

import pyatspi


class DriverError(AssertionError):
    pass


def wait_for(condition, what, timeout=60.0, interval=0.1):
    """Polls `condition` until it returns something true; fails after `timeout` seconds."""
    end = time.monotonic() + timeout
    while True:
        try:
            result = condition()
        except Exception:  # the tree may change while it is read
            result = None
        if result:
            return result
        if time.monotonic() > end:
            raise DriverError("timed out waiting for " + what)
        time.sleep(interval)


# Subtrees no search here needs to enter: they are large, and every node costs a round trip.
UNSEARCHED_ROLES = ("table", "menu bar")


def find(root, predicate, depth=40):
    """The first node below `root` (depth first, in tree order) that satisfies `predicate`. A
    node that cannot be read is passed over, not its children."""
    if root is None or depth < 0:
        return None
    try:
        if predicate(root):
            return root
    except Exception:
        pass
    try:
        if root.getRoleName() in UNSEARCHED_ROLES:
            return None
        count = root.childCount
    except Exception:
        return None
    for i in range(count):
        try:
            child = root.getChildAtIndex(i)
        except Exception:
            continue
        found = find(child, predicate, depth - 1)
        if found is not None:
            return found
    return None


def named(role, name):
    return lambda node: node.getRoleName() == role and node.name == name


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def text_of(node):
    text = node.queryText()
    return text.getText(0, -1)


def press(node):
    """Runs the node's first action (a button's press, a tab's selection)."""
    action = node.queryAction()
    if action.nActions < 1:
        raise DriverError("%s %r has no action" % (node.getRoleName(), node.name))
    action.doAction(0)


class Program:
    """The program under test, started on entry and ended on exit."""

    def __init__(self, path):
        self.path = path
        self.process = None
        self.app = None

    def __enter__(self):
        # The registry must be up before the program starts, or the program's announcement of
        # itself may go unheard. Asking for the desktop starts it.
        wait_for(lambda: pyatspi.Registry.getDesktop(0).childCount >= 0,
                 "the accessibility registry")
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        self.process = subprocess.Popen([self.path], env=env)
        self.app = wait_for(self._application, "the program in the accessibility tree")
        wait_for(lambda: find(self.app, named("push button", "Calculate")),
                 "the main window's controls")
        return self

    def __exit__(self, *exc):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
        return False

    def _application(self):
        if self.process.poll() is not None:
            raise DriverError("the program ended with status %d" % self.process.returncode)
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name.lower() == "quarmel":
                return app
        return None

    def find(self, predicate, what, root=None, timeout=60.0):
        return wait_for(lambda: find(root or self.app, predicate), what, timeout)
