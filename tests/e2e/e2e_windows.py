#!/usr/bin/env python3
"""e2e.py's cases for the Windows program of scripts/build-windows.sh, under Wine: each case in
a copy of a prefix booted once per build folder, the game's key written by Wine's reg add."""

import fcntl, os, re, shutil, subprocess, sys
import e2e

WINE, WINESERVER = shutil.which("wine"), shutil.which("wineserver")
UNINSTALL = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pitchwright"
OPEN_WITH = [r"HKCU\Software\Classes" + k
             for k in (r"\.tct", r"\Pitchwright.Tactic", r"\Applications\pitchwright.exe")]


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


def files_of(folder):
    return {os.path.relpath(os.path.join(d, n), folder) for d, ds, fs in os.walk(folder)
            for n in ds + fs}


class WineSession(e2e.Session):
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

    def windows(self, title):  # Wine's own open dialog is the untitled window below screen size
        if title != "Open":
            return super().windows(title)
        return [w for w in super().windows("") if re.search(
            r"Geometry: \d{3}x", self.xdotool("getwindowgeometry", w, check_rc=False))]

    def start_app(self, binary=None, arguments=()):
        path = binary if (binary or "").endswith(".exe") else self.program + "/pitchwright.exe"
        self.app = self.spawn([WINE, path, *arguments], cwd=os.path.dirname(path))

    def end_processes(self):
        self.run([WINESERVER, "-k"])
        super().end_processes()


def case_installer(args):
    """The silent installer: the program folder, a Start-menu entry, the installed programs'
    entry with its values, Open with for .tct; the program starts; the uninstaller removes all
    it added."""
    with WineSession(args, start=False) as s:
        drive_c = os.path.join(s.prefix, "drive_c")
        before = files_of(drive_c)
        s.wine(args.setup, "/S")
        added = files_of(drive_c) - before
        folder = os.path.join("AppData", "Local", "Programs", "Pitchwright")
        installed = [os.path.join(drive_c, p) for p in added if p.endswith(folder)]
        assert len(installed) == 1 and files_of(installed[0]) == files_of(args.folder) | {
            "uninstall.exe"}, "installed: %s" % sorted(added)
        assert any(p.endswith("Pitchwright.lnk") for p in added), "no Start-menu entry"
        # What "Installed apps" shows: name, publisher, version, icon, help and size in KiB.
        entry = dict(re.findall(r"^\s+(\w+)\s+REG_\w+\s+(.*?)\s*$", s.reg(UNINSTALL), re.M))
        size = sum(os.path.getsize(os.path.join(installed[0], f)) for f in files_of(installed[0])
                   if os.path.isfile(os.path.join(installed[0], f)))
        here = "\\" + folder.replace(os.sep, "\\") + "\\"
        assert "uninstall.exe" in entry.get("UninstallString", ""), "not listed as installed"
        assert (entry["DisplayName"], entry["Publisher"], entry["DisplayVersion"]) == (
            "Pitchwright", "Pitchwright team", re.search(r"-([\d.]+)-setup", args.setup)[1]), entry
        assert entry["DisplayIcon"].endswith(here + "pitchwright.exe,0"), entry["DisplayIcon"]
        assert entry["HelpLink"].endswith(here + "README.txt") and "README.txt" in files_of(
            installed[0]), entry["HelpLink"]
        assert abs(int(entry["EstimatedSize"], 16) - size / 1024) < 1 + len(files_of(installed[0])), (
            entry["EstimatedSize"], size)
        assert "Pitchwright.Tactic" in s.reg(OPEN_WITH[0] + r"\OpenWithProgids")
        assert 'pitchwright.exe" "%1"' in s.reg(OPEN_WITH[1] + r"\shell\open\command")
        s.start_app(os.path.join(installed[0], "pitchwright.exe"))
        s.close_window(s.main_window())
        assert s.app.wait(20) == 0, "the installed program's exit status"
        s.wine(os.path.join(installed[0], "uninstall.exe"), "/S")
        # The uninstaller goes on from a copy in the temporary folder, which Windows deletes
        # at the next start.
        for words in ([WINESERVER, "-w"], [WINE, "wineboot", "-r"], [WINESERVER, "-w"]):
            s.run(words, timeout=180)
        left = sorted(files_of(drive_c) - before) + [k for k in [UNINSTALL, *OPEN_WITH] if s.reg(k)]
        assert not left, "left behind: %s" % left


CASES = {name: e2e.CASES[name] for name in ("no_game", "edit_and_save", "short_file")}
CASES["installer"] = case_installer

if __name__ == "__main__":
    e2e.Session = WineSession  # e2e.py's cases open their sessions through it
    e2e.main(CASES, "--folder", "--setup")
