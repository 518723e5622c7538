#!/usr/bin/env python3
# The frame's cost in play, level by level: every level's walkthrough is played on the optimised
# program (scripts/walkthrough) with the play log's sign of life every 10 steps, which carries the
# game thread's CPU per step spent in the update and in the paint since the last one. The busiest
# moment of a level is its 10-step window of the highest update + paint; the busiest level's is
# set against the 58 ms frame period and against one full-screen 480 x 800 RGB565 copy, timed in
# the same run by game_frame_bench. Prints one line per level, the busiest last.
#
#   bench/level_frame_cost.py [--build DIR]   (default build/release)
import pathlib
import re
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
FRAME_PERIOD_US = 58000
LINE = re.compile(r"^play: (\d+) steps \((\d+) ms\), (\d+) actors active, .* at \((-?\d+), (-?\d+)\) in state (-?\d+); "
                  r"CPU per step: update (\d+) us, paint (\d+) us$")


def main():
    args = sys.argv[1:]
    build = ROOT / "build" / "release"
    if args[:1] == ["--build"] and len(args) == 2:
        build = pathlib.Path(args[1]).resolve()
    elif args:
        sys.exit("usage: bench/level_frame_cost.py [--build DIR]")

    copy = subprocess.run([str(build / "bench" / "game_frame_bench"), "--benchmark_filter=BM_FullScreenCopy"],
                          capture_output=True, text=True, check=True)
    m = re.search(r"^BM_FullScreenCopy\s+\S+ ns\s+(\S+) ns", copy.stdout + copy.stderr, re.M)
    if not m:
        sys.exit("game_frame_bench gave no full-screen copy time")
    copy_us = float(m.group(1)) / 1000.0

    busiest = None
    for walk in sorted(ROOT.glob("assets/level[0-9].pack/walkthrough.script")):
        level = int(walk.parent.name[len("level")])
        run = subprocess.run([str(ROOT / "scripts" / "walkthrough"), "--build", str(build), "--steps", "10",
                              str(level)], capture_output=True, text=True)
        windows = []
        for line in run.stdout.splitlines():
            if line.startswith("game state 14 -> 19"):
                break   # the level's end: what follows is the next level
            m = LINE.match(line)
            if m and int(m.group(1)) > 10:   # the first window holds the level's opening paints
                steps, ms, actors, x, y, state, update, paint = map(int, m.groups())
                windows.append((update + paint, update, paint, actors, steps, x, y))
        if not windows:
            print(f"level {level}: no play log (walkthrough exit {run.returncode})")
            continue
        total, update, paint, actors, steps, x, y = max(windows)
        mean = sum(w[0] for w in windows) / len(windows)
        print(f"level {level}: busiest at step {steps} ({actors} actors active, player at {x}, {y}): "
              f"update {update} us + paint {paint} us = {total} us per step; mean {mean:.0f} us")
        if busiest is None or total > busiest[1]:
            busiest = (level, total, update, paint)
    if busiest is None:
        sys.exit("no level was played")
    level, total, update, paint = busiest
    print(f"full-screen copy: {copy_us:.1f} us")
    print(f"busiest: level {level}, update {update} us, paint {paint} us; "
          f"{100.0 * total / FRAME_PERIOD_US:.1f}% of the 58 ms frame, {total / copy_us:.1f}x one full-screen copy")


if __name__ == "__main__":
    main()
