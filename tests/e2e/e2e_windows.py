#!/usr/bin/env python3
"""e2e.py's cases for the Windows program of scripts/build-windows.sh, under Wine
(tools/wine_session.py), and the installer's."""

import os
import pwd
import re
from pathlib import Path
import e2e  # which puts tools/ on the path
from wine_session import UNINSTALL, WINE, WINESERVER, WineSession
from x_session import until

OPEN_WITH = [r"HKCU\Software\Classes" + k
             for k in (r"\.tct", r"\Pitchwright.Tactic", r"\Applications\pitchwright.exe")]


def files_of(folder):
    return {os.path.relpath(os.path.join(d, n), folder) for d, ds, fs in os.walk(folder)
            for n in ds + fs}


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


def case_sheet(args):
    """Ctrl+P, the Windows save dialog in Documents with the tactic's name: Return makes a PNG, and
    a PDF after its second filter; both whole, nothing else beside them, the tactic as it was."""
    with WineSession(args) as s:
        path = os.path.join(s.tactics, "442.tct")
        original = Path(path).read_bytes()
        # Wine links Documents to the home that the sessions share: one of its own.
        documents = os.path.join(s.prefix, "drive_c", "users", pwd.getpwuid(os.getuid())[0],
                                 "Documents")
        os.remove(documents)
        os.mkdir(documents)
        s.main_window()
        s.open_file(e2e.BROWSE1, "442.tct")
        for keys in (["Return"], ["Tab", "Down", "Return"]):  # the PNG filter, then the PDF one
            s.key("ctrl+p")
            s.find("Save")
            s.key(*keys)
            s.gone("Save")
        until(lambda: len(os.listdir(documents)) == 2, "no sheets in " + documents)
        heads = {n: Path(documents, n).read_bytes()[:5] for n in os.listdir(documents)}
        assert heads == {"442.png": b"\x89PNG\r", "442.pdf": b"%PDF-"}, heads
        assert Path(path).read_bytes() == original, "the tactic changed"
        s.close_window(s.window)
        assert s.app.wait(20) == 0, "the program's exit status"


CASES = {name: e2e.CASES[name] for name in ("no_game", "edit_and_save", "short_file",
                                            "save_copy")}
CASES["installer"] = case_installer
CASES["sheet"] = case_sheet

if __name__ == "__main__":
    e2e.Session = WineSession  # e2e.py's cases open their sessions through it
    e2e.SAVE_TITLE = "Save"  # Wine's own dialog
    e2e.main(CASES, "--folder", "--setup")
