"""Drives Quillbeam through AT-SPI alone, as a screen reader would: walks the window's controls,
presses the links, fills the folder box, presses Generate!, reads the completion alert and asks
for the word at the end of the address box. Run by bus_check.sh, on a private session bus."""
import filecmp
import os
import subprocess
import sys
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, Gio, GLib  # noqa: E402

# Calls that libatspi 2.46 marks deprecated are the ones its current screen readers still make.
warnings.filterwarnings("ignore", category=DeprecationWarning)

WORK = os.environ["QUILLBEAM_WORK"]
PROGRAM = os.environ["QUILLBEAM_PROGRAM"]
OPENED = os.path.join(WORK, "opened")
LINKS = {
    "Quillbeam extras: more banners, fonts and tips": "http://www.quillbeam.net/ZRV/NEW/",
    "Check for Updates": "http://www.quillbeam.net/ZRV/update.htm",
}
# The window's controls in their order on the bus: role, name, and the caption labelling a box.
CONTROLS = [
    ("link", "Quillbeam extras: more banners, fonts and tips", None),
    ("label", "Select a Project Folder:", None),
    ("label", "Message 1", None),
    ("label", "Message 2", None),
    ("label", "Message 3", None),
    ("label", "Message 4", None),
    ("label", "Enter URL where banner will link to:", None),
    ("link", "Check for Updates", None),
    ("text", "Select a Project Folder", "Select a Project Folder:"),
    ("push button", "Browse", None),
    ("text", "Message 1", "Message 1"),
    ("text", "Message 2", "Message 2"),
    ("text", "Message 3", "Message 3"),
    ("text", "Message 4", "Message 4"),
    ("push button", "Generate!", None),
    ("text", "Enter URL where banner will link to", "Enter URL where banner will link to:"),
]
PACKAGE = ["mytext1.txt", "mytext2.txt", "mytext3.txt", "mytext4.txt", "htmlcode.html",
           "bannerloop2.swf", "mypic.jpg"]


def fail(message):
    sys.exit(f"bus check: {message}")


def check(condition, message):
    if not condition:
        fail(message)


# A guard against a hang, for every wait and every call on the bus: far longer than either takes on
# a busy machine.
GUARD_SECONDS = 120


def wait_for(what, probe, seconds=GUARD_SECONDS):
    """Polls probe() until it gives a true value, which it returns; fails after `seconds`."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = probe()
        if value:
            return value
        time.sleep(0.02)
    fail(f"timed out waiting for {what}")


def children(node):
    return [node.get_child_at_index(i) for i in range(node.get_child_count())]


def descendants(node):
    for child in children(node):
        yield child
        yield from descendants(child)


def name_owned(bus, name):
    reply = bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                          "NameHasOwner", GLib.Variant("(s)", (name,)), None,
                          Gio.DBusCallFlags.NONE, -1, None)
    return reply.unpack()[0]


def find_program(desktop):
    # The desktop's list of applications follows the registry's events only while an event loop
    # runs, so each look asks afresh.
    desktop.clear_cache()
    return next((app for app in children(desktop) if app and app.get_name() == "quillbeam"), None)


def window_named(app, role, name):
    app.clear_cache()
    for window in children(app):
        try:
            if window and window.get_role_name() == role and window.get_name() == name:
                return window
        except GLib.Error:  # closed since the list was read
            pass
    return None


def action_names(node):
    return [Atspi.Action.get_action_name(node, i) for i in range(Atspi.Action.get_n_actions(node))]


def opened():
    try:
        with open(OPENED, encoding="utf-8") as file:
            return file.read().split()
    except FileNotFoundError:
        return []


def check_controls(frame):
    controls = children(frame)
    found = [(c.get_role_name(), c.get_name()) for c in controls]
    check(found == [(role, name) for role, name, _ in CONTROLS], f"controls on the bus: {found}")
    for control, (role, name, caption) in zip(controls, CONTROLS):
        labels = [relation.get_target(0).get_name() for relation in control.get_relation_set()
                  if relation.get_relation_type() == Atspi.RelationType.LABELLED_BY]
        check(labels == ([caption] if caption else []), f"{name} is labelled by {labels}")
        if role == "link":
            check(action_names(control) == ["Press"], f"{name} has actions {action_names(control)}")
            check(control.get_description().startswith("Opens the page"),
                  f"{name} is described as {control.get_description()!r}")
            check(not control.get_state_set().contains(Atspi.StateType.FOCUSABLE),
                  f"{name} takes the focus")
    return {name: control for control, (_, name, _) in zip(controls, CONTROLS)}


def press(control):
    check(Atspi.Action.do_action(control, 0), f"{control.get_name()} refused its action")


def set_text(control, text):
    check(Atspi.EditableText.set_text_contents(control, text),
          f"{control.get_name()} refused its new text")
    got = Atspi.Text.get_text(control, 0, -1)
    check(got == text, f"{control.get_name()} holds {got!r}")


def main():
    session = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    wait_for("the accessibility bus", lambda: name_owned(session, "org.a11y.Bus"))
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    program = subprocess.Popen([PROGRAM], env=env)
    try:
        Atspi.init()
        Atspi.set_timeout(GUARD_SECONDS * 1000, GUARD_SECONDS * 1000)
        desktop = Atspi.get_desktop(0)
        app = wait_for("the program on the bus",
                       lambda: check(program.poll() is None, f"the program ended ({program.returncode})") or
                       find_program(desktop))
        frame = wait_for("the window", lambda: window_named(app, "frame", "Quillbeam 1.0"))
        controls = check_controls(frame)

        # Each link opens its page through the desktop's opener, as a click does.
        for name, address in LINKS.items():
            before = opened()
            press(controls[name])
            wait_for(f"{name} to open its page", lambda: len(opened()) > len(before))
            check(opened() == before + [address], f"{name} opened {opened()}")

        output = os.path.join(WORK, "output", "Zoë’s “banner” €")
        os.mkdir(output)
        set_text(controls["Select a Project Folder"], output)
        press(controls["Generate!"])
        alert = wait_for("the completion alert", lambda: window_named(app, "alert", "Quillbeam"))
        texts = [node.get_name() for node in descendants(alert) if node.get_role_name() == "label"]
        check(any(text.startswith("Done!\nUpload all the files") for text in texts),
              f"the completion alert reads {texts}")
        for file in PACKAGE:
            check(os.path.getsize(os.path.join(output, file)) > 0, f"{file} is empty")
        template = os.path.join(os.path.dirname(os.path.realpath(PROGRAM)), "Template")
        for file in ["bannerloop2.swf", "mypic.jpg"]:
            check(filecmp.cmp(os.path.join(template, file), os.path.join(output, file), False),
                  f"{file} differs from the template")
        ok = next(node for node in descendants(alert) if node.get_role_name() == "push button")
        press(ok)
        wait_for("the alert to close", lambda: not window_named(app, "alert", "Quillbeam"))

        # The word and the sentence at the very end of the address box: the calls that once
        # never returned. The guard's timeout raises.
        address = controls["Enter URL where banner will link to"]
        set_text(address, "http://127.0.0.1/next banner")
        end = Atspi.Text.get_character_count(address)
        try:
            word = Atspi.Text.get_text_at_offset(address, end, Atspi.TextBoundaryType.WORD_START)
            sentence = Atspi.Text.get_text_at_offset(address, end,
                                                     Atspi.TextBoundaryType.SENTENCE_START)
        except GLib.Error as error:
            fail(f"no answer for the end of the address box: {error.message}")
        check((word.content, word.start_offset, word.end_offset) == ("banner", 22, 28),
              f"the word at the end is {word.content!r} {word.start_offset}..{word.end_offset}")
        check(sentence.end_offset == end, f"the sentence at the end ends at {sentence.end_offset}")
        check(program.poll() is None, "the program ended")
    finally:
        program.terminate()
        program.wait()
        launcher.terminate()
        launcher.wait()
    print("bus check: controls, relations, links, Generate! and the end of the address box hold")


main()
