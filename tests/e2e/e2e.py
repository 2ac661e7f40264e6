#!/usr/bin/env python3
"""End-to-end tests of Pitchwright: the real program in a real X server
(Xvfb), driven only by X input (xdotool), checked on what a user can check:
window titles and sizes, pixels of screenshots, files on disk, exit status.

    e2e.py --binary PITCHWRIGHT --dump TACTIC_DUMP --demo DEMO_PREFIX --case NAME

Every case starts its own X server and its own copy of the demo prefix, has
a time bound, and leaves no process behind.
"""

import argparse
import ctypes
import fcntl
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time

# The pitch view's maps, with the single-precision constants the positions
# have always been drawn with.
CELL_W = struct.unpack("f", struct.pack("f", 11.6666))[0]
CELL_H = struct.unpack("f", struct.pack("f", 10.6666))[0]
VIEW_W, VIEW_H = 331, 399

# Client-area places of the window's parts (pixels from its top-left corner).
PAGE_ORIGIN = (2, 30)  # top-left of every page, under the tab strip
IMAGE_ORIGIN = (458, 49)  # the picture, once the pitch shows at the right
BROWSE1 = (260, 463)
BTN_SAVE = (288, 463)
BROWSE2 = (662, 463)

TITLE = "Pitchwright v1.1"


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def own_centre(x, y):
    """Where a position is drawn in the tactic's own orientation."""
    u = x * CELL_W + CELL_W * 0.5 + 8.0
    v = y * CELL_H + CELL_H * 0.5 + 8.0
    return int(u), VIEW_H - int(v)


def opponent_centre(x, y):
    u = x * CELL_W + CELL_W * 0.5 + 8.0
    v = y * CELL_H + CELL_H * 0.5 + 8.0
    return VIEW_W - int(u), int(v)


def grab_point(x, y):
    """Where a press grabs a player: one pixel above its drawn centre."""
    u = x * CELL_W + CELL_W * 0.5 + 8.0
    v = y * CELL_H + CELL_H * 0.5 + 8.0
    return int(u), int(VIEW_H - v)


def drop_point(x, y):
    """A pixel that drops a player into cell (x, y)."""
    cx, cy = own_centre(x, y)
    return cx + 1, cy - 1


class Shot:
    """An RGB screenshot of the whole screen."""

    def __init__(self, ppm):
        parts = ppm.split(b"\n", 3)
        check(parts[0] == b"P6", "screenshot is no PPM")
        self.width, self.height = map(int, parts[1].split())
        self.data = parts[3]

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.data[i : i + 3])

    def region(self, x, y, w, h):
        rows = []
        for row in range(y, y + h):
            i = 3 * (row * self.width + x)
            rows.append(self.data[i : i + 3 * w])
        return b"".join(rows)


class X11:
    """Just enough of Xlib to close a window the way a window manager does."""

    class ClientMessage(ctypes.Structure):
        _fields_ = [
            ("type", ctypes.c_int),
            ("serial", ctypes.c_ulong),
            ("send_event", ctypes.c_int),
            ("display", ctypes.c_void_p),
            ("window", ctypes.c_ulong),
            ("message_type", ctypes.c_ulong),
            ("format", ctypes.c_int),
            ("data", ctypes.c_long * 5),
        ]

    @staticmethod
    def close_window(display, window):
        lib = ctypes.cdll.LoadLibrary("libX11.so.6")
        lib.XOpenDisplay.restype = ctypes.c_void_p
        lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        lib.XInternAtom.restype = ctypes.c_ulong
        lib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        lib.XSendEvent.argtypes = [
            ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
        lib.XFlush.argtypes = [ctypes.c_void_p]
        lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        dpy = lib.XOpenDisplay(display.encode())
        check(dpy, "cannot open the X display")
        event = X11.ClientMessage()
        event.type = 33  # ClientMessage
        event.window = window
        event.message_type = lib.XInternAtom(dpy, b"WM_PROTOCOLS", 0)
        event.format = 32
        event.data[0] = lib.XInternAtom(dpy, b"WM_DELETE_WINDOW", 0)
        lib.XSendEvent(dpy, window, 0, 0, ctypes.byref(event))
        lib.XFlush(dpy)
        lib.XCloseDisplay(dpy)


class Session:
    """An X server, a scratch folder with a copy of the demo prefix, and the
    program started in them."""

    def __init__(self, args, prefix=True, binary=None, start=True):
        self.args = args
        self.root = tempfile.mkdtemp(prefix="pw-e2e-")
        self.prefix = os.path.join(self.root, "prefix")
        self.tactics = os.path.join(self.prefix, "drive_c", "CM0001", "tactics")
        self.xvfb = None
        self.app = None
        try:
            self.start_x()
            self.make_prefix(prefix)
            if start:
                self.start_app(binary or args.binary)
        except BaseException:
            self.stop()
            raise

    def make_prefix(self, game):
        if game:
            shutil.copytree(self.args.demo, self.prefix, symlinks=True)
        else:
            os.mkdir(self.prefix)  # a prefix without a registry: no game

    # -- processes ---------------------------------------------------------

    def start_x(self):
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=[write], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        os.close(write)
        number = b""
        deadline = time.time() + 20
        while not number.endswith(b"\n"):
            check(time.time() < deadline, "Xvfb did not start")
            chunk = os.read(read, 16)
            check(chunk, "Xvfb ended at start")
            number += chunk
        os.close(read)
        self.display = ":" + number.decode().strip()

    def env(self):
        env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "DISPLAY": self.display,
            "HOME": self.root,
            "XDG_RUNTIME_DIR": self.root,
            "LANG": "C.UTF-8",
            "QT_QPA_PLATFORM": "xcb",
            "WINEPREFIX": self.prefix,
        }
        return env

    def start_app(self, binary, arguments=()):
        self.app = subprocess.Popen(
            [binary, *arguments], env=self.env(), stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
            start_new_session=True)

    def stored_settings(self):
        """Settings the program left outside the home folder's files: none here."""
        return []

    def stop(self):
        # A failing case leaves a picture of the screen behind for whoever reads the log.
        if sys.exc_info()[0] is not None and self.xvfb and self.xvfb.poll() is None:
            folder = os.path.join(self.args.build, "e2e-failures")
            os.makedirs(folder, exist_ok=True)
            name = os.path.join(folder, "%s-%d.png" % (self.args.case, int(time.time())))
            subprocess.run(["import", "-display", self.display, "-window", "root", name],
                           env=self.env(), capture_output=True, timeout=30)
            print("screenshot of the failure: %s" % name)
        self.end_processes()
        shutil.rmtree(self.root, ignore_errors=True)

    def end_processes(self):
        for proc in (self.app, self.xvfb):
            if proc and proc.poll() is None:
                try:
                    os.killpg(proc.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
                proc.wait(timeout=10)

    def wait_exit(self, timeout=10):
        try:
            return self.app.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the program did not end")

    # -- X input and output -----------------------------------------------

    def xdotool(self, *words, check_rc=True):
        result = subprocess.run(
            ["xdotool", *map(str, words)], env=self.env(), capture_output=True, text=True,
            timeout=20)
        if check_rc and result.returncode != 0:
            raise Failure("xdotool %s failed: %s" % (" ".join(map(str, words)), result.stderr))
        return result.stdout

    def find(self, title, timeout=15, other_than=None):
        """The visible window with this exact title (and another than `other_than`)."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            check(self.app.poll() is None, "the program ended (status %s)" % self.app.returncode)
            out = self.xdotool("search", "--onlyvisible", "--name", "^%s$" % re.escape(title),
                               check_rc=False)
            ids = [int(i) for i in out.split() if int(i) != other_than]
            if ids:
                return ids[-1]
            time.sleep(0.1)
        raise Failure("no window titled %r" % title)

    def absent(self, title, seconds=1.5):
        time.sleep(seconds)
        out = self.xdotool("search", "--onlyvisible", "--name", "^%s$" % re.escape(title), check_rc=False)
        return not out.split()

    def gone(self, title, timeout=10):
        deadline = time.time() + timeout
        while time.time() < deadline:
            out = self.xdotool("search", "--onlyvisible", "--name", "^%s$" % re.escape(title), check_rc=False)
            if not out.split():
                return
            time.sleep(0.1)
        raise Failure("window %r stays open" % title)

    def geometry(self, window):
        out = self.xdotool("getwindowgeometry", "--shell", window)
        values = dict(line.split("=") for line in out.split())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def frame_geometry(self, window):
        """The window with its frame: without a window manager there is none."""
        return self.geometry(window)

    def main_window(self):
        self.window = self.find(TITLE)
        self.origin = self.geometry(self.window)[:2]
        return self.window

    def at(self, x, y):
        """Screen point of a client-area point of the main window."""
        return self.origin[0] + x, self.origin[1] + y

    def move(self, sx, sy):
        """Moves the pointer to a screen point (waiting for a move only where there is one)."""
        out = self.xdotool("getmouselocation", "--shell")
        here = dict(line.split("=") for line in out.split())
        if (int(here["X"]), int(here["Y"])) != (sx, sy):
            self.xdotool("mousemove", "--sync", sx, sy)

    def click(self, x, y, button=1):
        self.move(*self.at(x, y))
        self.xdotool("click", button)
        self.settle()

    def page(self, index):
        """Shows a page as a user would: a click on the first tab, then the arrow keys.
        index counts the visible tabs from the left."""
        self.click(12, 15)
        for _ in range(index):
            self.key("Right")

    def click_page(self, x, y):
        self.click(PAGE_ORIGIN[0] + x, PAGE_ORIGIN[1] + y)

    def image_point(self, px, py):
        return IMAGE_ORIGIN[0] + px, IMAGE_ORIGIN[1] + py

    def drag(self, start, end):
        """A left-button drag on the picture, from one pixel to another."""
        sx, sy = self.at(*self.image_point(*start))
        ex, ey = self.at(*self.image_point(*end))
        self.move(sx, sy)
        self.xdotool("mousedown", 1)
        self.settle()
        steps = 6
        for i in range(1, steps + 1):
            self.move(sx + (ex - sx) * i // steps, sy + (ey - sy) * i // steps)
        self.settle()
        self.xdotool("mouseup", 1)
        self.settle()

    def key(self, *keys):
        self.xdotool("key", "--clearmodifiers", *keys)
        self.settle()

    def type(self, text):
        self.xdotool("type", "--delay", 20, text)
        self.settle()

    def settle(self, seconds=0.3):
        time.sleep(seconds)

    def shot(self):
        ppm = subprocess.run(
            ["import", "-display", self.display, "-window", "root", "-depth", "8", "ppm:-"],
            env=self.env(), capture_output=True, timeout=30).stdout
        return Shot(ppm)

    def image_pixel(self, shot, px, py):
        return shot.pixel(*self.at(*self.image_point(px, py)))

    def check_disc(self, shot, centre, fill, line, what):
        """A disc on the picture: its fill left of the number, its outline at the top."""
        x, y = centre
        check(self.image_pixel(shot, x - 7, y) == fill, "%s: fill" % what)
        check(self.image_pixel(shot, x, y - 11) == line, "%s: outline" % what)

    def client(self, shot):
        """The main window's client area, as bytes."""
        return shot.region(self.origin[0], self.origin[1], 790, 482)

    def close_window(self, window):
        X11.close_window(self.display, window)

    # -- the program's dialogs ---------------------------------------------

    def open_file(self, button, name):
        """Clicks a load button and picks a file of the tactics folder in the dialog."""
        self.click(*button)
        self.find("Open")
        self.type(name)
        self.key("Return")
        self.gone("Open")

    def dismiss(self, title):
        """Answers the message box with this title with its default button."""
        box = self.find(title)
        self.xdotool("windowfocus", "--sync", box)
        self.key("Return")
        self.gone(title)

    def cancel_file(self, button):
        self.click(*button)
        self.find("Open")
        self.key("Escape")
        self.gone("Open")

    def rest_mouse(self):
        """The pointer over the picture, where it is hidden on the Options page."""
        self.move(*self.at(*self.image_point(300, 300)))
        self.settle()

    def dump(self, path):
        result = subprocess.run([self.args.dump, path], capture_output=True, text=True,
                                timeout=20)
        check(result.returncode == 0, "cannot load %s with the data layer" % path)
        return result.stdout.splitlines()


def read(path):
    with open(path, "rb") as f:
        return f.read()


def position(lines, player, phase, zone):
    prefix = "player %d %s %d: " % (player, phase, zone)
    for line in lines:
        if line.startswith(prefix):
            x, y = line[len(prefix):].split()
            return int(x), int(y)
    raise Failure("no %s" % prefix)


def clear_disc(candidates, others):
    """A disc of `candidates` that no other disc touches, inside the picture."""
    everything = candidates + others
    for c in candidates:
        inside = 15 <= c[0] < VIEW_W - 15 and 15 <= c[1] < VIEW_H - 15
        alone = all(d == c or abs(d[0] - c[0]) >= 26 or abs(d[1] - c[1]) >= 26
                    for d in everything)
        if inside and alone and everything.count(c) == 1:
            return c
    raise Failure("no disc stands alone")


WHITE = (255, 255, 255)
RED = (255, 0, 0)
BLUE = (0, 0, 255)
GRASS = ((0, 64, 0), (1, 57, 1))

# ---------------------------------------------------------------------------
# Cases


def case_no_game(args):
    """Without the game the warning asks; No ends with status -1, Yes opens the window."""
    s = Session(args, prefix=False)
    try:
        warning = s.find("Warning!")
        check(s.absent(TITLE, 0), "the window shows before the answer")
        s.xdotool("windowfocus", "--sync", warning)
        s.key("Escape")  # No
        status = s.wait_exit()
        check(status == 255, "exit status %d, not -1" % status)
    finally:
        s.stop()

    s = Session(args, prefix=False)
    try:
        s.dismiss("Warning!")  # Yes, the default button
        s.main_window()
        # The Options page alone; no pitch at the right.
        check(s.shot().pixel(*s.at(600, 200)) not in GRASS, "the pitch shows at start")
    finally:
        s.stop()


def case_start_and_load(args):
    """With the game found: no warning; the dialog opens in the tactics folder; a load
    shows the pitch and the General tab."""
    s = Session(args)
    try:
        window = s.main_window()
        check(s.absent("Warning!", 0.5), "a warning without reason")
        w, h = s.geometry(window)[2:]
        check((w, h) == (790, 482), "window is %dx%d" % (w, h))
        x, y, w, h = s.frame_geometry(window)
        check(abs(x + w // 2 - 512) <= 3 and abs(y + h // 2 - 384) <= 3, "window not centred")
        name = s.xdotool("getwindowname", window).strip()
        check(name == TITLE, "title %r" % name)
        before = s.shot()
        check(before.pixel(*s.at(*s.image_point(100, 100))) not in GRASS, "pitch before a load")
        tabs_before = before.region(*s.at(0, 0), 790, 30)
        # The dialog lists the demo tactics: a bare name is found there.
        s.open_file(BROWSE1, "442.tct")
        check(s.absent("Pitchwright", 0.3), "an error after loading")
        after = s.shot()
        check(s.image_pixel(after, 30, 100) in GRASS or s.image_pixel(after, 60, 100) in GRASS,
              "no pitch after the load")
        check(after.region(*s.at(0, 0), 790, 30) != tabs_before, "no General tab")
        # The credits run over the pitch on the Options page.
        time.sleep(0.5)
        check(s.client(s.shot()) != s.client(after), "the credits do not move")
    finally:
        s.stop()


def edit_and_save(s, confirm):
    """Drags player 2 in zone 5 and picks a new Passing for player 3; answers the save question."""
    path = os.path.join(s.tactics, "442.tct")
    original = read(path)
    lines = s.dump(path)
    s.main_window()
    s.open_file(BROWSE1, "442.tct")
    s.page(0)  # General: the pitch without credits
    start = position(lines, 2, "with", 5)
    target = (start[0] + 2, start[1] + 3)
    s.drag(grab_point(*start), drop_point(*target))
    # Row 3, column 1 ("Passing") of the grid, then the combo's last entry ("Long").
    grid_x, grid_y = 2 + 23 + 25, 184 + 16 + 2 * 16 + 8
    s.click_page(grid_x, grid_y)
    s.click_page(280 + 136, 154 + 12)  # the combo's arrow opens its list
    s.key("End", "Return")
    # Back in the grid (row 5), a wheel turned over the combo picks nothing.
    s.click_page(grid_x, grid_y + 2 * 16)
    s.move(*s.at(PAGE_ORIGIN[0] + 280 + 60, PAGE_ORIGIN[1] + 154 + 12))
    s.xdotool("click", "--repeat", "3", "--delay", "50", "5")
    s.settle()
    s.click(*BTN_SAVE)
    question = s.find("Overwrite tactic?")
    s.xdotool("windowfocus", "--sync", question)
    s.key("Return" if confirm else "Escape")
    s.gone("Overwrite tactic?")
    check(s.absent("Pitchwright", 0.3), "an error after saving")
    return path, original, lines, start, target


def case_edit_and_save(args):
    """A drag and a grid pick, saved: the .old is the file as it was, the file holds
    exactly the two changes and no other byte changed."""
    s = Session(args)
    try:
        path, original, lines, start, target = edit_and_save(s, True)
        reserve = os.path.join(s.tactics, "442.old")
        check(os.path.exists(reserve), "no reserve copy 442.old")
        check(read(reserve) == original, "the reserve copy is not the file as it was")
        saved = read(path)
        check(len(saved) == len(original), "the file changed its size")
        after = s.dump(path)
        changed = [(a, b) for a, b in zip(lines, after) if a != b]
        expected = {
            "player 2 with 5: %d %d" % target,
            "player 3 Passing: Long",
        }
        check({b for _, b in changed} == expected,
              "changes: %s" % ["%s -> %s" % c for c in changed])
        # Only the bytes of the two words behind those changes.
        position_word = 265 + 96 * 2 + 4 * 5
        word_a = 1365 + 8 * 3
        changed_bytes = [i for i in range(len(saved)) if saved[i] != original[i]]
        check(changed_bytes and all(position_word <= i < position_word + 4 or
                                    word_a <= i < word_a + 4 for i in changed_bytes),
              "bytes changed at %s" % changed_bytes)
        s.close_window(s.window)
        check(s.wait_exit() == 0, "exit status after closing")
        # The program stores nothing: not even Qt's file dialog history.
        strays = [os.path.relpath(os.path.join(d, f), s.root)
                  for d, _, files in os.walk(s.root) if not d.startswith(s.prefix)
                  for f in files]
        check(not strays, "files written into the home folder: %s" % strays)
        check(not s.stored_settings(), "settings stored: %s" % s.stored_settings())
    finally:
        s.stop()


def unsaved_question(s, answer):
    """Answers the question about unsaved edits that closing the window asks."""
    box = s.find("Pitchwright", other_than=s.window)
    s.xdotool("windowfocus", "--sync", box)
    s.key(answer)
    s.gone("Pitchwright")


def case_cancel_save_and_close(args):
    """Cancel in the save question leaves the file and any reserve copy as they were;
    closing the window then asks about the unsaved edits and Cancel keeps it open;
    with both edits undone it closes without a question, with status 0, writing nothing."""
    s = Session(args)
    try:
        with open(os.path.join(s.tactics, "442.old"), "wb") as f:
            f.write(b"an older reserve copy")
        before = {name: read(os.path.join(s.tactics, name)) for name in os.listdir(s.tactics)}
        edit_and_save(s, False)
        s.close_window(s.window)
        unsaved_question(s, "Escape")
        s.find(TITLE)
        s.xdotool("windowfocus", "--sync", s.window)
        s.key("ctrl+z", "ctrl+z")
        s.close_window(s.window)
        check(s.wait_exit() == 0, "exit status after closing")
        after = {name: read(os.path.join(s.tactics, name)) for name in os.listdir(s.tactics)}
        check(after == before, "files changed: %s" % [n for n in after if after[n] != before.get(n)])
    finally:
        s.stop()


def case_argument_drag_undo_save(args):
    """Started with a tactic as its argument, the program shows it at once; a drag
    is an unsaved edit, Ctrl+Z takes it back, and the saved file equals the original."""
    s = Session(args, start=False)
    try:
        path = os.path.join(s.tactics, "442.tct")
        original = read(path)
        lines = s.dump(path)
        s.start_app(args.binary, [path])
        s.main_window()
        s.page(0)  # General: loaded from the argument, its tab is there
        start = position(lines, 2, "with", 5)
        s.drag(grab_point(*start), drop_point(start[0] + 2, start[1] + 3))
        # The drag is an edit: closing asks, and Cancel keeps the window.
        s.close_window(s.window)
        unsaved_question(s, "Escape")
        s.find(TITLE)
        s.xdotool("windowfocus", "--sync", s.window)
        s.key("ctrl+z")
        s.click(*BTN_SAVE)
        question = s.find("Overwrite tactic?")
        s.xdotool("windowfocus", "--sync", question)
        s.key("Return")
        s.gone("Overwrite tactic?")
        check(read(path) == original, "the saved file differs from the original")
        check(read(os.path.join(s.tactics, "442.old")) == original, "the reserve copy")
        # Saved: closing asks nothing.
        s.close_window(s.window)
        check(s.wait_exit() == 0, "exit status after closing")
    finally:
        s.stop()


def drop_file(s, path, x, y):
    """Drags a file from a stand-in file manager and drops it at a client point
    of the main window; true when the drop was taken."""
    source = subprocess.Popen(
        [os.path.join(os.path.dirname(s.args.dump), "drag_source"), path], env=s.env(),
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
    try:
        s.find("Drag source")
        s.move(50, 50)
        s.xdotool("mousedown", 1)
        s.settle()
        ex, ey = s.at(x, y)
        for i in range(1, 9):
            s.move(50 + (ex - 50) * i // 8, 50 + (ey - 50) * i // 8)
            time.sleep(0.05)
        s.settle()
        s.xdotool("mouseup", 1)
        return source.wait(timeout=10) == 0
    finally:
        if source.poll() is None:
            os.killpg(source.pid, signal.SIGKILL)
            source.wait(timeout=10)


def case_drop_files(args):
    """Tactic files dragged from a file manager: onto the window, the main tactic;
    onto the second tactic's half of the load panel, the second tactic."""
    s = Session(args)
    try:
        s.main_window()
        tabs_before = s.shot().region(*s.at(0, 0), 790, 30)
        check(drop_file(s, os.path.join(s.tactics, "442.tct"), 200, 200), "the drop was refused")
        after = s.shot()
        check(s.image_pixel(after, 30, 100) in GRASS or s.image_pixel(after, 60, 100) in GRASS,
              "no pitch after the drop")
        tabs_main = after.region(*s.at(0, 0), 790, 30)
        check(tabs_main != tabs_before, "no General tab")
        check(drop_file(s, os.path.join(s.tactics, "532.tct"), 600, 463), "the second drop")
        check(s.shot().region(*s.at(0, 0), 790, 30) != tabs_main, "no Compare and Anti tabs")
        # The main tactic is the first file: its save makes 442.old.
        s.click(*BTN_SAVE)
        question = s.find("Overwrite tactic?")
        s.xdotool("windowfocus", "--sync", question)
        s.key("Return")
        s.gone("Overwrite tactic?")
        check(os.path.exists(os.path.join(s.tactics, "442.old")), "the main tactic is not 442")
        check(not os.path.exists(os.path.join(s.tactics, "532.old")), "532 saved")
        s.close_window(s.window)
        check(s.wait_exit() == 0, "exit status after closing")
    finally:
        s.stop()


def case_command_line(args):
    """--help and --version print and end with status 0, before any window or
    question; more than two files is refused with status 1."""
    env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "QT_QPA_PLATFORM": "offscreen",
           "LANG": "C.UTF-8", "HOME": tempfile.gettempdir()}

    def run(*words):
        return subprocess.run([args.binary, *words], env=env, capture_output=True, text=True,
                              timeout=30)

    version = run("--version")
    check(version.returncode == 0 and re.fullmatch(r"Pitchwright \d+\.\d+\.\d+\n", version.stdout),
          "--version: %s %r" % (version.returncode, version.stdout))
    usage = run("--help")
    check(usage.returncode == 0 and "[FILE [SECOND]]" in usage.stdout and "--version" in usage.stdout,
          "--help: %s %r" % (usage.returncode, usage.stdout))
    many = run("a.tct", "b.tct", "c.tct")
    check(many.returncode == 1 and "at most two" in many.stderr,
          "three files: %s %r" % (many.returncode, many.stderr))


def case_second_tactic(args):
    """A second tactic adds the Compare and Anti pages; each shows it as it should."""
    s = Session(args)
    try:
        main = s.dump(os.path.join(s.tactics, "442.tct"))
        second = s.dump(os.path.join(s.tactics, "532.tct"))
        s.main_window()
        s.open_file(BROWSE1, "442.tct")
        s.open_file(BROWSE2, "532.tct")
        # Pages in order: General, Compare, Anti, Options; Options is in front.
        s.page(1)  # Compare
        # The second tactic shows its with-ball places of zone 5, own
        # orientation, 2 pixels right and down; fill white, outline red.
        mains = [own_centre(*position(main, n, "with", 5)) for n in range(1, 12)]
        seconds = [own_centre(*position(second, n, "with", 5)) for n in range(1, 12)]
        s.check_disc(s.shot(), clear_disc([(a + 2, b + 2) for a, b in seconds], mains), WHITE,
                     RED, "second disc on Compare")
        # Anti: the opponent's without-ball places of the opposite zone (6), turned.
        s.page(2)
        seconds = [opponent_centre(*position(second, n, "without", 6)) for n in range(1, 12)]
        shot = s.shot()
        s.check_disc(shot, clear_disc([(a + 2, b + 2) for a, b in seconds], mains), WHITE, RED,
                     "second disc on Anti")
        # The main tactic stays in its own places, blue on white.
        s.check_disc(shot, clear_disc(mains, seconds), WHITE, BLUE, "main disc")
    finally:
        s.stop()


def case_language_and_colour(args):
    """Russian and back gives the same window; a custom colour through the colour dialog."""
    s = Session(args)
    try:
        lines = s.dump(os.path.join(s.tactics, "442.tct"))
        s.main_window()
        s.open_file(BROWSE1, "442.tct")
        s.click_page(160 + 16 + 8, 232 + 8)  # Hide logo: the picture holds still
        # English once more, so that the button has the keyboard in both pictures.
        s.click_page(32 + 48, 200 + 12)
        s.rest_mouse()
        english = s.client(s.shot())
        s.click_page(32 + 48, 168 + 12)  # Russian
        s.rest_mouse()
        russian = s.client(s.shot())
        check(russian != english, "no change in Russian")
        s.click_page(32 + 48, 200 + 12)  # English
        s.rest_mouse()
        check(s.client(s.shot()) == english, "English again differs from English at first")

        # "Custom" main colours: fill, then line, each typed into the dialog's HTML field.
        s.click_page(160 + 8 + 16, 32 + 18 + 3 * 22 + 8)
        for title, colour in (("Fill colour", "#10c820"), ("Line colour", "#8020a0")):
            dialog = s.find(title)
            s.xdotool("windowfocus", "--sync", dialog)
            s.key("alt+h")
            s.key("ctrl+a")
            s.type(colour)
            s.key("Return")
            s.gone(title)
        s.check_disc(s.shot(), own_centre(*position(lines, 1, "with", 5)), (0x10, 0xC8, 0x20),
                     (0x80, 0x20, 0xA0), "custom colours")
    finally:
        s.stop()


def case_bad_files(args):
    """A file too short or held by another program: the error message, the window unchanged."""
    s = Session(args)
    try:
        short = os.path.join(s.tactics, "short.tct")
        with open(short, "wb") as f:
            f.write(b"\0" * 100)
        s.main_window()
        s.open_file(BROWSE1, "442.tct")
        s.click_page(160 + 16 + 8, 232 + 8)  # Hide logo
        # A cancelled dialog first: focus and pointer as the failed load leaves them.
        s.cancel_file(BROWSE1)
        before = s.client(s.shot())
        s.open_file(BROWSE1, "short.tct")
        s.dismiss("Pitchwright")
        check(s.client(s.shot()) == before, "the window changed after a failed load")
        check(read(short) == b"\0" * 100, "the short file changed")

        held = os.path.join(s.tactics, "433.tct")
        original = read(held)
        s.cancel_file(BROWSE2)
        before = s.client(s.shot())
        with open(held, "rb") as f:
            fcntl.flock(f, fcntl.LOCK_EX | fcntl.LOCK_NB)
            s.open_file(BROWSE2, "433.tct")
            s.dismiss("Pitchwright")
        check(s.client(s.shot()) == before, "the window changed after a held file")
        check(read(held) == original, "the held file changed")
    finally:
        s.stop()


def case_package(args):
    """The Debian package installs and its pitchwright starts on the demo prefix."""
    if os.geteuid() != 0:
        print("SKIP: installing a package needs root")
        sys.exit(77)
    out = tempfile.mkdtemp(prefix="pw-deb-")
    try:
        subprocess.run(["cpack", "-G", "DEB", "-B", out], cwd=args.build, check=True,
                       stdout=subprocess.DEVNULL, timeout=600)
        debs = [f for f in os.listdir(out) if f.endswith(".deb")]
        check(len(debs) == 1 and debs[0].startswith("pitchwright_") and
              debs[0].endswith("_amd64.deb"), "package name %s" % debs)
        subprocess.run(["apt-get", "install", "-y", "-qq", os.path.join(out, debs[0])],
                       check=True, stdout=subprocess.DEVNULL, timeout=600,
                       env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))
        for installed in ("/usr/bin/pitchwright",
                          "/usr/share/applications/io.github.pitchwright.Pitchwright.desktop",
                          "/usr/share/icons/hicolor/scalable/apps/io.github.pitchwright.Pitchwright.svg",
                          "/usr/share/mime/packages/io.github.pitchwright.Pitchwright.xml",
                          "/usr/share/man/man1/pitchwright.1.gz",
                          "/usr/share/doc/pitchwright/copyright"):
            check(os.path.exists(installed), "%s not installed" % installed)
        # The system's triggers register the MIME type and the program for it,
        # which is what a file manager's double click looks up.
        if shutil.which("update-mime-database"):
            check(os.path.exists("/usr/share/mime/application/x-cm-tactic.xml"),
                  "application/x-cm-tactic is not registered")
        if shutil.which("update-desktop-database"):
            with open("/usr/share/applications/mimeinfo.cache") as f:
                check("application/x-cm-tactic=io.github.pitchwright.Pitchwright.desktop;" in
                      f.read(), "Pitchwright is not the application for tactic files")
        s = Session(args, binary="/usr/bin/pitchwright")
        try:
            window = s.main_window()
            s.close_window(window)
            check(s.wait_exit() == 0, "the installed program's exit status")
        finally:
            s.stop()
    finally:
        subprocess.run(["dpkg", "-r", "pitchwright"], stdout=subprocess.DEVNULL)
        shutil.rmtree(out, ignore_errors=True)


def arguments(build, root, case):
    """What a case gets from the command line, for the scripts that drive
    the program the same way: the programs of a build folder, the demo prefix."""
    return argparse.Namespace(
        binary=os.path.join(build, "editor", "pitchwright"),
        dump=os.path.join(build, "tests", "e2e", "tactic_dump"),
        demo=os.path.join(root, "examples", "demo-prefix"), build=build, case=case)


CASES = {name[5:]: fn for name, fn in globals().items() if name.startswith("case_")}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--dump", required=True)
    parser.add_argument("--demo", required=True)
    parser.add_argument("--build", default=os.getcwd())
    parser.add_argument("--case", required=True, choices=sorted(CASES))
    args = parser.parse_args()
    started = time.time()
    if os.environ.get("PW_E2E_TRACE"):
        Session.trace = True
    try:
        CASES[args.case](args)
    except Failure as failure:
        print("FAIL %s: %s" % (args.case, failure))
        return 1
    print("PASS %s (%.1fs)" % (args.case, time.time() - started))
    return 0


if __name__ == "__main__":
    sys.exit(main())
