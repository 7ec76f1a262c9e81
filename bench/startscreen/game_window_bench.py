#!/usr/bin/env python3
"""From process start to the game window painted, and the peak resident
memory by then, for two builds at several screen scales, in one run,
alternating.

game_window_bench.py PROBE [BASELINE_PROBE] [--runs N] [--scales 1,2] [--start-click | --hover-click]

PROBE (and BASELINE_PROBE, the same probe built from another tree) is
build/bench/startscreen/startup_probe, run as `startup_probe --game-window`:
the start screen as the game makes it, the start button pressed as soon as it
is painted, the built-in game's window shown. The screen's scale is set with
QT_SCALE_FACTOR. Runs in a fresh, empty folder (the search finds no skin, the
built-in game starts), with a temporary records file and runtime folder; uses the platform in
QT_QPA_PLATFORM (xcb needs DISPLAY; offscreen by default).

With --start-click the probe runs as `startup_probe --start-click`: the start
screen is left alone for a second, as a player reads it, then the start button
is pressed; the time is from the press to the game window painted (the game
window's making included when the press makes it), the CPU and memory those
of the whole process. --hover-click is the same with the pointer brought over
the start button 150 ms before the press.
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time


def run(probe, env, cwd, click_mode):
    """Wall ms to the game window painted, peak RSS MiB by then, CPU ms of the process."""
    start = time.time_ns()
    with tempfile.TemporaryFile() as err:
        mode = click_mode or "--game-window"
        process = subprocess.Popen([probe, mode], env=env, cwd=cwd, stdout=subprocess.PIPE, stderr=err)
        out = process.stdout.read().decode()
        process.stdout.close()
        # Reaped here, not by Popen, for its resource usage: the probe ends right
        # after the paint, so its CPU time is the launch's.
        _, status, usage = os.wait4(process.pid, 0)
        process.returncode = os.waitstatus_to_exitcode(status)
        fields = out.split()
        if process.returncode != 0 or len(fields) < 2:
            err.seek(0)
            sys.exit(f"{probe} failed: {err.read()[-400:].decode(errors='replace')}")
    ms = float(fields[0]) if click_mode else (int(fields[0]) - start) / 1e6
    return ms, int(fields[1]) / 1024, (usage.ru_utime + usage.ru_stime) * 1000


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("probe")
    parser.add_argument("baseline", nargs="?")
    parser.add_argument("--runs", type=int, default=15)
    parser.add_argument("--scales", default="1,2")
    clicks = parser.add_mutually_exclusive_group()
    clicks.add_argument("--start-click", dest="click_mode", action="store_const", const="--start-click")
    clicks.add_argument("--hover-click", dest="click_mode", action="store_const", const="--hover-click")
    args = parser.parse_args()
    probes = [("this build", os.path.abspath(args.probe))]
    if args.baseline:
        probes.append(("baseline", os.path.abspath(args.baseline)))
    scales = args.scales.split(",")
    results = {(name, scale): ([], [], []) for name, _ in probes for scale in scales}
    with tempfile.TemporaryDirectory() as folder:
        runtime = os.path.join(folder, "runtime")
        os.makedirs(runtime, mode=0o700)
        base_env = dict(os.environ, PELLOX_RECORDS=os.path.join(folder, "records.conf"), XDG_RUNTIME_DIR=runtime,
                        ALSOFT_LOGLEVEL="0")
        base_env.setdefault("QT_QPA_PLATFORM", "offscreen")
        for round_ in range(args.runs + 1):  # the first round warms the caches and is not counted
            for scale in scales:
                env = dict(base_env, QT_SCALE_FACTOR=scale)
                for name, probe in probes:
                    measured = run(probe, env, folder, args.click_mode)
                    if round_ > 0:
                        for values, value in zip(results[(name, scale)], measured):
                            values.append(value)
    print(f"platform {base_env['QT_QPA_PLATFORM']}, {args.runs} runs each, alternating")
    print("%-6s %-11s %8s %8s %8s %8s %12s" % ("scale", "build", "min ms", "p50 ms", "max ms", "CPU p50", "p50 RSS MiB"))
    med = statistics.median
    for scale in scales:
        for name, _ in probes:
            ms, mib, cpu = results[(name, scale)]
            print("%-6s %-11s %8.1f %8.1f %8.1f %8.1f %12.1f" % (scale, name, min(ms), med(ms), max(ms), med(cpu),
                                                                 med(mib)))
        if args.baseline:
            new, old = results[("this build", scale)], results[("baseline", scale)]
            print("%-6s %-11s %17s %8.2f %17.2f %12.2f" % (scale, "ratio", "", med(new[0]) / med(old[0]), med(new[2]) / med(old[2]),
                                                         med(new[1]) / med(old[1])))


if __name__ == "__main__":
    main()
