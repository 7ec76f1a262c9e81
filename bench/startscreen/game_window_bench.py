#!/usr/bin/env python3
"""From process start to the game window painted, and the peak resident
memory by then, for two builds at several screen scales, in one run,
alternating.

game_window_bench.py PROBE [BASELINE_PROBE] [--runs N] [--scales 1,2]

PROBE (and BASELINE_PROBE, the same probe built from another tree) is
build/bench/startscreen/startup_probe, run as `startup_probe --game-window`:
the start screen as the game makes it, the start button pressed as soon as it
is painted, the built-in game's window shown. The screen's scale is set with
QT_SCALE_FACTOR. Runs in a fresh, empty folder (the search finds no skin, the
built-in game starts), with a temporary records file and runtime folder; uses the platform in
QT_QPA_PLATFORM (xcb needs DISPLAY; offscreen by default).
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time


def run(probe, env, cwd):
    start = time.time_ns()
    out = subprocess.run([probe, "--game-window"], env=env, cwd=cwd, capture_output=True, text=True, timeout=60)
    fields = out.stdout.split()
    if out.returncode != 0 or len(fields) < 2:
        sys.exit(f"{probe} failed: {out.stderr[-400:]}")
    return (int(fields[0]) - start) / 1e6, int(fields[1]) / 1024


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("probe")
    parser.add_argument("baseline", nargs="?")
    parser.add_argument("--runs", type=int, default=15)
    parser.add_argument("--scales", default="1,2")
    args = parser.parse_args()
    probes = [("this build", os.path.abspath(args.probe))]
    if args.baseline:
        probes.append(("baseline", os.path.abspath(args.baseline)))
    scales = args.scales.split(",")
    results = {(name, scale): ([], []) for name, _ in probes for scale in scales}
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
                    ms, mib = run(probe, env, folder)
                    if round_ > 0:
                        results[(name, scale)][0].append(ms)
                        results[(name, scale)][1].append(mib)
    print(f"platform {base_env['QT_QPA_PLATFORM']}, {args.runs} runs each, alternating")
    print("%-6s %-11s %9s %9s %9s %12s" % ("scale", "build", "min ms", "p50 ms", "max ms", "p50 RSS MiB"))
    for scale in scales:
        for name, _ in probes:
            ms, mib = results[(name, scale)]
            print("%-6s %-11s %9.1f %9.1f %9.1f %12.1f" % (scale, name, min(ms), statistics.median(ms), max(ms),
                                                           statistics.median(mib)))
        if args.baseline:
            ms_new, mib_new = results[("this build", scale)]
            ms_old, mib_old = results[("baseline", scale)]
            print("%-6s %-11s %29.2f %12.2f" % (scale, "ratio", statistics.median(ms_new) / statistics.median(ms_old),
                                                statistics.median(mib_new) / statistics.median(mib_old)))


if __name__ == "__main__":
    main()
