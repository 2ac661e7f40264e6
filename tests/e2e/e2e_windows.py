#!/usr/bin/env python3
"""End-to-end tests of Pitchwright for Windows: the program folder that
scripts/build-windows.sh gathers, run by Wine in Xvfb and driven only by X
input, with the machinery and most cases of e2e.py:

    e2e_windows.py --folder PROGRAM-FOLDER --dump TACTIC_DUMP --demo DEMO_PREFIX
                   --build BUILD-DIR --case NAME [--native PITCHWRIGHT] [--setup SETUP.EXE]

Every case works in its own Wine prefix, a copy of one booted once per build
folder, with nothing installed: the program folder is copied into its drive
C:, the demo tactics into C:\\CM0001\\tactics, and the game's key is written
into its registry (32-bit view) by Wine's own `reg add`.
"""

import argparse
import fcntl
import os
import re
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e  # noqa: E402
from e2e import Failure, check  # noqa: E402

GAME_KEY = r"HKLM\Software\Sports Interactive Ltd\Championship Manager 00-01"
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pitchwright"
QT_SETTINGS_KEY = r"HKCU\Software\QtProject"
OPEN_WITH_KEYS = (r"HKCU\Software\Classes\.tct", r"HKCU\Software\Classes\Pitchwright.Tactic",
                  r"HKCU\Software\Classes\Applications\pitchwright.exe")
SKIP = 77


def wine_loader():
    for candidate in (shutil.which("wine64"), "/usr/lib/wine/wine64", shutil.which("wine")):
        if candidate and os.access(candidate, os.X_OK):
            return candidate
    print("SKIP: Wine is not installed")
    sys.exit(SKIP)


WINE = wine_loader()
WINESERVER = shutil.which("wineserver") or "/usr/lib/wine/wineserver"


def wine_env(prefix, display="", home=None):
    """No Mono or Gecko installers, no menu entries on the host's desktop, no
    debug output; English, as on a fresh Windows."""
    return {
        "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
        "WINEPREFIX": prefix,
        "WINEARCH": "win64",
        "WINEDEBUG": "-all",
        "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
        "DISPLAY": display,
        "HOME": home or os.path.dirname(prefix),
        "LANG": "C.UTF-8",
        "LC_ALL": "C.UTF-8",
    }


def end_server(prefix):
    """Ends the prefix's server and with it every Wine process of the prefix,
    then removes the server's socket folder, which Debian's Wine keeps apart
    from the prefix."""
    env = wine_env(prefix)
    subprocess.run([WINESERVER, "-k"], env=env, capture_output=True, timeout=30)
    subprocess.run([WINESERVER, "-w"], env=env, capture_output=True, timeout=60)
    socket_file = os.path.join(prefix, "wineserver")
    if os.path.exists(socket_file):
        with open(socket_file) as f:
            name = f.read().strip()
        if re.fullmatch(r"wine-[A-Za-z0-9]{6}", name):
            shutil.rmtree(os.path.join(os.environ.get("TMPDIR", "/tmp"), name),
                          ignore_errors=True)


def template_prefix(build):
    """A freshly booted Wine prefix, made once per build folder; parallel cases
    wait for the one that makes it."""
    version = subprocess.run([WINE, "--version"], capture_output=True, text=True).stdout.strip()
    folder = os.path.join(build, "wine-e2e", re.sub(r"[^A-Za-z0-9.~-]", "_", version) or "wine")
    os.makedirs(folder, exist_ok=True)
    template = os.path.join(folder, "template")
    ready = os.path.join(folder, "template.ready")
    with open(os.path.join(folder, "lock"), "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if not os.path.exists(ready):
            shutil.rmtree(template, ignore_errors=True)
            home = os.path.join(folder, "home")
            os.makedirs(home, exist_ok=True)
            env = wine_env(template, home=home)
            result = subprocess.run([WINE, "wineboot", "-i"], env=env, capture_output=True,
                                    timeout=600)
            check(result.returncode == 0, "wineboot failed: %s" % result.stderr[-500:])
            end_server(template)
            if os.path.exists(os.path.join(template, "wineserver")):
                os.remove(os.path.join(template, "wineserver"))
            # Wine links the user's Desktop, Documents and the like to the
            # home folder; each prefix gets folders of its own instead.
            users = os.path.join(template, "drive_c", "users")
            for folder_, dirs, _ in os.walk(users):
                for name in dirs:
                    path = os.path.join(folder_, name)
                    if os.path.islink(path):
                        os.remove(path)
                        os.mkdir(path)
            open(ready, "w").close()
    return template


def copy_prefix(template, prefix):
    """A copy of the template prefix. Files are hard links, the registry
    excepted: Wine replaces a file it changes rather than writing into it, and
    nothing of a case writes into Windows' own files. The server's socket name
    is the template's own; a copy gets its own."""

    def link_or_copy(source, target):
        if not source.endswith(".reg"):
            try:
                os.link(source, target)
                return target
            except OSError:  # another file system
                pass
        return shutil.copy2(source, target)

    shutil.copytree(template, prefix, symlinks=True, copy_function=link_or_copy,
                    ignore=lambda folder, names: ["wineserver"] if folder == template else [])


class WineSession(e2e.Session):
    """A session of e2e.py whose program is the Windows program under Wine."""

    copy_program = True  # the program folder into C:\Pitchwright, as from the zip

    def make_prefix(self, game):
        copy_prefix(template_prefix(self.args.build), self.prefix)
        drive_c = os.path.join(self.prefix, "drive_c")
        self.program = os.path.join(drive_c, "Pitchwright")
        if self.copy_program:
            shutil.copytree(self.args.folder, self.program)
        if game:
            shutil.copytree(os.path.join(self.args.demo, "drive_c", "CM0001"),
                            os.path.join(drive_c, "CM0001"))
            # As the game's 32-bit installer writes it.
            self.wine("reg", "add", GAME_KEY, "/v", "Location", "/t", "REG_SZ", "/d",
                      "C:\\CM0001", "/reg:32", "/f")
            self.wine("reg", "add", GAME_KEY, "/v", "Version", "/t", "REG_SZ", "/d", "3.9.68",
                      "/reg:32", "/f")

    def frame_geometry(self, window):
        """Wine draws no frame without a window manager, but keeps its place:
        the X window is the client area, inside the frame that Windows'
        GetWindowRect reports for the program's window under Wine's default
        metrics (4 pixels at the sides and the bottom, 23 at the top)."""
        x, y, w, h = self.geometry(window)
        return x - 4, y - 23, w + 8, h + 27

    # The open dialog is Windows' own (Wine's), which shows no title: Qt
    # gives it none. It is the visible untitled window smaller than the screen.
    def open_dialog(self, timeout=15):
        deadline = time.time() + timeout
        while time.time() < deadline:
            check(self.app.poll() is None, "the program ended (status %s)" % self.app.returncode)
            for window in self.untitled():
                return window
            time.sleep(0.1)
        raise Failure("no open dialog")

    def untitled(self):
        found = []
        out = self.xdotool("search", "--onlyvisible", "--name", "^$", check_rc=False)
        for window in out.split():
            # A window may go between the search and the question.
            size = self.xdotool("getwindowgeometry", "--shell", window, check_rc=False)
            width = re.search(r"WIDTH=(\d+)", size)
            if width and 100 < int(width.group(1)) < 1024:
                found.append(int(window))
        return found

    def dialog_gone(self, timeout=10):
        deadline = time.time() + timeout
        while self.untitled():
            check(time.time() < deadline, "the open dialog stays open")
            time.sleep(0.1)

    def open_file(self, button, name):
        """Clicks a load button and types the file's name or path into the file name
        field of the dialog, which has the keyboard."""
        self.click(*button)
        self.open_dialog()
        self.type(name)
        self.key("Return")
        self.dialog_gone()

    def cancel_file(self, button):
        self.click(*button)
        self.open_dialog()
        self.key("Escape")
        self.dialog_gone()

    def shot(self):
        # Wine repaints a little after the X events that asked for it.
        time.sleep(0.3)
        return super().shot()

    def env(self):
        return wine_env(self.prefix, self.display, self.root)

    def wine(self, *words, timeout=120):
        result = subprocess.run([WINE, *words], env=self.env(), capture_output=True,
                                timeout=timeout)
        check(result.returncode == 0, "wine %s: status %d" % (" ".join(words), result.returncode))
        return result.stdout.decode(errors="replace")

    def stored_settings(self):
        """Qt's file dialog keeps its history under this key of the user's registry."""
        result = subprocess.run([WINE, "reg", "query", QT_SETTINGS_KEY], env=self.env(),
                                capture_output=True, timeout=60)
        return [QT_SETTINGS_KEY] if result.returncode == 0 else []

    def start_app(self, binary):
        # The program's own folder, as Windows users start it: from its icon.
        path = binary if binary and binary.endswith(".exe") else os.path.join(
            self.program, "pitchwright.exe")
        self.app = subprocess.Popen(
            [WINE, path], env=self.env(), cwd=os.path.dirname(path),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)

    def end_processes(self):
        super().end_processes()
        end_server(self.prefix)

    def wait_exit(self, timeout=20):
        return super().wait_exit(timeout)


# The Linux program's session, for comparisons: e2e.Session is replaced below.
LinuxSession = e2e.Session

# Texts of the pages, each in a rectangle of its page (left, top, width,
# height) that holds it and nothing else dark: the labels up to the next
# control, the check boxes, the radio groups. (The players grid's headers
# are cut on both systems, their own matter.)
TEXTS = {
    0: [  # General
        ("LabelTT", (8, 8, 240, 15)),
        ("LabelTi1", (96, 24, 80, 15)), ("LabelTi2", (96, 51, 80, 15)),
        ("LabelTi3", (96, 77, 80, 15)), ("LabelTi4", (96, 104, 80, 15)),
        ("LabelTi5", (272, 24, 104, 15)), ("LabelTi6", (272, 56, 104, 15)),
        ("LabelTi7", (272, 88, 104, 15)),
        ("LabelPT", (8, 138, 240, 15)),
    ],
    1: [  # Compare
        ("AttackLab", (216, 8, 230, 15)), ("T1Att", (2, 32, 100, 15)),
        ("T2Att", (2, 56, 100, 15)), ("PoorA", (88, 80, 120, 14)),
        ("NormalA", (256, 80, 100, 14)), ("SuperA", (408, 80, 48, 14)),
        ("DefenceLab", (216, 120, 230, 15)), ("T1Def", (2, 144, 100, 15)),
        ("T2Def", (2, 168, 100, 15)), ("PoorD", (88, 192, 120, 14)),
        ("NormalD", (256, 192, 100, 14)), ("SuperD", (404, 192, 52, 14)),
    ],
    3: [  # Options
        ("CheckHints", (6, 24, 150, 17)), ("ReserveCopy", (5, 48, 150, 17)),
        ("CheckMainColor", (168, 48, 121, 97)), ("CheckSecondColor", (312, 48, 121, 97)),
        ("SmoothMove", (176, 168, 163, 17)), ("ClearBack", (176, 200, 161, 17)),
        ("HideLogo", (176, 232, 156, 17)),
    ],
}


def ink_extent(session, shot, rect):
    """How far the text reaches: the column after the last dark pixel in a
    rectangle of the page, counted from its left edge (0: nothing dark). The
    styles draw check boxes and radio buttons differently, so only the right
    end of the text is compared."""
    x0, y0, w, h = rect
    for dx in reversed(range(w)):
        for dy in range(h):
            r, g, b = shot.pixel(*session.at(e2e.PAGE_ORIGIN[0] + x0 + dx,
                                            e2e.PAGE_ORIGIN[1] + y0 + dy))
            if r + g + b < 3 * 100:
                return dx + 1
    return 0


def page_texts(session):
    """Ink widths of the pages' texts, two tactics loaded, pointer away."""
    session.main_window()
    session.open_file(e2e.BROWSE1, "442.tct")
    session.open_file(e2e.BROWSE2, "532.tct")
    widths = {}
    for page, texts in TEXTS.items():
        session.page(page)
        session.rest_mouse()
        shot = session.shot()
        for name, rect in texts:
            widths[name] = ink_extent(session, shot, rect)
    return widths


# ---------------------------------------------------------------------------
# Cases of Windows alone


def case_text_fits(args):
    """No text of the General, Compare and Options pages is cut: each reaches as far as
    in the Linux program, where the window's texts fit, with the same font."""
    s = LinuxSession(args, binary=args.native)
    try:
        linux = page_texts(s)
    finally:
        s.stop()
    s = WineSession(args)
    try:
        windows = page_texts(s)
    finally:
        s.stop()
    # The same font is drawn a few pixels narrower or wider by Wine; a cut
    # text loses at least a letter.
    cut = ["%s: to %d px, to %d on Linux" % (name, windows[name], linux[name])
           for name in linux if windows[name] < linux[name] - max(3, 0.06 * linux[name])]
    check(all(linux.values()), "no text found on Linux: %s" % linux)
    check(not cut, "cut texts: %s" % "; ".join(cut))


def case_short_file(args):
    """A short file is refused with its message; the window and the file stay as they were.
    The path is typed whole into the file name field of the Windows open dialog."""
    s = WineSession(args)
    try:
        short = os.path.join(s.tactics, "short.tct")
        with open(short, "wb") as f:
            f.write(b"\0" * 100)
        s.main_window()
        s.open_file(e2e.BROWSE1, "C:\\CM0001\\tactics\\442.tct")
        s.click_page(160 + 16 + 8, 232 + 8)  # Hide logo: the picture holds still
        s.cancel_file(e2e.BROWSE1)
        before = s.client(s.shot())
        s.open_file(e2e.BROWSE1, "C:\\CM0001\\tactics\\short.tct")
        s.dismiss("Pitchwright")
        check(s.client(s.shot()) == before, "the window changed after a failed load")
        check(e2e.read(short) == b"\0" * 100, "the short file changed")
    finally:
        s.stop()


class InstallerSession(WineSession):
    copy_program = False


def files_of(prefix):
    """Every file and folder of a prefix's drive C:, by its path inside it."""
    drive_c = os.path.join(prefix, "drive_c")
    found = set()
    for folder, dirs, files in os.walk(drive_c):
        for name in dirs + files:
            found.add(os.path.relpath(os.path.join(folder, name), drive_c))
    return found


def case_installer(args):
    """The installer, silent, in a fresh prefix: the program installed for the user with a
    Start-menu entry, an entry in the installed programs and the Open-with entry of
    .tct files; it starts and shows its
    window; the silent uninstaller removes everything the installer added."""
    check(args.setup and os.path.exists(args.setup), "no installer at %s" % args.setup)
    s = InstallerSession(args, start=False)
    try:
        before = files_of(s.prefix)
        s.wine(args.setup, "/S", timeout=180)
        drive_c = os.path.join(s.prefix, "drive_c")
        added = files_of(s.prefix) - before
        programs = [p for p in added if p.endswith(os.path.join(
            "AppData", "Local", "Programs", "Pitchwright", "pitchwright.exe"))]
        check(len(programs) == 1, "pitchwright.exe not installed under LOCALAPPDATA: %s"
              % sorted(added)[:20])
        installed = os.path.join(drive_c, os.path.dirname(programs[0]))
        shipped = files_of_folder(args.folder)
        here = files_of_folder(installed)
        check(here == shipped | {"uninstall.exe"}, "installed files differ from the folder: %s"
              % sorted(here ^ (shipped | {"uninstall.exe"})))
        check(any(p.endswith(os.path.join("Start Menu", "Programs", "Pitchwright.lnk"))
                  for p in added), "no Start-menu entry")
        entry = s.wine("reg", "query", UNINSTALL_KEY)
        check("uninstall.exe" in entry and "DisplayName" in entry,
              "no entry in the installed programs: %s" % entry)
        candidates = s.wine("reg", "query", OPEN_WITH_KEYS[0] + r"\OpenWithProgids")
        command = s.wine("reg", "query", OPEN_WITH_KEYS[1] + r"\shell\open\command")
        check("Pitchwright.Tactic" in candidates and 'pitchwright.exe" "%1"' in command,
              "Pitchwright not in the Open-with list of .tct files: %s %s" % (candidates, command))

        s.start_app(os.path.join(installed, "pitchwright.exe"))
        window = s.main_window()
        s.close_window(window)
        check(s.wait_exit() == 0, "the installed program's exit status")

        s.wine(os.path.join(installed, "uninstall.exe"), "/S", timeout=180)
        # The uninstaller runs on from a copy of itself in the temporary
        # folder, which Windows deletes at the next start: wait for it, then
        # start the prefix again.
        subprocess.run([WINESERVER, "-w"], env=s.env(), timeout=120)
        s.wine("wineboot", "-r", timeout=180)
        subprocess.run([WINESERVER, "-w"], env=s.env(), timeout=120)
        left = sorted(files_of(s.prefix) - before)
        check(not left, "left behind: %s" % left)
        for key in (UNINSTALL_KEY,) + OPEN_WITH_KEYS:
            result = subprocess.run([WINE, "reg", "query", key], env=s.env(),
                                    capture_output=True, timeout=60)
            check(result.returncode != 0, "the uninstaller leaves %s" % key)
    finally:
        s.stop()


def files_of_folder(folder):
    found = set()
    for parent, _, files in os.walk(folder):
        for name in files:
            found.add(os.path.relpath(os.path.join(parent, name), folder))
    return found


CASES = {name: e2e.CASES[name] for name in
         ("no_game", "start_and_load", "edit_and_save", "second_tactic", "language_and_colour")}
CASES.update({name[5:]: fn for name, fn in globals().items() if name.startswith("case_")})


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--folder", required=True, help="the program folder")
    parser.add_argument("--dump", required=True)
    parser.add_argument("--demo", required=True)
    parser.add_argument("--build", default=os.getcwd())
    parser.add_argument("--native", help="the Linux program, for comparisons")
    parser.add_argument("--setup", help="the installer")
    parser.add_argument("--case", required=True, choices=sorted(CASES))
    args = parser.parse_args()
    if not os.path.exists(os.path.join(args.folder, "pitchwright.exe")):
        print("SKIP: no Windows program in %s (bash scripts/build-windows.sh builds it)"
              % args.folder)
        return 1 if os.environ.get("PW_E2E_WINDOWS_REQUIRED") == "1" else SKIP
    args.binary = None
    # The cases of e2e.py open their sessions through its Session.
    e2e.Session = WineSession
    started = time.time()
    try:
        CASES[args.case](args)
    except Failure as failure:
        print("FAIL %s: %s" % (args.case, failure))
        return 1
    print("PASS %s (%.1fs)" % (args.case, time.time() - started))
    return 0


if __name__ == "__main__":
    sys.exit(main())
