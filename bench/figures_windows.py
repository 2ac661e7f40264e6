#!/usr/bin/env python3
"""Start-up of the Windows program under Wine, against the least Qt Widgets
window built the same way (tools/minimal_window.cpp, same Qt, same compiler,
same folder; built here when it is not there yet), in one run:

    python3 bench/figures_windows.py [WINDOWS-BUILD-DIR]    (default build/windows)

Both start alternately in one Wine prefix with its server already running,
from the process start to the window shown; medians of 10 each.
"""

import os
import re
import shutil
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tools"))
import x_session  # noqa: E402
import wine_session  # noqa: E402


def started(session, path, title):
    """Milliseconds from starting `path` to its window `title` shown; then closes it."""
    begin = time.monotonic()
    session.start_app(path)
    while not session.xdotool("search", "--onlyvisible", "--name", "^%s$" % re.escape(title),
                              check_rc=False).split():
        time.sleep(0.002)
    elapsed = (time.monotonic() - begin) * 1000
    session.close_window(session.find(title))
    session.app.wait(30)
    return elapsed


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                            os.path.join(ROOT, "build", "windows"))
    version = x_session.project_version(build)
    subprocess.run(["cmake", "--build", build, "--target", "minimal_window"], check=True)
    args = x_session.arguments(build, ROOT, "figures")
    args.folder = os.path.join(build, "pitchwright-%s-win64" % version)
    args.build = os.path.join(ROOT, "build", "ci")
    s = wine_session.WineSession(args, start=False)
    try:
        # The least window beside the program, with the program's DLLs.
        shutil.copy(os.path.join(build, "tools", "minimal_window.exe"), s.program)
        subprocess.run([wine_session.WINESERVER, "-p"], env=s.env(), check=True)
        program = os.path.join(s.program, "pitchwright.exe")
        minimal = os.path.join(s.program, "minimal_window.exe")
        started(s, program, s.title)  # warm-up: caches and Wine's services
        started(s, minimal, "Minimal window")
        times = {program: [], minimal: []}
        for _ in range(10):
            times[program].append(started(s, program, s.title))
            times[minimal].append(started(s, minimal, "Minimal window"))
    finally:
        s.stop()
    p, m = statistics.median(times[program]), statistics.median(times[minimal])
    print("| Start-up under Wine to the window shown (median of 10) | %.0f ms "
          "(least Qt Widgets window: %.0f ms) | under 300 ms beyond the least window |"
          % (p, m))


if __name__ == "__main__":
    main()
