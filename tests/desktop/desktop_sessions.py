"""What the desktop checks do on each kind of desktop: press keys as a player does, bring a window
forward as a player does (Alt+Tab, or the task bar), and say which window the desktop itself has
focused and put on top where it can tell. Each kind of session holds a keyboard on its seat for
as long as it lives: a Wayland compositor that has none gives no window the keyboard."""
import json
import os
import subprocess
import time

# Key names, their X keysyms and their Linux input codes.
KEYS = {
    "Alt_L": (0xFFE9, 56),
    "Shift_L": (0xFFE1, 42),
    "Tab": (0xFF09, 15),
    "Return": (0xFF0D, 28),
    "Escape": (0xFF1B, 1),
    "Left": (0xFF51, 105),
    "Up": (0xFF52, 103),
    "Right": (0xFF53, 106),
    "Down": (0xFF54, 108),
}


class Session:
    """A desktop. `chord` is a list of key names pressed together, in order, then released."""

    name = "?"

    def press(self, chord):
        for name in chord:
            self.key(name, True)
            time.sleep(0.03)
        for name in reversed(chord):
            self.key(name, False)
            time.sleep(0.03)

    def key(self, name, pressed):
        """One key pressed or released, where the session sends keys one at a time."""
        raise NotImplementedError

    def bring_forward(self, title):
        """Brings the window with that title forward, as a player would."""
        self.press(["Alt_L", "Tab"])

    def top_window(self):
        """The title of the window the desktop has focused and on top of the program's others, or
        None when this desktop can't tell."""
        return None

    def window_names(self, title):
        """What the desktop knows the window with that title by: {"app_id": ..., "class": ...},
        as far as it can tell."""
        return {}

    def close(self):
        pass


def x11_stacking_top(titles):
    """On an X display with a window manager: the topmost of the windows with those titles, if it
    is also the one the window manager made active."""
    def prop(args):
        return subprocess.run(["xprop"] + args, capture_output=True, text=True).stdout

    def title_of(window):
        text = prop(["-id", window, "_NET_WM_NAME"])
        return text.split('"', 1)[1].rsplit('"', 1)[0] if '"' in text else None

    active = prop(["-root", "_NET_ACTIVE_WINDOW"]).split()[-1]
    stacking = prop(["-root", "_NET_CLIENT_LIST_STACKING"]).split("#", 1)[-1]
    ours = [w.strip() for w in stacking.split(",") if title_of(w.strip()) in titles]
    if not ours:
        return None
    top = ours[-1]
    return title_of(top) if int(top, 16) == int(active, 16) else f"(not active) {title_of(top)}"


def x11_window_class(title):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                           capture_output=True, text=True).stdout.split()
    if not found:
        return {}
    text = subprocess.run(["xprop", "-id", found[0], "WM_CLASS"], capture_output=True,
                          text=True).stdout
    names = [part.strip().strip('"') for part in text.split("=", 1)[-1].split(",")]
    return {"class": names[-1]} if len(names) == 2 else {}


class X11Session(Session):
    """An X display with a window manager: keys through XTest."""

    name = "x11"

    def __init__(self, titles):
        self.titles = titles

    def press(self, chord):
        subprocess.run(["xdotool", "key", "--delay", "40", "+".join(chord)], check=True)

    def top_window(self):
        return x11_stacking_top(self.titles)

    def window_names(self, title):
        return x11_window_class(title)


class MutterSession(Session):
    """GNOME's compositor: keys through its remote-desktop D-Bus interface; Alt+Tab brings a
    window forward. Over XWayland the X window manager's view tells which window is on top."""

    name = "mutter"

    def __init__(self, titles, x_windows):
        import dbus
        bus = dbus.SessionBus()
        desktop = bus.get_object("org.gnome.Mutter.RemoteDesktop",
                                 "/org/gnome/Mutter/RemoteDesktop")
        path = dbus.Interface(desktop, "org.gnome.Mutter.RemoteDesktop").CreateSession()
        self.session = dbus.Interface(bus.get_object("org.gnome.Mutter.RemoteDesktop", path),
                                      "org.gnome.Mutter.RemoteDesktop.Session")
        self.session.Start()
        self.dbus = dbus
        self.titles = titles
        self.x_windows = x_windows
        self.press(["Shift_L"])  # the seat's keyboard exists from its first key on

    def key(self, name, pressed):
        self.session.NotifyKeyboardKeysym(self.dbus.UInt32(KEYS[name][0]), pressed)

    def top_window(self):
        return x11_stacking_top(self.titles) if self.x_windows else None

    def window_names(self, title):
        return x11_window_class(title) if self.x_windows else {}

    def close(self):
        self.session.Stop()


class SwaySession(Session):
    """sway: keys through the virtual keyboard protocol (wtype), a window brought forward and the
    focused and topmost window told by sway's IPC."""

    name = "sway"

    def __init__(self, titles):
        self.titles = titles
        # A virtual keyboard held for the whole session.
        self.holder = subprocess.Popen(["wtype", "-s", "86400000"])
        time.sleep(0.5)

    def press(self, chord):
        args = [arg for name in chord for arg in ("-P", name)]
        args += [arg for name in reversed(chord) for arg in ("-p", name)]
        subprocess.run(["wtype", "-d", "30"] + args, check=True)

    def tree_windows(self):
        tree = json.loads(subprocess.run(["swaymsg", "-t", "get_tree"], capture_output=True,
                                         text=True, check=True).stdout)
        found = []

        def walk(node):
            if node.get("type") in ("con", "floating_con") and node.get("name") in self.titles:
                found.append(node)
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                walk(child)
        walk(tree)
        return found

    def bring_forward(self, title):
        subprocess.run(["swaymsg", f'[title="^{title}$"] focus'], check=True,
                       capture_output=True)

    def top_window(self):
        windows = self.tree_windows()
        focused = [w["name"] for w in windows if w.get("focused")]
        # Floating windows are listed bottom to top; the program's secondary windows float.
        floating = [w["name"] for w in windows if w.get("type") == "floating_con"]
        if not focused:
            return None
        if floating and focused[0] in floating and floating[-1] != focused[0]:
            return f"(not on top) {focused[0]}"
        return focused[0]

    def window_names(self, title):
        for window in self.tree_windows():
            if window.get("name") == title:
                names = {}
                if window.get("app_id"):
                    names["app_id"] = window["app_id"]
                if window.get("window_properties", {}).get("class"):
                    names["class"] = window["window_properties"]["class"]
                return names
        return {}

    def close(self):
        self.holder.terminate()


class KWinSession(Session):
    """KDE's compositor: keys through its fake-input protocol, windows as its task bar sees them,
    both by a small client of ours (kwin_desk) that holds the connection, and so a keyboard."""

    name = "kwin"

    def __init__(self, titles, helper, x_windows):
        self.titles = titles
        self.x_windows = x_windows
        self.helper = subprocess.Popen([helper], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                       text=True)
        self.press(["Shift_L"])  # the seat's keyboard exists from its first key on

    def ask(self, command):
        self.helper.stdin.write(command + "\n")
        self.helper.stdin.flush()
        lines = []
        while True:
            line = self.helper.stdout.readline()
            if not line or line.strip() == "ok":
                return lines
            lines.append(line.rstrip("\n"))

    def key(self, name, pressed):
        self.ask(f"key {KEYS[name][1]} {int(pressed)}")

    def windows(self):
        """The program's windows, bottom to top: (active, app_id, title)."""
        rows = [line.split("|", 2) for line in self.ask("windows")]
        return [(row[0] == "1", row[1], row[2]) for row in rows if len(row) == 3 and
                row[2] in self.titles]

    def bring_forward(self, title):
        self.ask(f"activate {title}")

    def top_window(self):
        windows = self.windows()
        if not windows:
            return None
        active, _, title = windows[-1]
        return title if active else f"(not active) {title}"

    def window_names(self, title):
        if self.x_windows:  # KWin names an X11 window after its class
            return x11_window_class(title)
        for _, app_id, window_title in self.windows():
            if window_title == title and app_id:
                return {"app_id": app_id}
        return {}

    def close(self):
        self.helper.stdin.close()
        self.helper.wait()
