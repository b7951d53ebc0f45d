"""Drives the real Devimax program through AT-SPI, the way a screen reader does.

Controls are found by role and accessible name (or description, for the two
displays) and pressed through their AT-SPI actions; nothing here knows about Qt
object names or window coordinates. Every wait is bounded.
"""

import os
import shutil
import subprocess
import tempfile
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# Atspi.Accessible.get_action_iface() and friends are marked deprecated in favour
# of interface casts that PyGObject does not offer.
warnings.filterwarnings("ignore", category=DeprecationWarning)

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
PROGRAM = os.path.abspath(os.environ.get("DEVIMAX", os.path.join(ROOT, "build/app/devimax")))
MDB_TOOL = os.path.abspath(
    os.environ.get("DEVIMAX_MDB", os.path.join(ROOT, "build/tools/devimax-mdb")))
DEFAULT_RATES = os.environ.get("DEVIMAX_DEFAULT_RATES", os.path.join(ROOT, "build/run/buro.mdb"))

MAIN_DISPLAY = "Affichage principal"
SECOND_DISPLAY = "Affichage converti"
DIRECTION_BOX = "Monnaie nationale dans l'affichage principal"


class UiError(AssertionError):
    """The program did not show what a step waited for."""


def wait_until(what, probe, timeout=5.0, interval=0.05):
    """Polls probe() until it returns a true value, pumping AT-SPI events meanwhile."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        pump_events()
        try:
            last = probe()
        except GLib.Error as error:  # an object that went away while being read
            last = error
        if last and not isinstance(last, GLib.Error):
            return last
        if time.monotonic() > deadline:
            raise UiError(f"timed out after {timeout} s waiting for {what} (last: {last!r})")
        time.sleep(interval)


def pump_events():
    context = GLib.MainContext.default()
    while context.iteration(False):
        pass


def children(accessible):
    return [accessible.get_child_at_index(i) for i in range(accessible.get_child_count())]


def is_showing(accessible):
    return accessible.get_state_set().contains(Atspi.StateType.SHOWING)


def is_enabled(accessible):
    return accessible.get_state_set().contains(Atspi.StateType.ENABLED)


def do_action(accessible, *names):
    """Runs the first of the named actions the object offers ("Press", "Toggle"...)."""
    actions = accessible.get_action_iface()
    if actions is None:
        raise UiError(f"{accessible.get_role_name()} {accessible.get_name()!r} has no actions")
    offered = [actions.get_action_name(i) for i in range(actions.get_n_actions())]
    for name in names:
        if name in offered:
            if not actions.do_action(offered.index(name)):
                raise UiError(f"action {name} refused by {accessible.get_name()!r}")
            return
    raise UiError(f"{accessible.get_name()!r} offers {offered}, not any of {names}")


class PopupWatcher:
    """Collects the popup menus as they are shown.

    Qt leaves popups out of the application's list of windows, so a menu can only
    be reached through the event it sends when it appears.
    """

    def __init__(self):
        self.popups = []
        self._listener = Atspi.EventListener.new(self._on_event)
        self._listener.register("object:state-changed:showing")

    def _on_event(self, event):
        try:
            if event.detail1 == 1 and event.source.get_role_name() in ("popup menu", "menu"):
                self.popups.append(event.source)
        except GLib.Error:
            pass

    def close(self):
        self._listener.deregister("object:state-changed:showing")


class Devimax:
    """One run of the program in a fresh working directory holding buro.mdb."""

    def __init__(self, rates_file=None, lang="fr_FR.UTF-8"):
        self.workdir = tempfile.mkdtemp(prefix="devimax-e2e-")
        self.rates_path = os.path.join(self.workdir, "buro.mdb")
        if rates_file:
            shutil.copyfile(rates_file, self.rates_path)
        elif os.path.exists(DEFAULT_RATES):
            shutil.copyfile(DEFAULT_RATES, self.rates_path)
        else:
            subprocess.run([MDB_TOOL, "create-default", self.rates_path], check=True)
        self.watcher = PopupWatcher()
        env = dict(os.environ, LANG=lang)
        env.pop("LC_ALL", None)
        env.pop("LC_NUMERIC", None)
        self.log_path = os.path.join(self.workdir, "devimax.log")
        with open(self.log_path, "wb") as log:
            self.process = subprocess.Popen([PROGRAM], cwd=self.workdir, env=env,
                                            stdout=log, stderr=subprocess.STDOUT)
        self.app = wait_until("the program on the accessibility bus", self._find_application)
        self.window = wait_until("the calculator window", lambda: self.top_level("Devimax"))
        # The start-up completes 200 ms after the window appears: both displays read 0.
        wait_until("the start-up", lambda: self.main_display() == "0"
                   and self.second_display() == "0")

    # -- finding things -------------------------------------------------------

    def _find_application(self):
        if self.process.poll() is not None:
            with open(self.log_path, errors="replace") as log:
                output = log.read()[-2000:]
            raise UiError(f"the program ended at start-up with status {self.process.returncode}:"
                          f"\n{output}")
        desktop = Atspi.get_desktop(0)
        for app in children(desktop):
            try:
                if app.get_process_id() == self.process.pid and app.get_child_count() > 0:
                    return app
            except GLib.Error:
                continue
        return None

    def top_level(self, name):
        """The showing top-level window of the program with this accessible name."""
        for window in children(self.app):
            if window.get_name() == name and is_showing(window):
                return window
        return None

    def top_level_with(self, role, name):
        """The showing top-level window that holds a control of this role and name."""
        for window in children(self.app):
            if is_showing(window) and find(window, role, name):
                return window
        return None

    def control(self, role, name, within=None):
        found = find(within or self.window, role, name)
        if found is None:
            raise UiError(f"no {role} named {name!r}")
        return found

    def display(self, description):
        for child in children(self.window):
            if child.get_role_name() == "label" and child.get_description() == description:
                return child
        raise UiError(f"no display described as {description!r}")

    # -- reading --------------------------------------------------------------

    def main_display(self):
        return self.display(MAIN_DISPLAY).get_name()

    def second_display(self):
        return self.display(SECOND_DISPLAY).get_name()

    def currency_labels(self):
        """The captions of the two small labels, top one first."""
        labels = [c for c in children(self.window)
                  if c.get_role_name() == "label" and not c.get_description()
                  and c.get_name() in ("Euro", "Franc", "Dollar", "Mark")]
        labels.sort(key=lambda c: c.get_extents(Atspi.CoordType.WINDOW).y)
        return [label.get_name() for label in labels]

    def wait_second_display(self, expected, timeout=3.0):
        """The second display is recomputed every 100 ms: waits for the expected text."""
        wait_until(f"the second display to read {expected!r}",
                   lambda: self.second_display() == expected, timeout)
        return self.second_display()

    # -- acting ---------------------------------------------------------------

    def press(self, *keys):
        """Presses keypad keys by accessible name, waiting for each to take effect."""
        for key in keys:
            before = self.main_display()
            button = self.control("push button", key)
            do_action(button, "Press")
            # A press is an animated click: it lands about 100 ms later. Every key
            # except "=" after "=" changes something; wait for the main display
            # to change or give the click time to land.
            try:
                wait_until(f"key {key!r}", lambda: self.main_display() != before, 0.6)
            except UiError:
                pass

    def wait_reset(self):
        """Waits out the reset that C, the direction box and a change of currency run.

        They show "0" followed by the separator at once and re-run the start-up,
        which 200 ms later sets both displays to "0"; a digit typed before that
        would be wiped out.
        """
        start = time.monotonic()
        wait_until("the display to clear", lambda: self.main_display() == "0,"
                   or time.monotonic() - start > 0.5, 2.0)
        wait_until("the start-up to run again", lambda: self.main_display() == "0"
                   and self.second_display() == "0")

    def clear(self):
        do_action(self.control("push button", "Effacer"), "Press")
        self.wait_reset()

    def toggle_direction(self):
        box = self.control("check box", DIRECTION_BOX)
        was = box.get_state_set().contains(Atspi.StateType.CHECKED)
        do_action(box, "Toggle", "Press")
        wait_until("the direction box to change",
                   lambda: box.get_state_set().contains(Atspi.StateType.CHECKED) != was)
        self.wait_reset()

    def choose_currency(self, name):
        popup = self.choose("Monnaie", name)
        self.wait_reset()
        self.close_menus(popup)

    def type_into(self, entry, text):
        """Types text into an editable field one character at a time."""
        editable = entry.get_editable_text_iface()
        if editable is None:
            raise UiError(f"{entry.get_name()!r} is not editable")
        for ch in text:
            position = entry.get_text_iface().get_character_count()
            editable.insert_text(position, ch, len(ch.encode()))
        wait_until(f"{text!r} in the entry", lambda: entry.get_text_iface().get_text(0, -1) == text)

    def open_menu(self):
        """Presses "Menu" and returns the popup menu it opens."""
        seen = len(self.watcher.popups)
        do_action(self.control("push button", "Menu"), "Press")
        popup = wait_until("the program menu",
                           lambda: len(self.watcher.popups) > seen and self.watcher.popups[seen])
        wait_until("the menu's items", lambda: popup.get_child_count() > 0)
        return popup

    def choose(self, *path):
        """Opens the menu and runs an item by its path, e.g. ("Monnaie", "Dollar")."""
        popup = self.open_menu()
        menu = popup
        for depth, name in enumerate(path):
            item = find_item(menu, name)
            if item is None:
                raise UiError(f"no menu item {name!r} on the way to {path}")
            if depth < len(path) - 1:
                do_action(item, "ShowMenu", "Press")
                menu = wait_until(f"the submenu {name!r}",
                                  lambda it=item: it.get_child_count() > 0
                                  and is_showing(it.get_child_at_index(0))
                                  and it.get_child_at_index(0))
            else:
                if not is_enabled(item):
                    raise UiError(f"menu item {path} is disabled")
                do_action(item, "Press")
        return popup

    def close_menus(self, popup):
        """Escape, as a user would, until no popup of the program menu is showing.

        An item run through AT-SPI leaves the menu open (see the report on
        QAccessibleMenuItem): unlike a click, nothing closes it.
        """
        for _ in range(4):
            try:
                if not is_showing(popup):
                    return
            except GLib.Error:
                return
            key("Escape")
            try:
                wait_until("a menu level to close", lambda: not is_showing(popup)
                           or not any(is_showing(c.get_child_at_index(0))
                                      for c in children(popup) if c.get_child_count()), 1.0)
            except UiError:
                pass
        if is_showing(popup):
            raise UiError("the program menu stays open")

    # -- ending ---------------------------------------------------------------

    def wait_exit(self, timeout=5.0):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired as error:
            raise UiError(f"the program still runs {timeout} s after quitting") from error

    def stop(self):
        self.watcher.close()
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait(5)
        shutil.rmtree(self.workdir, ignore_errors=True)


def find(root, role, name, depth=3):
    for child in children(root):
        try:
            if child.get_role_name() == role and child.get_name() == name:
                return child
            if depth > 1:
                found = find(child, role, name, depth - 1)
                if found is not None:
                    return found
        except GLib.Error:
            continue
    return None


def find_item(menu, name):
    for child in children(menu):
        if child.get_role_name() == "menu item" and child.get_name() == name:
            return child
    return None


KEYSYMS = {"Escape": 0xFF1B, "Return": 0xFF0D}


def key(name):
    """One key press and release, synthesised through the accessibility registry."""
    Atspi.generate_keyboard_event(KEYSYMS[name], None, Atspi.KeySynthType.SYM)
    pump_events()


def dump_rates(path):
    """The rates row of a buro.mdb, through devimax-mdb: {"FFR": "6.55957", ...}."""
    out = subprocess.run([MDB_TOOL, "dump", path], check=True, capture_output=True,
                         text=True).stdout
    columns = values = None
    for line in out.splitlines():
        fields = line.split("\t")
        if fields[0] == "columns":
            columns = [f.split(":")[0] for f in fields[1:]]
        elif fields[0] == "row":
            values = fields[1:]
    if columns is None or values is None:
        raise UiError(f"unexpected dump of {path}:\n{out}")
    return dict(zip(columns, values))
