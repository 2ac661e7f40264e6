#!/usr/bin/env python3
"""Resource figures of the real program under Xvfb, for the README:

    python3 bench/figures.py [BUILD-DIR]      (default build/ci)

  start-up   from starting the process to its window shown (median of 10), and
             the same for the least Qt Widgets window (tools/minimal_window.cpp)
  memory     peak resident memory after loading two tactics
  credits    CPU used while the credits run on the Options page, 10 s
  idle       CPU used on the General page with nothing to do, 10 s
  play       CPU used while the tactic plays at normal speed on the Compare
             page, zones overview open, 10 s, the X server's beside it; then
             the same once play is paused

CPU is the time the program's threads spent on a core, from the kernel's
scheduler statistics, as a share of one core; the X server's share is shown
beside it, since drawing the credits makes it work too.
"""

import glob
import os
import platform
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tools"))
import x_session  # noqa: E402


# A corner of the pitch view in the window's client area, where no player stands.
PITCH_CORNER = (463, 55)


def cpu_ns(pid):
    """Nanoseconds on a core, over all threads of a process."""
    total = 0
    for path in glob.glob("/proc/%d/task/*/schedstat" % pid):
        try:
            with open(path) as f:
                total += int(f.read().split()[0])
        except (FileNotFoundError, ProcessLookupError):
            pass
    return total


def share(pid, seconds):
    return shares([pid], seconds)[0]


def shares(pids, seconds):  # of several processes over the same seconds
    before, start = [cpu_ns(pid) for pid in pids], time.monotonic()
    time.sleep(seconds)
    elapsed = (time.monotonic() - start) * 1e9
    return [(cpu_ns(pid) - b) / elapsed * 100 for pid, b in zip(pids, before)]


def peak_rss_mb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) / 1024
    return float("nan")


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "ci"))

    args = x_session.arguments(build, ROOT, "figures")

    subprocess.run(["cmake", "--build", build, "--target", "minimal_window"], check=True,
                   capture_output=True)
    minimal = os.path.join(build, "tools", "minimal_window")

    def startup(binary, title):
        s = x_session.Session(args, start=False)
        try:
            started = time.monotonic()
            s.start_app(binary)
            while not s.windows(title or s.title):
                time.sleep(0.002)
            return (time.monotonic() - started) * 1000
        finally:
            s.stop()

    startups, least = [], []
    for _ in range(10):  # interleaved, so that both see the same machine
        startups.append(startup(args.binary, None))
        least.append(startup(minimal, "Minimal window"))

    s = x_session.Session(args)
    try:
        s.main_window()
        s.open_file(x_session.BROWSE1, "442.tct")
        s.open_file(x_session.BROWSE2, "532.tct")
        memory = peak_rss_mb(s.app.pid)
        # The first load shows the General page; the credits run on Options.
        s.page(3)
        s.xdotool("mousemove", 1020, 760)
        time.sleep(1)
        credits = share(s.app.pid, 10)
        credits_x = None
        s.page(0)
        s.xdotool("mousemove", 1020, 760)
        time.sleep(1)
        idle = share(s.app.pid, 10)
        # The X server's part of drawing the credits, measured apart.
        s.page(3)
        s.xdotool("mousemove", 1020, 760)
        time.sleep(1)
        credits_x = share(s.xvfb.pid, 10)
        # Play on the Compare page, both tactics moving, started by Space
        # while the pitch view has the keyboard; the zones overview is open.
        s.page(1)
        s.key("ctrl+g")
        s.find("Zones overview")
        s.click(*PITCH_CORNER)
        s.key("space")
        time.sleep(1)
        play, play_x = shares([s.app.pid, s.xvfb.pid], 10)
        s.key("space")
        time.sleep(1)
        paused = share(s.app.pid, 10)
    finally:
        s.stop()

    cpu = "unknown CPU"
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
    print("Machine: %s, %d cores, %s, Python %s" % (
        cpu, os.cpu_count(), platform.platform(terse=True), platform.python_version()))
    print()
    print("| Figure | Measured | Goal |")
    print("|---|---|---|")
    p, m = statistics.median(startups), statistics.median(least)
    print("| Start-up to the window shown (median of 10) | %.0f ms; the least Qt Widgets window: "
          "%.0f ms (%.2f times) | within 1.3 times the least window |" % (p, m, p / m))
    print("| Peak resident memory after loading two tactics | %.1f MB | under 80 MB |" % memory)
    print("| CPU with the credits running on the Options page (10 s) | %.2f %% of one core "
          "(X server: %.2f %%) | under 2 %% |" % (credits, credits_x))
    print("| CPU on the General page with nothing to do (10 s) | %.3f %% of one core | "
          "effectively zero |" % idle)
    print("| CPU while the tactic plays at normal speed, zones overview open (10 s) | %.2f %% "
          "of one core + X server %.2f %% = %.2f %% | at most 3 %% |"
          % (play, play_x, play + play_x))
    print("| CPU with play paused (10 s) | %.3f %% of one core | effectively zero |" % paused)


if __name__ == "__main__":
    main()
