#!/usr/bin/python3
"""A student who uses a screen reader answers a question: from the accessibility tree alone
(AT-SPI, as Orca sees it) the question is read, an answer typed on the keypad's keys and read
back, Check pressed, the coaching read, the score, and the chart of points as a table.
accessibility_test.sh starts the program once the file named by the argument is made."""
import os
import sys
import time

try:
    import pyatspi
    from gi.repository import GLib
except ImportError:
    print("SKIP: python3-pyatspi is not installed")
    sys.exit(77)

LIMIT = int(os.environ.get("SMOKE_LIMIT", "120"))  # seconds to wait for any one thing
told = []  # (name, event): the focus moving and texts changing, as a screen reader hears them
pyatspi.Registry.registerEventListener(
    lambda event: told.append((event.source.name, event.type)), "object:text-changed", "focus:")
# The program learns which events are listened for as it starts: it starts after this.
open(sys.argv[1], "w").close()


def fail(why):
    sys.exit("FAIL: " + why)


def wait_for(what, look):
    deadline = time.monotonic() + LIMIT
    while time.monotonic() < deadline:
        while GLib.MainContext.default().iteration(False):
            pass
        found = look()
        if found:
            return found
        time.sleep(0.1)
    fail("waited %ds for %s" % (LIMIT, what))


def find_all(node, match):
    try:
        found = [node] if match(node) else []
        return found + [n for child in node if child for n in find_all(child, match)]
    except Exception:  # a node that went away while it was walked
        return []


def text_of(node):
    try:
        return node.queryText().getText(0, -1)
    except NotImplementedError:
        return node.name


def one(root, role, name):
    found = find_all(root, lambda n: role in ("", n.getRoleName()) and n.name.startswith(name))
    return found[0] if found else None


def windows(role="", holding=("", "")):
    """The program's showing top windows of this role that hold a control of role and name."""
    for app in pyatspi.Registry.getDesktop(0):
        if app and app.name == "Tarvolin":
            return [top for top in app if top and top.getRoleName().startswith(role)
                    and top.getState().contains(pyatspi.STATE_SHOWING) and one(top, *holding)]
    return []


def window(title):
    return wait_for(title, lambda: next((w for w in windows() if w.name == title), None))


def press(root, role, name):
    def pressed():
        try:
            return one(root, role, name).queryAction().doAction(0)
        except Exception:  # a control named before it was made again: look again
            root.clearCache()
    wait_for('%s "%s" to be pressed' % (role, name), pressed)


main = window("Writing Tarvolin Equations")
quiz = wait_for("the quiz view", lambda: one(main, "filler", ""))
press(main, "push button", "Start...")
press(window("Select Reaction Types"), "check box", "Precipitation")
press(window("Select Reaction Types"), "push button", "OK")

answer = wait_for("the answer dialog", lambda: windows("dialog", ("text", "Your equation")))[0]
strip = one(answer, "text", "Your equation")
wait_for("the focus on the equation to be told", lambda: ("Your equation", "focus:") in told)
labels = [text_of(n) for n in find_all(answer, lambda n: n.getRoleName() == "label")]
print("question:", labels and labels[0] or fail("no question read: %r" % labels))
for key in ["Na", "charge 1+", "plus", "Cl", "charge 1-", "yields", "Na", "Cl"]:
    press(answer, "push button", key)
wait_for("the equation read back", lambda: text_of(strip) == "Na+ + Cl- -> NaCl")
wait_for("the equation's change to be told",
         lambda: ("Your equation", "object:text-changed:insert") in told)

press(answer, "push button", "Check")
coach = wait_for("coaching", lambda: windows("dialog", ("push button", "Answer")))[0]
said = wait_for("the coaching text", lambda: one(coach, "label", "Na+ is not"))
print("coaching:", said.name)
press(coach, "push button", "Answer")
press(window("Sorry, you are incorrect"), "push button", "OK")
score = wait_for("the score", lambda: "You have scored 0 out of 3 points." in text_of(quiz))

press(main, "menu item", "Results...")
chart = wait_for("the chart as a table", lambda: one(window("Results"), "table", "Points per"))
table = chart.queryTable()
cells = [[table.getAccessibleAt(r, c).name for c in range(table.nColumns)]
         for r in range(table.nRows)]
if ["Precipitation (1 answered)", "0%", "0%"] not in cells:
    fail("the chart reads %r" % cells)
print("question, equation, coaching, score and chart all read from the accessibility tree")
