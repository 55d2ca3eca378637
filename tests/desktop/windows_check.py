#!/usr/bin/python3
"""Sacotin's three windows driven from the keyboard as a player drives them, on a real desktop,
read as a screen reader reads them (AT-SPI: which window is active, what has the keyboard):
the mode switch, Help and About opening with their OK button holding the keyboard, Enter and
Escape, the keyboard back in the main window as they close, and Help and About asked for again
while they are open behind the main window. Where the desktop can tell, the window it has
focused and on top is the one that has the keyboard, and the windows carry the names of the
program's menu entry.

  windows_check.py SESSION PROGRAM [--expect-platform NAME] [--quiet-start] [--layout-positions]
                   [--desktop-entry FILE] [--tests COMMAND] [--kwin-desk PATH]

SESSION is x11, mutter, sway or kwin, with -x11 for the program on XWayland (mutter-x11,
kwin-x11). The program is
started on the demo data (with the Qt platform QT_QPA_PLATFORM names, or the one it chooses
itself, which --expect-platform checks); what it prints is shown, and with --quiet-start must be
nothing. --tests runs a command first (the in-process window tests) while the session holds its
keyboard, with QT_QPA_PLATFORM set to the program's platform."""
import argparse
import configparser
import os
import subprocess
import sys
import time

import shlex

import pyatspi

import desktop_sessions

MAIN, HELP, ABOUT = "Sacotin", "Aide de Sacotin", "A Propos de Sacotin"
ITEM_LIST = ("list", "Objets du personnage")
SEARCH_CHOOSER = ("combo box", "Choisissez dans la liste ou saisissez librement :")
OK = ("push button", "OK")
# The "?" menu: the menu bar holds "Recherche" (or "Inventaire"), then "?".
ASK_HELP = [["Alt_L"], ["Right"], ["Down"], ["Return"]]
ASK_ABOUT = [["Alt_L"], ["Right"], ["Down"], ["Down"], ["Return"]]
SWITCH_MODE = [["Alt_L"], ["Return"]]

failures = []


class Failed(Exception):
    pass


def fail(message):
    """A check failed: what follows would only see its consequences."""
    failures.append(message)
    print("FAIL " + message)
    raise Failed(message)


def program_windows():
    for application in pyatspi.Registry.getDesktop(0):
        if application and application.name == "Sacotin":
            return [application.getChildAtIndex(i) for i in range(application.childCount)]
    return []


def focused_in(accessible):
    state = accessible.getState()
    if state.contains(pyatspi.STATE_FOCUSED) and accessible.getRoleName() != "list item":
        return (accessible.getRoleName(), accessible.name)
    for index in range(accessible.childCount):
        found = focused_in(accessible.getChildAtIndex(index))
        if found:
            return found
    return None


def view():
    """(title of the active window, (role, name) of what has the keyboard in it), as AT-SPI
    tells them; the titles of the windows shown."""
    active, focus, shown = None, None, []
    for window in program_windows():
        state = window.getState()
        if state.contains(pyatspi.STATE_SHOWING):
            shown.append(window.name)
        if state.contains(pyatspi.STATE_ACTIVE):
            active, focus = window.name, focused_in(window)
    return active, focus, shown


def expect(step, active, focus, session, absent=None, settle=0.0):
    """Waits up to 10 s for the active window and the keyboard's control to be these (after
    `settle` seconds, for a step that must leave them as they are)."""
    time.sleep(settle)
    seen = None
    for _ in range(100):
        try:
            seen = view()
        except Exception as error:  # a window going away while it is read
            seen = (None, None, [str(error)])
        if seen[0] == active and seen[1] == focus and (absent is None or absent not in seen[2]):
            break
        time.sleep(0.1)
    else:
        fail(f"{step}: expected {active} active with {focus} holding the keyboard, saw {seen}")
    # Help and About stay in front of the main window on some desktops (X11 window managers keep
    # a program's utility windows above its other windows): only theirs is checked.
    top = session.top_window() if active != MAIN else None
    if top is not None and top != active:
        fail(f"{step}: {active} has the keyboard but the desktop has {top} in front")
    print(f"ok   {step}: {active}, {focus[0]} '{focus[1]}'" +
          (f" (in front for the desktop too)" if top else ""))


def keys(session, sequence):
    for chord in sequence:
        session.press(chord)
        time.sleep(0.15)


def check_names(session, entry_file):
    entry = configparser.ConfigParser(interpolation=None)
    entry.read(entry_file)
    expected = {"app_id": os.path.basename(entry_file).removesuffix(".desktop"),
                "class": entry["Desktop Entry"].get("StartupWMClass")}
    for title in (MAIN, HELP, ABOUT):
        names = session.window_names(title)
        for kind, name in names.items():
            if name != expected[kind]:
                fail(f"{title}: {kind} {name}, the menu entry says {expected[kind]}")
            else:
                print(f"ok   {title}: {kind} {name}, as its menu entry")


def check_positions():
    """Where the platform places windows, Help and About open where the layout places them."""
    for title, twips in ((HELP, (2760, 3750)), (ABOUT, (2340, 1935))):
        for window in program_windows():
            if window.name == title:
                x, y = window.queryComponent().getPosition(pyatspi.DESKTOP_COORDS)
                expected = (twips[0] // 15, twips[1] // 15)
                if (x, y) != expected:
                    fail(f"{title} at {(x, y)}, the layout says {expected}")
                else:
                    print(f"ok   {title} at {(x, y)}, as the layout")


def asked_again(session, ask, title, situation):
    """The player brings the main window forward, then asks for the window again from the menu."""
    session.bring_forward(MAIN)
    expect(f"the player brings the main window forward ({situation})", MAIN, ITEM_LIST, session)
    keys(session, ask)
    expect(f"{title} asked for from the menu comes forward ({situation})", title, OK, session)


def scenario(session, args):
    expect("start", MAIN, ITEM_LIST, session)
    keys(session, SWITCH_MODE)
    expect("Recherche: the search chooser takes the keyboard", MAIN, SEARCH_CHOOSER, session)
    keys(session, SWITCH_MODE)
    expect("Inventaire: the item list takes the keyboard", MAIN, ITEM_LIST, session)

    keys(session, ASK_HELP)
    expect("aide: Help opens with OK holding the keyboard", HELP, OK, session)
    keys(session, [["Escape"]])
    expect("Escape does nothing in Help", HELP, OK, session, settle=0.5)
    keys(session, [["Return"]])
    expect("Enter: Help hides, the keyboard back in the main window", MAIN, ITEM_LIST, session,
           absent=HELP)

    keys(session, ASK_HELP)
    expect("aide again: Help shown again", HELP, OK, session)
    asked_again(session, ASK_HELP, HELP, "Help open behind")
    asked_again(session, ASK_ABOUT, ABOUT, "the first time, Help open behind")
    if args.layout_positions:
        check_positions()
    if args.desktop_entry:
        check_names(session, args.desktop_entry)
    asked_again(session, ASK_ABOUT, ABOUT, "About open behind, Help behind it")
    asked_again(session, ASK_HELP, HELP, "Help open behind About")
    keys(session, [["Return"]])
    expect("Enter: Help hides, the keyboard back in the main window", MAIN, ITEM_LIST, session,
           absent=HELP)
    keys(session, ASK_ABOUT)
    expect("à propos: About, left open behind, comes forward", ABOUT, OK, session)
    keys(session, [["Escape"]])
    expect("Escape: About closes, the keyboard back in the main window", MAIN, ITEM_LIST,
           session, absent=ABOUT)


def check_platform(program, expected):
    """The Qt platform plug-in the program loaded is the one expected."""
    for _ in range(100):
        with open(f"/proc/{program.pid}/maps") as maps:
            loaded = {line.rsplit("/", 1)[-1] for line in maps.read().splitlines()
                      if "/platforms/" in line}
        if loaded:
            break
        time.sleep(0.1)
    if loaded != {f"libq{expected}.so"} and loaded != {f"libq{expected}-generic.so"}:
        fail(f"the program runs on {sorted(loaded)}, not {expected}")
    print(f"ok   the program runs on Qt's {expected} platform")


def make_session(kind, args):
    titles = (MAIN, HELP, ABOUT)
    if kind == "x11":
        return desktop_sessions.X11Session(titles)
    if kind in ("mutter", "mutter-x11"):
        return desktop_sessions.MutterSession(titles, x_windows=kind == "mutter-x11")
    if kind == "sway":
        return desktop_sessions.SwaySession(titles)
    if kind in ("kwin", "kwin-x11"):
        return desktop_sessions.KWinSession(titles, args.kwin_desk, x_windows=kind == "kwin-x11")
    sys.exit(f"unknown session {kind}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("session")
    parser.add_argument("program")
    parser.add_argument("--desktop-entry")
    parser.add_argument("--layout-positions", action="store_true")
    parser.add_argument("--quiet-start", action="store_true")
    parser.add_argument("--kwin-desk")
    parser.add_argument("--expect-platform")
    parser.add_argument("--tests")
    args = parser.parse_args()

    session = make_session(args.session, args)
    if args.tests:
        platform = os.environ.get("QT_QPA_PLATFORM") or args.expect_platform
        tests = subprocess.run(shlex.split(args.tests),
                               env=dict(os.environ, QT_QPA_PLATFORM=platform))
        if tests.returncode != 0:
            failures.append(f"the window tests on {platform} failed")
    output = os.path.join(os.environ.get("XDG_RUNTIME_DIR", "/tmp"), "sacotin-output.txt")
    with open(output, "w") as out:
        program = subprocess.Popen([args.program], stdout=out, stderr=subprocess.STDOUT)
    try:
        if args.expect_platform:
            check_platform(program, args.expect_platform)
        scenario(session, args)
    except Failed:
        pass
    finally:
        program.terminate()
        program.wait()
        session.close()
    printed = open(output).read()
    if printed:
        print("the program printed:\n" + printed)
        if args.quiet_start:
            failures.append("the program printed something at start")
    verdict = "FAILED: " + "; ".join(failures) if failures else "all checks passed"
    print(f"{args.session}: {verdict}")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
