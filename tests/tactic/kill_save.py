#!/usr/bin/env python3
"""Stops a save at every system call that writes or reads, once by SIGKILL (a
crash, a power cut) and once by an I/O error: the tactic must be byte for byte
the original or the saved one, and the original after a failure, which is
undone at once; the earlier reserve copy intact or a whole copy of the
original, success only with the tactic saved, no temporary after an error, and
a killed copy's temporary gone with the next save once it is stale."""
import collections, os, random, shutil, subprocess, sys, tempfile, time

CALLS = ["openat", "write", "pread64", "pwrite64", "fchmod", "fsync", "rename"]


def main(probe):
    if shutil.which("strace") is None:
        print("strace is not installed: the kill test cannot run")
        return 77
    original = bytes(random.Random(7).randrange(256) for _ in range(1500))
    earlier = b"an earlier reserve copy"
    with tempfile.TemporaryDirectory() as folder:
        tactic, reserve, log = (os.path.join(folder, n) for n in ("my442.tct", "MY442.old", "log"))

        def strays():
            return {n for n in os.listdir(folder) if n.startswith("~pw")}

        def run(inject=()):
            for path, data in ((tactic, original), (reserve, earlier)):
                with open(path, "wb") as f:
                    f.write(data)
            code = subprocess.run(["strace", "-qq", "-o", log, "-e", "trace=" + ",".join(CALLS),
                                   *inject, probe, "probe", tactic, reserve], timeout=60,
                                  stderr=subprocess.DEVNULL if inject else None).returncode
            with open(log) as lines:
                calls = [line.split("(", 1)[0] for line in lines if "(" in line]
            os.remove(log)
            with open(tactic, "rb") as t, open(reserve, "rb") as r:
                return code, calls, t.read(), r.read()

        code, calls, saved, copy = run()
        if code != 0 or saved == original or copy != original:
            print("the save itself did not save:", code)
            return 1
        failures, counts = [], collections.Counter(calls)
        runs = [(call, k, how) for call, count in counts.items() for k in range(1, count + 1)
                for how in ("signal=SIGKILL", "error=EIO")]
        # A file system that cannot set modes, and a folder that cannot be read
        # (its last open is the one that flushes it), still get their checked copy.
        runs += [("fchmod", 1, "error=ENOSYS"), ("openat", counts["openat"], "error=EACCES")]
        for call, k, how in runs:
            left = strays()
            code, _, now, copy = run(["-e", f"inject={call}:{how}:when={k}"])
            new = strays() - left
            for fault, what in ((now not in (original, saved), "tactic torn"),
                                (copy not in (earlier, original), "reserve torn"),
                                (code == 0 and now != saved, "success, not saved"),
                                (code != 0 and how == "error=EIO" and now != original,
                                 "failure, tactic changed"),
                                (how[6:] in ("ENOSYS", "EACCES") and (code, copy) != (0, original),
                                 "no save"),
                                (how.startswith("error") and new, "temporary left")):
                if fault:
                    failures.append(f"{call} #{k} ({how}): {what}")
            stale = time.time() - 120  # what a kill left is stale for the saves to come
            for name in new:
                os.utime(os.path.join(folder, name), (stale, stale))
        if run()[0] != 0 or strays():
            failures.append("a stale temporary outlived a save")
    print("\n".join(failures + [f"{len(failures)} failures; calls: {dict(counts)}"]))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
