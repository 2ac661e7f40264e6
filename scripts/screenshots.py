#!/usr/bin/env python3
"""Takes the README's screenshots from the real program under Xvfb, driven
the way the end-to-end tests drive it:

    python3 scripts/screenshots.py [BUILD-DIR]      (default build/ci)
    python3 scripts/screenshots.py --windows        (build/windows, under Wine)

writes docs/screenshots/*.png and play.gif (--windows: windows.png, the
window of the Windows program, and installer-licence.png and
installer-finish.png, two pages of its installer). Run it again whenever the
look changes.
"""

import ctypes
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

PLAY_SECONDS = 18  # one lap of the default route: 12 zones of 1.5 s at normal speed
FRAMES_PER_SECOND = 12
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


class Screen:
    """Parts of the X screen read straight from the server: an `import` takes longer than a
    frame of play lasts."""

    class Image(ctypes.Structure):  # the head of Xlib's XImage
        _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                    ("format", ctypes.c_int), ("data", ctypes.c_void_p),
                    ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                    ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                    ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                    ("bits_per_pixel", ctypes.c_int)]

    def __init__(self, display):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x11.XGetImage.restype = ctypes.POINTER(self.Image)
        self.x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                       ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x11.XDestroyImage.argtypes = [ctypes.POINTER(self.Image)]
        self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.dpy = self.x11.XOpenDisplay(display.encode())
        assert self.dpy, "cannot open display " + display
        self.root = self.x11.XDefaultRootWindow(self.dpy)

    def grab(self, x, y, width, height, path):  # as raw BGRA, the X server's own pixels
        image = self.x11.XGetImage(self.dpy, self.root, x, y, width, height, 0xFFFFFFFF, 2)
        head = image.contents
        assert head.bits_per_pixel == 32 and head.byte_order == 0, "not a 32-bit LSB screen"
        rows = ctypes.string_at(head.data, head.bytes_per_line * height)
        with open(path, "wb") as out:
            for row in range(height):
                out.write(rows[row * head.bytes_per_line:][:4 * width])
        self.x11.XDestroyImage(image)

    def close(self):
        self.x11.XCloseDisplay(self.dpy)


def geometry(s, window):  # x, y, width and height of a window on the screen
    out = s.xdotool("getwindowgeometry", "--shell", window)
    return [int(re.search(k + r"=(\d+)", out)[1]) for k in ("X", "Y", "WIDTH", "HEIGHT")]


def whole_tactic(build):
    """The zones overview beside the window on the Compare page with both demo tactics, then
    play.gif: the pitch view captured again and again while the tactic plays its default route."""
    args = x_session.arguments(build, ROOT, "screenshots")
    # A screen wide enough for the overview to open right of the centred window.
    s = x_session.Session(args, screen="1600x900")
    frames = tempfile.mkdtemp(prefix="pw-play-", dir=build)
    try:
        s.main_window()
        s.open_file(x_session.BROWSE1, "442.tct")
        s.open_file(x_session.BROWSE2, "532.tct")
        s.page(1)
        s.key("ctrl+g")
        zones = s.find("Zones overview")
        time.sleep(0.5)
        s.xdotool("mousemove", 0, 0)
        time.sleep(0.4)
        # Each window as it is on the screen, side by side as there, on a clear background.
        parts = []
        for window in (s.window, zones):
            parts.append(os.path.join(frames, "%d.png" % window))
            subprocess.run(["import", "-display", s.display, "-window", str(window), parts[-1]],
                           env=s.env(), check=True, capture_output=True, timeout=30)
        path = os.path.join(ROOT, "docs", "screenshots", "overview.png")
        subprocess.run(["convert", *parts, "-background", "none", "-gravity", "north", "+append",
                        "-strip", path], check=True, capture_output=True, timeout=60)
        print("wrote", os.path.relpath(path, ROOT))

        # Zone 1, where the default route starts, then Space: the overview has the keyboard.
        x, y, w, h = geometry(s, zones)
        s.click(x + w // 6 - s.origin[0], y + h - h // 8 - s.origin[1])
        s.key("space")
        s.xdotool("mousemove", 0, 0)
        screen = Screen(s.display)
        x, y = s.at(*x_session.IMAGE_ORIGIN)
        times, start = [], time.time()
        while time.time() - start < PLAY_SECONDS:
            times.append(time.time())
            screen.grab(x, y, 331, 399, os.path.join(frames, "%04d" % len(times)))
            time.sleep(max(0.0, times[-1] + 1 / FRAMES_PER_SECOND - time.time()))
        times.append(time.time())
        screen.close()
        # Each frame shown as long as it was on the screen; a reduced palette for the size.
        shown = [round(100 * (t - start)) for t in times]  # in the GIF's hundredths
        words = ["convert", "-loop", "0", "-size", "331x399", "-depth", "8"]
        for i in range(1, len(times)):
            words += ["-delay", str(shown[i] - shown[i - 1]),
                      "bgra:" + os.path.join(frames, "%04d" % i)]
        path = os.path.join(ROOT, "docs", "screenshots", "play.gif")
        subprocess.run(words + ["-alpha", "off", "+dither", "-colors", "128",
                                "-layers", "Optimize", path],
                       check=True, capture_output=True, timeout=300)
        print("wrote", os.path.relpath(path, ROOT), "(%d frames)" % (len(times) - 1))
    finally:
        s.stop()
        shutil.rmtree(frames, ignore_errors=True)


def sheet(build):
    """A tactic sheet as `--sheet` writes it, without a display, scaled down for the README."""
    scratch = tempfile.mkdtemp(prefix="pw-sheet-", dir=build)
    try:
        full = os.path.join(scratch, "442.png")
        tactic = os.path.join(ROOT, "examples", "demo-prefix", "drive_c", "CM0001", "tactics",
                              "442.tct")
        env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": scratch}
        subprocess.run([os.path.join(build, "editor", "pitchwright"), "--sheet", tactic, full],
                       env=env, check=True, capture_output=True, timeout=60)
        path = os.path.join(ROOT, "docs", "screenshots", "sheet.png")
        subprocess.run(["convert", full, "-resize", "800x", "-strip", path],
                       check=True, capture_output=True, timeout=60)
        print("wrote", os.path.relpath(path, ROOT))
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


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
    whole_tactic(build)
    sheet(build)


if __name__ == "__main__":
    main()
