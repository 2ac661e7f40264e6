#!/usr/bin/env python3
"""Stops a save at every system call that writes, once by SIGKILL (a crash,
a power cut, the task manager) and once by an I/O error, and checks that the
tactic file is byte for byte either the original or the fully saved one, and
the earlier reserve copy either intact or a whole copy of the original."""
import collections
import os
import random
import shutil
import subprocess
import sys
import tempfile

SKIP = 77
CALLS = ["openat", "write", "pwrite64", "fchmod", "fsync", "rename"]


def run(probe, folder, inject=None):
    """Runs the probe on a fresh copy of the tactic; returns its exit code and the log."""
    log = os.path.join(folder, "strace.log")
    args = ["strace", "-qq", "-o", log, "-e", "trace=" + ",".join(CALLS)]
    if inject:
        args += ["-e", "inject=" + inject]
    code = subprocess.run(args + [probe, tactic(folder), reserve(folder)],
                          timeout=60).returncode
    with open(log) as lines:
        calls = [line.split("(", 1)[0] for line in lines if "(" in line]
    os.remove(log)
    return code, calls


def tactic(folder):
    return os.path.join(folder, "my442.tct")


def reserve(folder):
    return os.path.join(folder, "MY442.old")


def read(path):
    with open(path, "rb") as f:
        return f.read()


def lay(folder, original, earlier):
    for path, data in ((tactic(folder), original), (reserve(folder), earlier)):
        with open(path, "wb") as f:
            f.write(data)


def main():
    if shutil.which("strace") is None:
        print("strace is not installed: the kill test cannot run")
        return SKIP
    probe = sys.argv[1]
    rng = random.Random(7)
    original = bytes(rng.randrange(256) for _ in range(1500))
    earlier = b"an earlier reserve copy"
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        lay(folder, original, earlier)
        code, calls = run(probe, folder)
        if code != 0:
            print("the save itself failed with", code)
            return 1
        saved = read(tactic(folder))
        if saved == original or read(reserve(folder)) != original:
            print("the save did not save")
            return 1
        counts = collections.Counter(calls)
        points = 0
        for call in CALLS:
            for k in range(1, counts[call] + 1):
                for how in ("signal=SIGKILL", "error=EIO"):
                    lay(folder, original, earlier)
                    code, _ = run(probe, folder, f"{call}:{how}:when={k}")
                    points += 1
                    where = f"{call} #{k} ({how})"
                    now = read(tactic(folder))
                    if now not in (original, saved):
                        failures.append(f"{where}: the tactic file is torn")
                    if read(reserve(folder)) not in (earlier, original):
                        failures.append(f"{where}: the reserve copy is torn")
                    if code == 0 and now != saved:
                        failures.append(f"{where}: success reported, tactic not saved")
                    strays = [n for n in os.listdir(folder) if n.startswith("~pw")]
                    if how.startswith("error") and strays:
                        failures.append(f"{where}: temporary left behind")
                    for name in strays:
                        os.remove(os.path.join(folder, name))
    for failure in failures:
        print(failure)
    print(f"{points} stop points, {len(failures)} failures; calls: {dict(counts)}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
