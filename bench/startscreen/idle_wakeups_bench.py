#!/usr/bin/env python3
"""How often the game's threads wake, how much CPU it takes and how much memory
it keeps while nobody plays, against a bare Qt window.

idle_wakeups_bench.py --game build/app/pellox --bare build/bench/startscreen/bare_window
                      [--seconds 20] [--rounds 3] [--settle 3] [--sound null|none] [--display :N]

Scenes, each started afresh in every round, the rounds interleaving them:
  bare          the bare window (bench/startscreen/bare_window.cpp)
  start-screen  the game's start screen, left alone
  demo          the start button pressed: the game window plays its demo
  paused        Game A pressed, then the keyboard focus taken away: the game
                is paused while its window is inactive

For each scene it waits --settle seconds, then counts over --seconds every
thread's context switches (voluntary + nonvoluntary, /proc/PID/task/*/status):
each is one wakeup of that thread. It also takes the process's CPU time over
the same span (its CPU-time clock) and its resident memory at the end
(VmRSS). Prints the median of the rounds per scene, and per thread name.

--sound null gives OpenAL Soft a silent real-time device (ALSOFT_DRIVERS=null),
as a machine with a sound card has; --sound none leaves it to find none.
Without --display it runs its own Xvfb. Needs xvfb and xdotool.
"""
import argparse
import collections
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

START_SCREEN = (169, 110)
START_BUTTON = (104 + 385 // 2, 360 + 25 // 2)
GAME_WINDOW = (194, 146)
GAME_A_BUTTON = (759, 86)
SCENES = ("bare", "start-screen", "demo", "paused")


def threads(pid):
    """{tid: (label, context switches)} of a live process. The label is the
    thread's name, "main" for the first thread; threads that share a name
    (OpenAL's mixer takes the program's) are numbered in the order made."""
    found = {}
    seen = collections.Counter()
    for tid in sorted(os.listdir(f"/proc/{pid}/task"), key=int):
        try:
            with open(f"/proc/{pid}/task/{tid}/comm") as f:
                name = "main" if int(tid) == pid else f.read().strip()
            switches = 0
            with open(f"/proc/{pid}/task/{tid}/status") as f:
                for line in f:
                    if "ctxt_switches" in line:
                        switches += int(line.split()[1])
        except OSError:
            continue  # the thread ended meanwhile
        seen[name] += 1
        found[tid] = (name if seen[name] == 1 else f"{name} #{seen[name]}", switches)
    return found


def cpu_seconds(pid):
    # The process's CPU-time clock, as clock_getcpuclockid gives it.
    return time.clock_gettime(((~pid) << 3) | 2)


def rss_mib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    return 0.0


class Display:
    def __init__(self, name):
        self.env = dict(os.environ, DISPLAY=name, QT_QPA_PLATFORM="xcb")

    def xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], env=self.env, check=True, capture_output=True)

    def click(self, x, y):
        self.xdotool("mousemove", x, y)
        self.xdotool("click", 1)

    def windows(self):
        """(id, title, width, height) of every window, from the X server's tree."""
        tree = subprocess.run(["xwininfo", "-root", "-tree"], env=self.env, capture_output=True, text=True).stdout
        return [(m[1], m[2], int(m[3]), int(m[4])) for m in re.finditer(r'(0x[0-9a-f]+) "([^"]*)".*?(\d+)x(\d+)\+', tree)]

    def root(self):
        info = subprocess.run(["xwininfo", "-root"], env=self.env, capture_output=True, text=True).stdout
        return re.search(r"Window id: (0x[0-9a-f]+)", info)[1]

    def wait_for(self, title, width, seconds=20):
        """A window whose title starts with title and is width pixels wide (not Qt's helper windows)."""
        deadline = time.time() + seconds
        while time.time() < deadline:
            for window, name, w, _ in self.windows():
                if name.startswith(title) and w == width:
                    return window
            time.sleep(0.1)
        sys.exit(f"no window {title!r} {width} pixels wide appeared")


def start_scene(scene, args, display, folder, sound_env):
    env = dict(display.env, PELLOX_RECORDS=os.path.join(folder, "records.conf"), XDG_RUNTIME_DIR=folder, **sound_env)
    program = args.bare if scene == "bare" else args.game
    process = subprocess.Popen([os.path.abspath(program)], env=env, cwd=folder, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        display.wait_for("bare window" if scene == "bare" else "Pellox", 603)
    except SystemExit:
        process.kill()
        raise
    time.sleep(0.5)
    if scene in ("demo", "paused"):
        display.click(START_SCREEN[0] + START_BUTTON[0], START_SCREEN[1] + START_BUTTON[1])
        time.sleep(1.0)
    if scene == "paused":
        display.click(GAME_WINDOW[0] + GAME_A_BUTTON[0], GAME_WINDOW[1] + GAME_A_BUTTON[1])
        time.sleep(0.5)
        # The focus to the screen itself: no window of the game is active.
        display.xdotool("windowfocus", display.root())
    return process


def measure(process, seconds):
    pid = process.pid
    before, cpu_before = threads(pid), cpu_seconds(pid)
    time.sleep(seconds)
    after, cpu_after = threads(pid), cpu_seconds(pid)
    if process.poll() is not None:
        sys.exit("the program ended while it was measured")
    per_name = collections.Counter()
    for tid, (name, switches) in after.items():
        per_name[name] += switches - before.get(tid, (name, 0))[1]
    return {
        "wakeups": sum(per_name.values()) / seconds,
        "threads": {name: n / seconds for name, n in per_name.items()},
        "cpu": (cpu_after - cpu_before) / seconds * 100,
        "rss": rss_mib(pid),
    }


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--game", required=True)
    parser.add_argument("--bare", required=True)
    parser.add_argument("--seconds", type=float, default=20)
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--settle", type=float, default=3)
    parser.add_argument("--sound", choices=("null", "none"), default="null")
    parser.add_argument("--scenes", default=",".join(SCENES))
    parser.add_argument("--display")
    args = parser.parse_args()
    scenes = args.scenes.split(",")
    sound_env = {"ALSOFT_DRIVERS": "null"} if args.sound == "null" else {}

    xvfb = None
    name = args.display
    if not name:
        name = f":{60 + os.getpid() % 200}"
        xvfb = subprocess.Popen(["Xvfb", name, "-screen", "0", "1280x800x24", "-nolisten", "tcp", "-noreset"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(1)
    display = Display(name)
    results = collections.defaultdict(list)
    try:
        for _ in range(args.rounds):
            for scene in scenes:
                folder = tempfile.mkdtemp(prefix="idle-wakeups-")
                process = start_scene(scene, args, display, folder, sound_env)
                try:
                    time.sleep(args.settle)
                    results[scene].append(measure(process, args.seconds))
                finally:
                    process.kill()
                    process.wait()
                    shutil.rmtree(folder, ignore_errors=True)
    finally:
        if xvfb:
            xvfb.kill()
            xvfb.wait()

    med = statistics.median
    print(f"{args.rounds} rounds of {args.seconds:g} s after {args.settle:g} s settling; sound: {args.sound}")
    print("%-13s %10s %8s %9s" % ("scene", "wakeups/s", "CPU %", "RSS MiB"))
    for scene in scenes:
        r = results[scene]
        print("%-13s %10.1f %8.2f %9.1f" % (scene, med(x["wakeups"] for x in r), med(x["cpu"] for x in r),
                                            med(x["rss"] for x in r)))
    for scene in scenes:
        names = sorted({n for x in results[scene] for n in x["threads"]})
        per = ", ".join(f"{n} {med(x['threads'].get(n, 0) for x in results[scene]):.1f}" for n in names)
        print(f"  {scene}: {per}")


if __name__ == "__main__":
    main()
