#!/usr/bin/python3
"""A student who reads the screen through a screen reader answers one question: from the
accessibility tree alone (AT-SPI, as Orca sees it) the question is read, an answer typed on the
keypad's keys, the equation read back, Check pressed, the coaching read, and the score.
Run by accessibility_test.sh, which starts the program once the file named by the argument is
made; exits 77 to be skipped."""
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
# What a screen reader is told: the focus moving and texts changing, as (name, event).
told = []
pyatspi.Registry.registerEventListener(
    lambda event: told.append((event.source.name, event.type)), "object:text-changed", "focus:")
# The program learns which events are listened for as it starts: it starts after this.
open(sys.argv[1], "w").close()


def fail(why):
    print("FAIL: " + why, file=sys.stderr)
    sys.exit(1)


def children(node):
    try:
        return [child for child in node if child is not None]
    except Exception:  # a node that went away while it was walked
        return []


def find_all(node, match):
    found = []
    try:
        if match(node):
            found.append(node)
    except Exception:
        return found
    for child in children(node):
        found += find_all(child, match)
    return found


def text_of(node):
    try:
        return node.queryText().getText(0, -1)
    except NotImplementedError:
        return node.name


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


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


def program():
    for app in children(pyatspi.Registry.getDesktop(0)):
        if app.name == "Tarvolin":
            return app
    return None


def window(title):
    app = program()
    for top in children(app) if app else []:
        if top.name == title and showing(top):
            return top
    return None


def one(root, role, name):
    found = find_all(root, lambda n: n.getRoleName() == role and n.name == name)
    return found[0] if found else None


def press(root, role, name):
    def pressed():
        control = one(root, role, name)
        try:
            return control and control.queryAction().doAction(0)
        except Exception as e:  # a control the tree named before it was made again
            print("again", name, e)
            root.clearCache()
            return False
    wait_for('%s "%s" to be pressed' % (role, name), pressed)


def dialog_with(role, name):
    """The showing dialog of the program that holds a control of this role and name."""
    def look():
        app = program()
        for top in children(app) if app else []:
            if top.getRoleName() == "dialog" and showing(top) and one(top, role, name):
                return top
        return None
    return wait_for('a dialog with %s "%s"' % (role, name), look)


main = wait_for("the main window", lambda: window("Writing Tarvolin Equations"))
quiz = wait_for("the quiz view's text",
                lambda: find_all(main, lambda n: "Press F3" in text_of(n) and n.getRoleName() != "frame"))[0]
press(main, "push button", "Start...")
select = wait_for("the type choice", lambda: window("Select Reaction Types"))
press(select, "check box", "Precipitation")
press(select, "push button", "OK")

answer = dialog_with("text", "Your equation")
strip = one(answer, "text", "Your equation")
wait_for("the focus on the equation to be told", lambda: ("Your equation", "focus:") in told)
labels = [text_of(n) for n in find_all(answer, lambda n: n.getRoleName() == "label")]
question = next((text for text in labels if text.strip()), "")
if not question:
    fail("no question read in the answer dialog: %r" % labels)
print("question:", question)

for key in ["Na", "charge 1+", "plus", "Cl", "charge 1-", "yields", "Na", "Cl"]:
    press(answer, "push button", key)
wait_for("the equation read back", lambda: text_of(strip) == "Na+ + Cl- -> NaCl" or None)
print("equation:", text_of(strip))
wait_for("the equation's change to be told",
         lambda: ("Your equation", "object:text-changed:insert") in told)

press(answer, "push button", "Check")
# Coaching: a dialog of its own with a strip that says what is wrong, and "Answer".
coach = dialog_with("push button", "Answer")
coaching = [text_of(n) for n in find_all(coach, lambda n: n.getRoleName() == "label")]
said = [text for text in coaching if " is not " in text]
if not said:
    fail("no coaching text read: %r" % coaching)
print("coaching:", said[0])
press(coach, "push button", "Answer")

# The answer is shown; after it the score stands in the quiz view.
shown = wait_for("the answer shown", lambda: window("Sorry, you are incorrect"))
press(shown, "push button", "OK")
score = wait_for("the score", lambda: [line for line in text_of(quiz).split("\n")
                                       if line.startswith("You have scored")])[0]
if score != "You have scored 0 out of 3 points.":
    fail("the score reads %r" % score)
print("score:", score)
print("question, equation, coaching and score all read from the accessibility tree")
