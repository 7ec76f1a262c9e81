#!/usr/bin/env python3
"""The CPU the game costs in the demo, without gamepads, with gamepads and
nothing plugged in, and with one of SDL's virtual controllers plugged in, in
% of one core; the modes alternate, a fresh process each run.

gamepad_idle_bench.py PROBE [--seconds 20] [--runs 3] [--modes keyboard,gamepads,virtual,emptytimer]

PROBE is build/bench/gamepad/gamepad_idle_probe. Runs on the platform in
QT_QPA_PLATFORM (offscreen by default), in a temporary folder.
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile


def run(probe, mode, seconds, env, cwd):
    out = subprocess.run([probe, mode, str(seconds)], env=env, cwd=cwd, capture_output=True, text=True)
    fields = out.stdout.split()
    if out.returncode != 0 or len(fields) != 5:
        sys.exit(f"{probe} {mode} failed ({out.returncode}): {out.stderr[-400:]}")
    wall_s, cpu_ms, ticks, threads = float(fields[1]), float(fields[2]), int(fields[3]), int(fields[4])
    return cpu_ms / (wall_s * 10), ticks / wall_s, threads


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("probe")
    parser.add_argument("--seconds", type=int, default=20)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--modes", default="keyboard,gamepads,virtual,emptytimer")
    args = parser.parse_args()
    modes = args.modes.split(",")
    env = dict(os.environ)
    env.setdefault("QT_QPA_PLATFORM", "offscreen")
    results = {mode: [] for mode in modes}
    with tempfile.TemporaryDirectory() as cwd:
        env["XDG_RUNTIME_DIR"] = cwd
        for _ in range(args.runs):
            for mode in modes:
                results[mode].append(run(os.path.abspath(args.probe), mode, args.seconds, env, cwd))
    base = statistics.median(r[0] for r in results[modes[0]])
    print(f"{args.runs} runs of {args.seconds} s each, modes alternating\n")
    print(f"| mode | CPU median | min | max | median - {modes[0]} | frame ticks/s | threads |")
    print("|---|---|---|---|---|---|---|")
    for mode in modes:
        cpu = [r[0] for r in results[mode]]
        median = statistics.median(cpu)
        ticks = statistics.median(r[1] for r in results[mode])
        threads = max(r[2] for r in results[mode])
        print(f"| {mode} | {median:.2f} % | {min(cpu):.2f} % | {max(cpu):.2f} % | {median - base:+.2f} % "
              f"| {ticks:.1f} | {threads} |")


if __name__ == "__main__":
    main()
