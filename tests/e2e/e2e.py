#!/usr/bin/env python3
"""End-to-end cases: the real program in its own Xvfb and copy of the demo prefix, driven by
X input (xdotool) and checked on its windows, files and exit status (tools/x_session.py)."""

import argparse, os, re, sys
from pathlib import Path

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from x_session import BROWSE1, BTN_SAVE, IMAGE_ORIGIN, PAGE_ORIGIN, Session  # noqa: E402
from x_session import grab_point, position, until  # noqa: E402


def case_no_game(args):
    """Without the game a warning asks whether to go on; No ends the program with status -1."""
    with Session(args, prefix=False) as s:
        s.answer("Warning!", "Escape")
        assert s.app.wait(20) == 255, "exit status %s, not -1" % s.app.returncode


SAVE_TITLE = "Save As"  # the save dialog's


def unnamed(line, flip):  # a tactic_dump line, a place without its player, on the other flank
    m = re.fullmatch(r"player \d+ (with|without) (\d+): (-?\d+) (-?\d+)", line)
    if not m:
        return line
    z, x = int(m[2]), int(m[3])
    return (m[1], z % 4 + 4 * (2 - z // 4), 26 - x, m[4]) if flip else (m[1], z, x, m[4])


def drag(s, lines):
    """Player 2 in zone 5 with the ball dragged 2 cells right and 3 up; returns his new cell."""
    start = position(lines, 2, "with", 5)
    target = (start[0] + 2, start[1] + 3)
    drop = grab_point(*target)  # one pixel right of and above the centre lies in the cell
    s.xdotool("mousemove", *s.at(*grab_point(*start), IMAGE_ORIGIN), "mousedown", 1,
              "sleep", 0.3, "mousemove_relative", 5, 5, "sleep", 0.1, "mousemove",
              *s.at(drop[0] + 1, drop[1] - 1, IMAGE_ORIGIN), "sleep", 0.3, "mouseup", 1)
    return target


def case_edit_and_save(args):
    """On the demo installation, a drag and a grid pick, saved, change only their two words; the
    .old is the file as it was; the program ends with status 0 and stored nothing."""
    with Session(args) as s:
        path = os.path.join(s.tactics, "442.tct")
        original, lines = Path(path).read_bytes(), s.dump(path)
        s.main_window()
        s.open_file(BROWSE1, "442.tct")  # a bare name: the dialog starts in the tactics folder
        s.page(0)
        target = drag(s, lines)
        s.click(50, 240, PAGE_ORIGIN)  # player 3's Passing in the grid
        s.click(416, 166, PAGE_ORIGIN)  # the arrow of the combo above it
        s.key("End", "Return")
        s.click(*BTN_SAVE)
        s.answer("Overwrite tactic?")
        until(lambda: os.path.exists(path[:-3] + "old"), "no reserve copy")
        s.close_window(s.window)  # once it has ended, the save is done
        assert s.app.wait(20) == 0 and not s.leftovers(), (s.app.returncode, s.leftovers())
        assert Path(s.tactics, "442.old").read_bytes() == original, "the reserve copy"
        changes = [b for a, b in zip(lines, s.dump(path)) if a != b]
        assert changes == ["player 2 with 5: %d %d" % target, "player 3 Passing: Long"], changes
        saved = Path(path).read_bytes()
        changed = {i for i in range(len(saved)) if saved[i:i + 1] != original[i:i + 1]}
        words = {*range(477, 481), *range(1389, 1393)}  # player 2's zone 5, player 3's word A
        assert len(saved) == len(original) and changed <= words, changed


def case_save_copy(args):
    """A lopsided tactic mirrored whole (Ctrl+Shift+M) and saved as "442 copy.tct" (Ctrl+Shift+S,
    Return): its places mirrored, all else 442.tct's, which is unchanged; no question at close."""
    with Session(args) as s:
        path, copy = os.path.join(s.tactics, "442.tct"), os.path.join(s.tactics, "442 copy.tct")
        original, lines = Path(path).read_bytes(), s.dump(path)
        s.main_window()
        s.open_file(BROWSE1, "442.tct")
        s.page(0)
        target = drag(s, lines)
        s.key("ctrl+shift+m")
        s.answer("Mirror the whole tactic")
        s.xdotool("windowfocus", "--sync", s.window)  # no window manager gives it back
        s.key("ctrl+shift+s")
        s.find(SAVE_TITLE)
        s.key("Return")
        until(lambda: os.path.exists(copy), "no copy")
        s.close_window(s.window)
        assert s.app.wait(20) == 0 and not s.leftovers(), (s.app.returncode, s.leftovers())
        assert Path(path).read_bytes() == original, "the original changed"
        edited = [("player 2 with 5: %d %d" % target if l.startswith("player 2 with 5:") else l)
                  for l in lines]
        assert sorted(map(str, (unnamed(l, False) for l in edited))) == sorted(
            map(str, (unnamed(l, True) for l in s.dump(copy)))), "not the mirrored tactic"
        saved = Path(copy).read_bytes()
        assert len(saved) == len(original) and all(saved[i] == original[i] for i in range(
            len(saved)) if not 313 <= i < 1461), "bytes outside the editor's region"


def case_short_file(args):
    """A file too short is refused with a message; the file stays as it was, the program open."""
    with Session(args) as s:
        short = os.path.join(s.tactics, "short.tct")
        Path(short).write_bytes(b"\0" * 100)
        s.main_window()
        s.open_file(BROWSE1, "short.tct")
        s.answer("Pitchwright")
        assert s.main_window() and Path(short).read_bytes() == b"\0" * 100, "the short file"


CASES = {name[5:]: fn for name, fn in globals().items() if name.startswith("case_")}


def main(cases, *options):
    parser = argparse.ArgumentParser()
    for option in ("--dump", "--demo", "--build") + options:
        parser.add_argument(option, required=True)
    parser.add_argument("--case", required=True, choices=cases)
    args = parser.parse_args()
    cases[args.case](args)  # a failure ends with its assertion's traceback and status 1


if __name__ == "__main__":
    main(CASES, "--binary")
