"""Drives the real Quarmel program through the accessibility tree (AT-SPI), as a screen reader
or a user of assistive technology would. Needs a session bus and a display; Qt must have its
accessibility bridge on (QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1)."""

import os
import subprocess
import time

import pyatspi
from gi.repository import Gio, GLib


class DriverError(AssertionError):
    pass


def wait_for(condition, what, timeout=60.0, interval=0.1):
    """Polls `condition` until it returns something true; fails after `timeout` seconds. `what`
    says what was awaited: a text, or a function giving one when the wait fails (to tell what
    was seen at the end)."""
    end = time.monotonic() + timeout
    while True:
        try:
            result = condition()
        except Exception:  # the tree may change while it is read
            result = None
        if result:
            return result
        if time.monotonic() > end:
            raise DriverError("timed out waiting for " + _described(what))
        time.sleep(interval)


def _described(what):
    if not callable(what):
        return what
    try:
        return what()
    except Exception as e:  # the node the text reads from may have gone
        return "a state that could not be read (%s)" % e


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


_accessibility_bus = None


def _bus():
    """A connection of our own to the accessibility bus, found through the session bus."""
    global _accessibility_bus
    if _accessibility_bus is None:
        session = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        reply = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress",
                                  None, GLib.VariantType("(s)"), Gio.DBusCallFlags.NONE, 10000,
                                  None)
        _accessibility_bus = Gio.DBusConnection.new_for_address_sync(
            reply.unpack()[0],
            Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
            | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
    return _accessibility_bus


def press_and_go_on(node):
    """Runs the node's first action without waiting for it to end. The program answers an
    action only when it has run, so one that opens a modal dialog (a menu item's "...") would
    hold `press` until the dialog is closed."""
    message = Gio.DBusMessage.new_method_call(node.app.bus_name, node.path,
                                              "org.a11y.atspi.Action", "DoAction")
    message.set_body(GLib.Variant("(i)", (0,)))
    message.set_flags(Gio.DBusMessageFlags.NO_REPLY_EXPECTED)
    bus = _bus()
    bus.send_message(message, Gio.DBusSendMessageFlags.NONE)
    bus.flush_sync(None)


class Program:
    """The program under test, started on entry and ended on exit."""

    def __init__(self, path, arguments=()):
        self.path = path
        self.arguments = list(arguments)
        self.process = None
        self.app = None

    def __enter__(self):
        # The registry must be up before the program starts, or the program's announcement of
        # itself may go unheard. Asking for the desktop starts it.
        wait_for(lambda: pyatspi.Registry.getDesktop(0).childCount >= 0,
                 "the accessibility registry")
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        self.process = subprocess.Popen([self.path] + self.arguments, env=env)
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

    def find(self, predicate, what, root=None, timeout=60.0, depth=40):
        return wait_for(lambda: find(root or self.app, predicate, depth), what, timeout)

    def menu_item(self, menu, item, timeout=60.0):
        """The item captioned `item` in the menu bar's menu `menu` (captions without their
        "&")."""
        def search():
            bar = find(self.app, lambda n: n.getRoleName() == "menu bar")
            for i in range(bar.childCount):
                top = bar.getChildAtIndex(i)
                if top.name == menu:
                    return find(top, named("menu item", item))
            return None
        return wait_for(search, 'the item "%s" of the menu "%s"' % (item, menu), timeout)

    def _windows(self):
        windows = (self.app.getChildAtIndex(i) for i in range(self.app.childCount))
        return [w for w in windows if w is not None and showing(w)]

    def window(self, predicate, what, timeout=60.0):
        """A shown top-level window of the program (a dialog, say) that satisfies
        `predicate`."""
        return wait_for(lambda: next((w for w in self._windows() if predicate(w)), None), what,
                        timeout)

    def shown_windows(self):
        """The roles and names of the program's shown top-level windows, to tell in a failure."""
        return ", ".join("%s %r" % (w.getRoleName(), w.name) for w in self._windows())
