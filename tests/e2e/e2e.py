#!/usr/bin/env python3
"""End-to-end cases: the real program in its own Xvfb and copy of the demo prefix, driven by
X input (xdotool) and checked on its windows, files and exit status."""

import argparse, ctypes, os, re, shutil, signal, subprocess, tempfile, time
from pathlib import Path

TITLE = "Pitchwright v1.1"
BROWSE1, BTN_SAVE, BROWSE2 = (260, 463), (288, 463), (662, 463)  # client-area points
PAGE_ORIGIN, IMAGE_ORIGIN = (2, 30), (458, 49)  # the pages under the tabs; the pitch picture


def until(test, what, timeout=15):
    deadline = time.time() + timeout
    while not test():
        assert time.time() < deadline, what
        time.sleep(0.1)
    return test()


def grab_point(x, y):  # the centre of a player drawn in cell (x, y) of its own grid
    return int(x * 11.6666 + 13.8333), 399 - int(y * 10.6666 + 13.3333)


def position(lines, player, phase, zone):  # a player's cell in tactic_dump's lines
    prefix = "player %d %s %d: " % (player, phase, zone)
    return tuple(map(int, next(l for l in lines if l.startswith(prefix))[len(prefix):].split()))


class Session:
    """An X server, a scratch home with a copy of the demo prefix, and the program in them."""

    def __init__(self, args, prefix=True, start=True):
        self.args, self.procs, self.display = args, [], ""
        self.root = tempfile.mkdtemp(prefix="pw-e2e-", dir=args.build)
        self.prefix = os.path.join(self.root, "prefix")
        self.tactics = os.path.join(self.prefix, "drive_c", "CM0001", "tactics")
        try:
            self.xvfb = self.spawn(["Xvfb", "-displayfd", "1", "-nolisten", "tcp", "-noreset",
                                    "-screen", "0", "1024x768x24"], stdout=subprocess.PIPE)
            self.display = ":" + self.xvfb.stdout.readline().decode().strip()
            self.make_prefix(prefix)
            if start:
                self.start_app(getattr(args, "binary", None))
        except BaseException:
            self.stop()
            raise

    def __enter__(self):
        return self

    def __exit__(self, failed, *_):
        if failed:  # a picture of the screen for whoever reads the log
            self.run(["import", "-window", "root", "%(build)s/e2e-failure-%(case)s.png"
                      % vars(self.args)])
        self.stop()

    def make_prefix(self, game):
        os.mkdir(self.prefix)  # without the game, a prefix without a registry
        if game:
            shutil.copytree(self.args.demo, self.prefix, symlinks=True, dirs_exist_ok=True)

    def env(self):
        return {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "DISPLAY": self.display,
                "HOME": self.root, "XDG_RUNTIME_DIR": self.root, "LANG": "C.UTF-8",
                "QT_QPA_PLATFORM": "xcb", "WINEPREFIX": self.prefix}

    def spawn(self, words, **options):
        self.procs.append(subprocess.Popen(words, env=self.env(), start_new_session=True, **{
            "stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL, **options}))
        return self.procs[-1]

    def start_app(self, binary, arguments=()):
        self.app = self.spawn([binary, *arguments], cwd=self.root)

    def run(self, words, timeout=60):
        return subprocess.run(words, env=self.env(), capture_output=True, text=True,
                              timeout=timeout)

    def leftovers(self):
        return [f for d, _, fs in os.walk(self.root) if not d.startswith(self.prefix) for f in fs]

    def stop(self):
        self.end_processes()
        shutil.rmtree(self.root, ignore_errors=True)

    def end_processes(self):
        for proc in reversed(self.procs):
            if proc.poll() is None:
                os.killpg(proc.pid, signal.SIGKILL)
                proc.wait(timeout=10)

    def xdotool(self, *words, check_rc=True):
        done = self.run(["xdotool", *map(str, words)])
        assert done.returncode == 0 or not check_rc, "xdotool %s: %s" % (words, done.stderr)
        return done.stdout

    def windows(self, title):
        return list(map(int, self.xdotool("search", "--onlyvisible", "--name", "^%s$" %
                                          re.escape(title), check_rc=False).split()))

    def find(self, title):
        def look():
            assert self.app.poll() is None, "the program ended (status %s)" % self.app.returncode
            return self.windows(title)
        return until(look, "no window titled %r" % title)[-1]

    def gone(self, title):
        until(lambda: not self.windows(title), "window %r stays open" % title)

    def main_window(self):
        self.window = self.find(TITLE)
        out = self.xdotool("getwindowgeometry", "--shell", self.window)
        self.origin = [int(re.search(k + r"=(\d+)", out)[1]) for k in "XY"]
        return self.window

    def at(self, x, y, origin=(0, 0)):  # in the main window's client area, or a part of it
        return self.origin[0] + origin[0] + x, self.origin[1] + origin[1] + y

    def click(self, x, y, origin=(0, 0)):
        self.xdotool("mousemove", *self.at(x, y, origin), "click", 1, "sleep", 0.3)

    def key(self, *keys):
        self.xdotool("key", "--clearmodifiers", *keys, "sleep", 0.3)

    def page(self, index):  # the index-th visible tab: a click on the first, then arrow keys
        self.click(12, 15)
        self.key(*["Right"] * index)

    def close_window(self, window):
        """Asks a window to close as a window manager does: WM_DELETE_WINDOW."""
        x11 = ctypes.CDLL("libX11.so.6")
        x11.XOpenDisplay.restype = ctypes.c_void_p
        dpy = ctypes.c_void_p(x11.XOpenDisplay(self.display.encode()))
        atoms = [x11.XInternAtom(dpy, name, 0) for name in (b"WM_PROTOCOLS", b"WM_DELETE_WINDOW")]
        # An XClientMessageEvent in an XEvent's 24 longs: type, ..., window, type, format, data.
        event = (ctypes.c_long * 24)(33, 0, 0, 0, window, atoms[0], 32, atoms[1])
        x11.XSendEvent(dpy, ctypes.c_ulong(window), 0, ctypes.c_long(0), event)
        x11.XCloseDisplay(dpy)  # sends it

    def open_file(self, button, name):  # clicks a load button, types the name in the dialog
        self.click(*button)
        self.find("Open")
        self.xdotool("type", "--delay", 20, name)
        self.key("Return")
        self.gone("Open")

    def answer(self, title, key="Return"):  # by default the message box's default button
        self.xdotool("windowfocus", "--sync", self.find(title), "key", "--clearmodifiers", key)
        self.gone(title)

    def dump(self, path):
        done = self.run([self.args.dump, path])
        assert done.returncode == 0, "cannot load %s with the data layer" % path
        return done.stdout.splitlines()


def case_no_game(args):
    """Without the game a warning asks whether to go on; No ends the program with status -1."""
    with Session(args, prefix=False) as s:
        s.answer("Warning!", "Escape")
        assert s.app.wait(20) == 255, "exit status %s, not -1" % s.app.returncode


def case_edit_and_save(args):
    """On the demo installation, a drag and a grid pick, saved, change only their two words; the
    .old is the file as it was; the program ends with status 0 and stored nothing."""
    with Session(args) as s:
        path = os.path.join(s.tactics, "442.tct")
        original, lines = Path(path).read_bytes(), s.dump(path)
        s.main_window()
        s.open_file(BROWSE1, "442.tct")  # a bare name: the dialog starts in the tactics folder
        s.page(0)
        start = position(lines, 2, "with", 5)
        target = (start[0] + 2, start[1] + 3)
        drop = grab_point(*target)  # one pixel right of and above the centre lies in the cell
        s.xdotool("mousemove", *s.at(*grab_point(*start), IMAGE_ORIGIN), "mousedown", 1,
                  "sleep", 0.3, "mousemove_relative", 5, 5, "sleep", 0.1, "mousemove",
                  *s.at(drop[0] + 1, drop[1] - 1, IMAGE_ORIGIN), "sleep", 0.3, "mouseup", 1)
        s.click(50, 240, PAGE_ORIGIN)  # player 3's Passing in the grid
        s.click(416, 166, PAGE_ORIGIN)  # the arrow of the combo above it
        s.key("End", "Return")
        s.click(*BTN_SAVE)
        s.answer("Overwrite tactic?")
        until(lambda: os.path.exists(path[:-3] + "old"), "no reserve copy")
        s.close_window(s.window)  # once it has ended, the save is done
        assert s.app.wait(20) == 0 and not s.leftovers(), (s.app.returncode, s.leftovers())
        assert Path(s.tactics, "442.old").read_bytes() == original, "the reserve copy"
        changes = [b for a, b in zip(lines, s.dump(path)) if a != b]
        assert changes == ["player 2 with 5: %d %d" % target, "player 3 Passing: Long"], changes
        saved = Path(path).read_bytes()
        changed = {i for i in range(len(saved)) if saved[i:i + 1] != original[i:i + 1]}
        words = {*range(477, 481), *range(1389, 1393)}  # player 2's zone 5, player 3's word A
        assert len(saved) == len(original) and changed <= words, changed


def case_short_file(args):
    """A file too short is refused with a message; the file stays as it was, the program open."""
    with Session(args) as s:
        short = os.path.join(s.tactics, "short.tct")
        Path(short).write_bytes(b"\0" * 100)
        s.main_window()
        s.open_file(BROWSE1, "short.tct")
        s.answer("Pitchwright")
        assert s.main_window() and Path(short).read_bytes() == b"\0" * 100, "the short file"


CASES = {name[5:]: fn for name, fn in globals().items() if name.startswith("case_")}


def arguments(build, root, case):  # the options of a case, for scripts that drive the program
    return argparse.Namespace(binary=build + "/editor/pitchwright", build=build, case=case,
                              dump=build + "/tests/e2e/tactic_dump",
                              demo=root + "/examples/demo-prefix")


def main(cases, *options):
    parser = argparse.ArgumentParser()
    for option in ("--dump", "--demo", "--build") + options:
        parser.add_argument(option, required=True)
    parser.add_argument("--case", required=True, choices=cases)
    args = parser.parse_args()
    cases[args.case](args)  # a failure ends with its assertion's traceback and status 1


if __name__ == "__main__":
    main(CASES, "--binary")
