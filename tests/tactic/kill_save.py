#!/usr/bin/env python3
"""Stops a save at every system call that writes, once by SIGKILL (a crash, a
power cut) and once by an I/O error: the tactic must be byte for byte the
original or the saved one, the earlier reserve copy intact or a whole copy of
the original, success only with the tactic saved, no temporary after an error."""
import collections, os, random, shutil, subprocess, sys, tempfile

CALLS = ["openat", "write", "pwrite64", "fchmod", "fsync", "rename"]


def main(probe):
    if shutil.which("strace") is None:
        print("strace is not installed: the kill test cannot run")
        return 77
    original = bytes(random.Random(7).randrange(256) for _ in range(1500))
    earlier = b"an earlier reserve copy"
    with tempfile.TemporaryDirectory() as folder:
        tactic, reserve, log = (os.path.join(folder, n) for n in ("my442.tct", "MY442.old", "log"))

        def run(inject=()):
            for path, data in ((tactic, original), (reserve, earlier)):
                with open(path, "wb") as f:
                    f.write(data)
            code = subprocess.run(["strace", "-qq", "-o", log, "-e", "trace=" + ",".join(CALLS),
                                   *inject, probe, "probe", tactic, reserve], timeout=60).returncode
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
        for call, count in counts.items():
            for k in range(1, count + 1):
                for how in ("signal=SIGKILL", "error=EIO"):
                    code, _, now, copy = run(["-e", f"inject={call}:{how}:when={k}"])
                    strays = [n for n in os.listdir(folder) if n.startswith("~pw")]
                    for fault, what in ((now not in (original, saved), "tactic torn"),
                                        (copy not in (earlier, original), "reserve torn"),
                                        (code == 0 and now != saved, "success, not saved"),
                                        (how.startswith("error") and strays, "temporary left")):
                        if fault:
                            failures.append(f"{call} #{k} ({how}): {what}")
                    for name in strays:
                        os.remove(os.path.join(folder, name))
    print("\n".join(failures + [f"{len(failures)} failures; calls: {dict(counts)}"]))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
