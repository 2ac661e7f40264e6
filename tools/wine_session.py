"""The Windows program of scripts/build-windows.sh under Wine, driven as x_session.py drives the
Linux one: each session in a copy of a prefix booted once per build folder, the game's key written
by Wine's reg add."""

import fcntl, os, re, shutil, subprocess, sys
from x_session import Session

WINE, WINESERVER = shutil.which("wine"), shutil.which("wineserver")
# The installer's entry in the installed programs.
UNINSTALL = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pitchwright"


def wine_env(prefix, home, display=""):  # no Mono, Gecko, host menu entries or debug output
    return {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "WINEPREFIX": prefix, "HOME": home,
            "TMPDIR": home, "WINEDEBUG": "-all", "DISPLAY": display, "LANG": "C.UTF-8",
            "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d", "WINEARCH": "win64"}


def template_prefix(build):
    """A booted prefix, made once per build folder; parallel cases wait for it."""
    template = os.path.join(build, "wine-template")
    with open(template + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if not os.path.exists(template):
            shutil.rmtree(template + ".new", ignore_errors=True)
            os.makedirs(template + ".home", exist_ok=True)
            for words in ([WINE, "wineboot", "-i"], [WINESERVER, "-w"]):
                subprocess.run(words, env=wine_env(template + ".new", template + ".home"),
                               check=True, timeout=600)
            os.rename(template + ".new", template)
    return template


class WineSession(Session):
    def make_prefix(self, game):
        if not WINE or not os.path.exists(os.path.join(self.args.folder, "pitchwright.exe")):
            print("SKIP: no Wine or no Windows program (bash scripts/build-windows.sh builds it)")
            sys.exit(1 if os.environ.get("PW_E2E_WINDOWS_REQUIRED") == "1" else 77)
        shutil.copytree(template_prefix(self.args.build), self.prefix, symlinks=True)
        self.program = os.path.join(self.prefix, "drive_c", "Pitchwright")
        shutil.copytree(self.args.folder, self.program)  # as unpacked from the zip
        if game:
            shutil.copytree(os.path.join(self.args.demo, "drive_c", "CM0001"),
                            os.path.join(self.prefix, "drive_c", "CM0001"))
            for name, value in (("Location", "C:\\CM0001"), ("Version", "3.9.68")):
                self.wine("reg", "add", r"HKLM\Software\Sports Interactive Ltd\Championship "
                          "Manager 00-01", "/v", name, "/d", value, "/reg:32", "/f")

    def env(self):
        return wine_env(self.prefix, self.root, self.display) | {"TMPDIR": self.prefix}

    def wine(self, *words):
        done = self.run([WINE, *words], timeout=180)
        assert done.returncode == 0, "wine %s: status %s" % (words, done.returncode)
        return done.stdout

    def reg(self, key):  # the key's values, or nothing where there is no such key
        done = self.run([WINE, "reg", "query", key])
        return done.stdout if done.returncode == 0 else ""

    def leftovers(self):  # Qt's file dialog would keep its history in the registry
        return super().leftovers() + [k for k in [r"HKCU\Software\QtProject"] if self.reg(k)]

    def windows(self, title):  # Wine's own file dialogs are the untitled window below screen size
        if title not in ("Open", "Save"):
            return super().windows(title)
        return [w for w in super().windows("") if re.search(
            r"Geometry: \d{3}x", self.xdotool("getwindowgeometry", w, check_rc=False))]

    def start_app(self, binary=None, arguments=()):
        path = binary if (binary or "").endswith(".exe") else self.program + "/pitchwright.exe"
        self.app = self.spawn([WINE, path, *arguments], cwd=os.path.dirname(path))

    def end_processes(self):
        self.run([WINESERVER, "-k"])
        super().end_processes()
