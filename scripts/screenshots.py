#!/usr/bin/env python3
"""Takes the README's screenshots from the real program under Xvfb, driven
the way the end-to-end tests drive it:

    python3 scripts/screenshots.py [BUILD-DIR]      (default build/ci)
    python3 scripts/screenshots.py --windows        (build/windows, under Wine)

writes docs/screenshots/*.png (--windows: windows.png, the window of the
Windows program, and installer-licence.png and installer-finish.png, two pages
of its installer). Run it again whenever the look changes.
"""

import glob
import os
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tools"))
import x_session  # noqa: E402


def windows():
    """The Windows program under Wine: the General page of a loaded tactic."""
    import wine_session  # noqa: E402

    build = os.path.join(ROOT, "build", "windows")
    version = x_session.project_version(build)
    args = x_session.arguments(os.path.join(ROOT, "build", "ci"), ROOT, "screenshots")
    args.folder = os.path.join(build, "pitchwright-%s-win64" % version)
    s = wine_session.WineSession(args)
    try:
        s.main_window()
        s.open_file(x_session.BROWSE1, "442.tct")
        s.page(0)
        s.click(2 + 23 + 25 + 50, 184 + 16 + 4 * 16 + 8, x_session.PAGE_ORIGIN)  # a grid cell
        s.xdotool("mousemove", 1020, 760)
        time.sleep(0.4)
        save(s, s.window, "windows")
    finally:
        s.stop()
    installer(args, os.path.join(build, "pitchwright-%s-setup.exe" % version), version)


def installer(args, setup, version):
    """The installer's first and last pages, in frames Wine draws itself, title and icon
    included, with the fonts of Debian's fonts-wine (Wine does not find them where they are)."""
    import wine_session  # noqa: E402

    s = wine_session.WineSession(args, prefix=False, start=False)
    try:
        s.wine("reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Decorated", "/d", "N", "/f")
        for font in glob.glob("/usr/share/wine/fonts/*.ttf"):
            shutil.copy(font, os.path.join(s.prefix, "drive_c", "windows", "Fonts"))
        s.app = s.spawn([wine_session.WINE, setup])
        window = s.find("Pitchwright %s Setup " % version)  # with the pages' blank subtitle
        time.sleep(1)
        save(s, window, "installer-licence")
        s.xdotool("windowfocus", "--sync", window)
        s.key("Return")  # Next: the folder
        s.key("Return")  # Install
        x_session.until(lambda: "EstimatedSize" in s.reg(wine_session.UNINSTALL), "not installed",
                        120)
        time.sleep(2)  # the finish page
        save(s, window, "installer-finish")
    finally:
        s.stop()


def save(s, window, name):
    path = os.path.join(ROOT, "docs", "screenshots", name + ".png")
    subprocess.run(["import", "-display", s.display, "-window", str(window), path],
                   env=s.env(), check=True, capture_output=True, timeout=30)
    print("wrote", os.path.relpath(path, ROOT))


def main():
    if sys.argv[1:] == ["--windows"]:
        return windows()
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "ci"))
    out = os.path.join(ROOT, "docs", "screenshots")
    os.makedirs(out, exist_ok=True)

    args = x_session.arguments(build, ROOT, "screenshots")
    s = x_session.Session(args)

    def save(name, hover=None):
        # The pointer away from the window (no hover, no hint in the picture),
        # or resting on a tab, which shows marked.
        if hover:
            s.xdotool("mousemove", *s.at(*hover))
        elif name != "drag":
            s.xdotool("mousemove", 1020, 760)
        time.sleep(0.4)
        path = os.path.join(out, name + ".png")
        subprocess.run(["import", "-display", s.display, "-window", str(s.window), path],
                       env=s.env(), check=True, capture_output=True, timeout=30)
        print("wrote", os.path.relpath(path, ROOT))

    try:
        s.main_window()
        save("options-start", hover=(30, 15))  # the Options tab
        s.open_file(x_session.BROWSE1, "442.tct")
        s.page(0)
        s.click(2 + 23 + 25 + 50, 184 + 16 + 4 * 16 + 8, x_session.PAGE_ORIGIN)  # a grid cell
        save("general")
        s.open_file(x_session.BROWSE2, "532.tct")
        s.page(1)
        save("compare")
        s.page(2)
        save("anti")
        # The pairs a mirror found, asked before it is made; the box over the window, declined.
        s.page(0)
        s.key("ctrl+shift+m")
        s.find("Mirror the whole tactic")
        time.sleep(0.4)
        path = os.path.join(out, "mirror.png")
        subprocess.run(["import", "-display", s.display, "-window", "root", "-crop",
                        "790x482+%d+%d" % tuple(s.origin), "+repage", path],
                       env=s.env(), check=True, capture_output=True, timeout=30)
        print("wrote", os.path.relpath(path, ROOT))
        s.answer("Mirror the whole tactic", "Escape")
        # A drag held halfway: player 7 on its way forward, the preview and its read-out.
        lines = s.dump(os.path.join(s.tactics, "442.tct"))
        start = x_session.grab_point(*x_session.position(lines, 7, "with", 5))
        s.page(0)
        s.xdotool("mousemove", *s.at(*start, x_session.IMAGE_ORIGIN))
        s.xdotool("mousedown", 1)
        time.sleep(0.3)
        for step in range(1, 7):
            s.xdotool("mousemove",
                      *s.at(start[0] + 8 * step, start[1] - 9 * step, x_session.IMAGE_ORIGIN))
        save("drag")
        s.xdotool("mouseup", 1)
        time.sleep(0.3)
        s.page(3)
        s.click(32 + 48, 168 + 12, x_session.PAGE_ORIGIN)  # Russian
        save("russian", hover=(40, 15))  # the first tab
    finally:
        s.stop()


if __name__ == "__main__":
    main()
