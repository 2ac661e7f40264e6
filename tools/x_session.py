"""The real program in its own Xvfb and copy of the demo prefix, driven by X input (xdotool) and
watched through its windows and files: the driver of the end-to-end tests, the screenshots and the
figures."""

import argparse, ctypes, os, re, shutil, signal, subprocess, tempfile, time

BROWSE1, BTN_SAVE, BROWSE2 = (260, 463), (288, 463), (662, 463)  # client-area points
PAGE_ORIGIN, IMAGE_ORIGIN = (2, 30), (458, 49)  # the pages under the tabs; the pitch picture


def project_version(build):
    """The project's version, as the build folder `build` was configured with it."""
    with open(os.path.join(build, "CMakeCache.txt")) as cache:
        return re.search(r"^CMAKE_PROJECT_VERSION:STATIC=(.+)$", cache.read(), re.M)[1]


def window_title(version):  # the main window's: the name and the version's major.minor
    return "Pitchwright v" + ".".join(version.split(".")[:2])


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

    def __init__(self, args, prefix=True, start=True, screen="1024x768"):
        self.args, self.procs, self.display = args, [], ""
        self.title = window_title(project_version(args.build))
        self.root = tempfile.mkdtemp(prefix="pw-e2e-", dir=args.build)
        self.prefix = os.path.join(self.root, "prefix")
        self.tactics = os.path.join(self.prefix, "drive_c", "CM0001", "tactics")
        try:
            self.xvfb = self.spawn(["Xvfb", "-displayfd", "1", "-nolisten", "tcp", "-noreset",
                                    "-screen", "0", screen + "x24"], stdout=subprocess.PIPE)
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
        self.window = self.find(self.title)
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


def arguments(build, root, case):  # the options of a case, for scripts that drive the program
    return argparse.Namespace(binary=build + "/editor/pitchwright", build=build, case=case,
                              dump=build + "/tools/tactic_dump",
                              demo=root + "/examples/demo-prefix")
