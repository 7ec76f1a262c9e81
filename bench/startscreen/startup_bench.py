#!/usr/bin/env python3
"""From process start to the start screen painted, against a bare Qt window of
the same size started the same way, in one run, alternating.

startup_bench.py PROBE [--runs N] [--skins N] [--start-picture]

PROBE is build/bench/startscreen/startup_probe. Runs in a fresh folder that
holds N skins (default 20) in a small tree, so the start screen's skin search
has something to find; the records file and the runtime folder are temporary.
Uses the platform in QT_QPA_PLATFORM (xcb needs DISPLAY; offscreen by default).
--start-picture also times, in turn with the two, the start screen's widgets
painted behind the last start's first frame (kept in a folder of the run's),
as a later start of the game paints them.
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time


def run(probe, mode, env, cwd, *extra):
    start = time.time_ns()
    out = subprocess.run([probe, mode, *extra], env=env, cwd=cwd, capture_output=True, text=True, timeout=60)
    if out.returncode != 0 or not out.stdout.strip():
        sys.exit(f"{mode} failed: {out.stderr[-400:]}")
    return (int(out.stdout.split()[0]) - start) / 1e6


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("probe")
    parser.add_argument("--runs", type=int, default=15)
    parser.add_argument("--skins", type=int, default=20)
    parser.add_argument("--start-picture", action="store_true")
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as folder:
        for i in range(args.skins):
            sub = os.path.join(folder, "skins", f"set{i % 4}")
            os.makedirs(sub, exist_ok=True)
            with open(os.path.join(sub, f"skin{i}.ini"), "w") as f:
                f.write(f"[SETTINGS]\nver=1.6\ntitle=Skin {i}\n")
        runtime = os.path.join(folder, "runtime")
        os.makedirs(runtime, mode=0o700)
        env = dict(os.environ, PELLOX_RECORDS=os.path.join(folder, "records.conf"), XDG_RUNTIME_DIR=runtime,
                   ALSOFT_LOGLEVEL="0")
        env.setdefault("QT_QPA_PLATFORM", "offscreen")
        run(os.path.abspath(args.probe), "--bare", env, folder)  # warm the caches
        run(os.path.abspath(args.probe), "--start-screen", env, folder)
        pictures = os.path.join(folder, "cache")
        if args.start_picture:
            run(os.path.abspath(args.probe), "--widgets-behind-picture", env, folder, pictures)  # keeps the first
        bare, screen, behind = [], [], []
        for _ in range(args.runs):
            bare.append(run(os.path.abspath(args.probe), "--bare", env, folder))
            screen.append(run(os.path.abspath(args.probe), "--start-screen", env, folder))
            if args.start_picture:
                behind.append(run(os.path.abspath(args.probe), "--widgets-behind-picture", env, folder, pictures))
    q = lambda v: (min(v), statistics.median(v), max(v))
    print(f"platform {env['QT_QPA_PLATFORM']}, {args.runs} runs each, {args.skins} skins under the start folder")
    print("%-27s %8s %8s %8s" % ("ms to painted", "min", "p50", "max"))
    rows = [("bare window", bare), ("start screen", screen)]
    if behind:
        rows.append(("widgets behind the picture", behind))
    for name, v in rows:
        print("%-27s %8.1f %8.1f %8.1f" % ((name,) + q(v)))
    print(f"ratio of medians (start screen / bare): {statistics.median(screen) / statistics.median(bare):.2f}")


if __name__ == "__main__":
    main()
