"""End-to-end tests of Quarmel through its accessibility tree.

Usage: quarmel_a11y_test.py PROGRAM CASE, with CASE one of the functions named test_*.
Exit status 0 when the case passes."""

import sys

from atspi_driver import DriverError, Program, named, press, showing, text_of, wait_for


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
        wait_for(lambda: label.name == "31", 'the value label to read "31" (it reads %r)'
                 % label.name, timeout=10)


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


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    program, case = sys.argv[1], sys.argv[2]
    test = globals().get("test_" + case)
    if test is None:
        sys.exit("unknown case " + case)
    try:
        test(program)
    except DriverError as e:
        print("FAILED:", e, file=sys.stderr)
        sys.exit(1)
    print("passed:", case)


if __name__ == "__main__":
    main()
