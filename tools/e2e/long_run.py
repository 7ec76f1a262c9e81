#!/usr/bin/env python3
"""Plays Pellox for a long time and samples what the process holds.

Starts Xvfb (unless --display is given), starts the game with a records file
in a temporary folder, clicks the start screen's start button, and plays Game A
over and over for --seconds: a simple bot steers the wolf to the chute with the
lowest egg, now and then on purpose to a wrong one, so that games end; Game A is
pressed every few seconds, which starts a new game after a game over or in the
demo and does nothing during play. Every --every seconds it writes a sample of
the game's resident memory (VmRSS of /proc/PID/status) and its open file
handles (entries of /proc/PID/fd) to the CSV, and at the end prints a summary:
first, last and largest figures and the least-squares slope over the run after
--settle seconds.

    nice -n 19 tools/e2e/long_run.py --game build/app/pellox --seconds 1800 \\
        --csv /tmp/long_run.csv

Needs xvfb, xdotool and imagemagick. Exits with status 1 if the game ends by
itself or stops drawing.
"""

import argparse
import csv
import os
import random
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from play_through import KEYS, Screen, press_exit, start_display, start_game  # noqa: E402


def rss_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def fd_count(pid):
    return len(os.listdir(f"/proc/{pid}/fd"))


def slope_per_hour(points):
    """Least-squares slope of (seconds, value) pairs, in value units per hour."""
    n = len(points)
    if n < 2:
        return 0.0
    mean_t = sum(t for t, _ in points) / n
    mean_v = sum(v for _, v in points) / n
    var = sum((t - mean_t) ** 2 for t, _ in points)
    if var == 0:
        return 0.0
    cov = sum((t - mean_t) * (v - mean_v) for t, v in points)
    return cov / var * 3600


def lowest_egg(pic):
    best = None
    for chute, places in pic.eggs().items():
        for place in range(4, -1, -1):
            if places[place] and (best is None or place > best[1]):
                best = (chute, place)
    return best


def press_game_a(screen):
    screen.mouse("A", "mousedown")
    time.sleep(0.15)
    screen.mouse("A", "mouseup")


def run(args, screen, records, out):
    rng = random.Random(args.seed)
    game = start_game(args, screen, records)
    pid = game.pid
    started = time.time()
    samples = []
    next_sample, next_press = started, started
    wolf, last_target, screens, games = 2, None, 0, 0
    last_digits, last_seen, last_change, digits_seen = None, None, started, set()
    stalled = None
    with open(args.csv, "w", newline="") as f:
        writer = csv.writer(f)
        writer.writerow(["seconds", "rss_kib", "fds", "digits", "games"])
        while time.time() - started < args.seconds:
            now = time.time()
            if game.poll() is not None:
                return samples, f"the game ended by itself with status {game.returncode}", games, digits_seen
            if now >= next_press:
                press_game_a(screen)
                next_press = now + args.press_every
            pic = screen.grab()
            screens += 1
            shown = pic.digits()
            seen = (shown, str(pic.eggs()), str(pic.marks()))
            if seen != last_seen:
                last_seen, last_change = seen, now
            if shown != last_digits:
                if last_digits is not None and shown.strip() in ("0", "") and "?" not in last_digits \
                        and last_digits.strip() not in ("0", ""):
                    games += 1
                last_digits = shown
                digits_seen.add(shown)
            target = lowest_egg(pic)
            if target and target != last_target:
                last_target = target
                chute = target[0]
                # Now and then the wolf goes the wrong way, so that games end.
                if rng.random() < args.miss_share:
                    chute = rng.choice([c for c in KEYS if c != chute])
                if chute != wolf:
                    wolf = chute
                    screen.key(KEYS[wolf])
            if now >= next_sample:
                row = [round(now - started, 1), rss_kib(pid), fd_count(pid), shown.strip(), games]
                writer.writerow(row)
                f.flush()
                samples.append(row)
                next_sample += args.every
            # Eggs move in every game and in the demo: an LCD frozen for long
            # means the game stopped drawing.
            if now - last_change > args.frozen:
                stalled = f"the LCD did not change for {args.frozen} s (digits '{last_digits}')"
                screen.grab(os.path.join(out, "frozen.png"))
                break
            time.sleep(args.poll)
    screen.grab(os.path.join(out, "long-run-end.png"))
    status = press_exit(screen, game)
    problem = stalled or (None if status == 0 else f"exit button: status {status}")
    return samples, problem, games, digits_seen


def summary(samples, settle):
    lines = []
    if not samples:
        return ["no samples"]
    for name, col, unit in (("RSS", 1, " KiB"), ("FDs", 2, "")):
        values = [s[col] for s in samples]
        later = [(s[0], s[col]) for s in samples if s[0] >= settle]
        lines.append(f"{name}: first {values[0]}{unit}, last {values[-1]}{unit}, "
                     f"min {min(values)}{unit}, max {max(values)}{unit}, "
                     f"slope after {settle:g} s {slope_per_hour(later):+.1f}{unit}/hour")
    return lines


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--game", default="build/app/pellox")
    parser.add_argument("--seconds", type=float, default=1800)
    parser.add_argument("--every", type=float, default=5, help="seconds between samples")
    parser.add_argument("--settle", type=float, default=60, help="seconds left out of the slope")
    parser.add_argument("--csv", default="long_run.csv")
    parser.add_argument("--out", default=None, help="folder for the last screenshot (default: beside the CSV)")
    parser.add_argument("--display", help="use this X display instead of starting Xvfb")
    parser.add_argument("--press-every", type=float, default=8, help="seconds between presses of Game A")
    parser.add_argument("--miss-share", type=float, default=0.15, help="share of eggs the bot goes wrong for")
    parser.add_argument("--poll", type=float, default=0.08, help="seconds between screen reads")
    parser.add_argument("--frozen", type=float, default=60, help="seconds of an unchanged LCD that count as a hang")
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    out = args.out or os.path.dirname(os.path.abspath(args.csv))
    os.makedirs(out, exist_ok=True)

    display, xvfb = start_display(args.display)
    screen = Screen(display)
    try:
        with tempfile.TemporaryDirectory() as tmp:
            samples, problem, games, digits_seen = run(args, screen, os.path.join(tmp, "records.conf"), out)
    finally:
        if xvfb:
            xvfb.terminate()
    print(f"samples: {len(samples)} over {samples[-1][0] if samples else 0} s, games ended: {games}, "
          f"distinct digit readings: {len(digits_seen)}")
    print("\n".join(summary(samples, args.settle)))
    if problem:
        print("FAILED:", problem)
    return 1 if problem else 0


if __name__ == "__main__":
    sys.exit(main())
