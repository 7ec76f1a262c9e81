#!/usr/bin/env python3
"""The input lag bench on every platform it can reach here, one after the other.

input_lag_bench.py BENCH [--presses N] [--gap MIN,MAX] [--platforms offscreen,xcb,wayland] [--frames N]

BENCH is build/bench/input/input_lag_bench. Runs it on Qt's offscreen
platform with posted keys; on a private Xvfb (started here, with a 24-bit
screen and no window manager) with posted keys and with keys pressed through
XTest; and on a private headless weston (pixman renderer) with posted keys,
where the flush is the surface's commit. There it also runs weston's own
presentation-time client, one frame a second as after a key press, for the
compositor's share: from a commit to the frame's presentation, as weston
reports it (its headless output presents on a timer at its refresh rate).
The sound is OpenAL Soft's silent real-time null output, so that the tick
waits for its step sounds as with a sound card; the records file and the
runtime folders are temporary.
"""
import argparse
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time


def start_xvfb():
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x800x24",
                               "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as f:
        number = f.readline().strip()
    if not number:
        server.kill()
        sys.exit("Xvfb did not start")
    return server, ":" + number


def start_weston(runtime):
    socket = "pellox-lag"
    server = subprocess.Popen(["weston", "--backend=headless-backend.so", "--use-pixman", f"--socket={socket}",
                               "--width=1280", "--height=800", "--shell=desktop-shell.so"],
                              env=dict(os.environ, XDG_RUNTIME_DIR=runtime),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for _ in range(100):
        if os.path.exists(os.path.join(runtime, socket)):
            return server, socket
        time.sleep(0.05)
    server.kill()
    sys.exit("weston did not start")


def commit_to_presentation(env, frames):
    """weston-presentation-shm in its idle mode: one commit a second, each with presentation feedback."""
    out = subprocess.run(["stdbuf", "-oL", "timeout", "-s", "INT", str(frames + 2), "weston-presentation-shm", "-i"],
                         env=env, capture_output=True, text=True)
    c2p = [int(m) for m in re.findall(r"c2p (\d+) ms", out.stdout)][1:]  # the first frame maps the window
    if not c2p:
        return "no presentation feedback received"
    return (f"{len(c2p)} frames, commit to presentation: min {min(c2p)} ms, median {statistics.median(c2p)} ms, "
            f"max {max(c2p)} ms (whole milliseconds, as the client prints them)")


def run(bench, args, env, label):
    print(f"== {label}", flush=True)
    out = subprocess.run([bench] + args, env=env, capture_output=True, text=True, timeout=3600)
    print(out.stdout, flush=True)
    if out.returncode != 0:
        print(f"failed ({out.returncode}): {out.stderr[-600:]}", flush=True)
    return out.returncode


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("bench")
    parser.add_argument("--presses", default="300")
    parser.add_argument("--gap", default="20,250")
    parser.add_argument("--platforms", default="offscreen,xcb,wayland")
    parser.add_argument("--frames", type=int, default=30)
    args = parser.parse_args()
    bench = os.path.abspath(args.bench)
    common = ["--presses", args.presses, "--gap", args.gap]
    failures = 0
    with tempfile.TemporaryDirectory() as folder:
        runtime = os.path.join(folder, "runtime")
        os.makedirs(runtime, mode=0o700)
        env = dict(os.environ, XDG_RUNTIME_DIR=runtime, ALSOFT_LOGLEVEL="0",
                   PELLOX_RECORDS=os.path.join(folder, "records.conf"))
        env.setdefault("ALSOFT_DRIVERS", "null")
        platforms = args.platforms.split(",")
        if "offscreen" in platforms:
            failures += run(bench, common + ["--source", "posted"], dict(env, QT_QPA_PLATFORM="offscreen"),
                            "offscreen, posted keys") != 0
        if "xcb" in platforms:
            server, display = start_xvfb()
            try:
                xenv = dict(env, QT_QPA_PLATFORM="xcb", DISPLAY=display)
                failures += run(bench, common + ["--source", "posted"], xenv, "xcb under Xvfb, posted keys") != 0
                failures += run(bench, common + ["--source", "xtest"], xenv, "xcb under Xvfb, XTest keys") != 0
            finally:
                server.terminate()
                server.wait()
        if "wayland" in platforms:
            wl_runtime = os.path.join(folder, "wayland")
            os.makedirs(wl_runtime, mode=0o700)
            server, socket = start_weston(wl_runtime)
            try:
                wenv = dict(env, QT_QPA_PLATFORM="wayland", WAYLAND_DISPLAY=socket, XDG_RUNTIME_DIR=wl_runtime)
                failures += run(bench, common + ["--source", "posted"], wenv, "wayland under headless weston, posted keys") != 0
                print("== weston-presentation-shm -i on the same weston:", commit_to_presentation(wenv, args.frames))
            finally:
                server.terminate()
                server.wait()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
