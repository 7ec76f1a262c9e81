#!/usr/bin/env python3
"""Puts the scores file through what a player's machine may do to it.

Usage: tools/records_stress.py [--writer PATH] [--dir DIR] kill [--rounds N] [--seed S]
       tools/records_stress.py [--writer PATH] [--dir DIR] race [--rounds N]

Both drive records_writer (built from tests/records/records_writer_main.cpp),
which writes through the game's own SettingsRecordsStore.

kill: N times, a writer sets one variant to a new score and is killed with
SIGKILL at a random moment of its write (uniformly between the moment it
starts writing and the 75th percentile of the time of 20 writes timed first;
a write that ends before its kill is checked too but not counted in N).
After every kill the file must hold the old or the new score of that variant
and exactly the old score of the other; a write that was not killed must
have stored its score. Prints where the kills landed and what they left.

race: two writers at once, one for Game A and one for Game B, each writing
the scores 1 .. N; each checks after every write that its score is there and
that the other's never went back. At the end the file must hold both last
scores. A write refused because the other held the file longer than the game
waits is counted, not failed, as long as the refusal said so.

Exit status 0 when every check held, 1 otherwise.
"""

import argparse
import os
import pathlib
import random
import signal
import socket
import statistics
import subprocess
import sys
import tempfile
import time

HERE = pathlib.Path(__file__).resolve().parent
DEFAULT_WRITER = HERE.parent / "build" / "tests" / "engine" / "records_writer"
RECORDS = "records.conf"


class Writer:
    def __init__(self, program, folder):
        self.program = str(program)
        self.file = str(pathlib.Path(folder) / RECORDS)

    def read(self):
        out = subprocess.run([self.program, self.file, "read"], check=True, capture_output=True, text=True)
        a, b = out.stdout.split()
        return {"A": int(a), "B": int(b)}

    def start(self, *args):
        return subprocess.Popen([self.program, self.file, *args], stdout=subprocess.PIPE, text=True)

    def write(self, variant, score):
        p = self.start("write", variant, str(score))
        out, _ = p.communicate()
        if p.returncode != 0:
            raise SystemExit(f"write {variant}={score} failed: {out.strip()}")


def leftovers(folder):
    return sorted(n for n in os.listdir(folder) if n != RECORDS)


def dead_pid():
    p = subprocess.Popen(["true"])
    p.wait()
    return p.pid


def time_writes(writer, count):
    """Seconds from "ready" to "done" of writes that each find the lock file
    that a killed writer leaves (its process gone), as the writes after a kill
    do."""
    times = []
    for i in range(count):
        with open(writer.file + ".lock", "w") as lock:
            lock.write(f"{dead_pid()}\nrecords_writer\n{socket.gethostname()}\n")
        p = writer.start("write", "A" if i % 2 else "B", str(100 + i))
        assert p.stdout.readline().strip() == "ready"
        t0 = time.monotonic()
        done = p.stdout.readline().strip()
        times.append(time.monotonic() - t0)
        p.wait()
        if done != "done":
            raise SystemExit(f"a write without a kill failed: {done}")
    return times


def run_kill(writer, folder, rounds, seed):
    rng = random.Random(seed)
    writer.write("A", 1234)
    writer.write("B", 5678)
    times = sorted(time_writes(writer, 20))
    # Kills fall anywhere in a write; a write quicker than its kill counts
    # apart and does not make up the number.
    # Most kills fall within a write, a few after it.
    window = times[int(len(times) * 0.75)]
    print(f"write time over 20 writes: median {statistics.median(times) * 1e3:.2f} ms, "
          f"longest {times[-1] * 1e3:.2f} ms; kills fall within {window * 1e3:.2f} ms of the start")
    old = writer.read()
    killed = {"old": [], "new": []}
    finished = 0
    most_leftovers = 0
    leftover_names = set()
    faults = []
    i = 0
    while len(killed["old"]) + len(killed["new"]) < rounds and len(faults) < 20:
        variant = "A" if i % 2 == 0 else "B"
        other = "B" if variant == "A" else "A"
        new = rng.randrange(1, 10000)
        while new == old[variant]:
            new = rng.randrange(1, 10000)
        p = writer.start("write", variant, str(new))
        if p.stdout.readline().strip() != "ready":
            raise SystemExit("the writer did not start")
        delay = rng.uniform(0, window)
        time.sleep(delay)
        p.send_signal(signal.SIGKILL)  # not yet reaped: its number is still its own
        rest = p.stdout.read()
        p.wait()
        now = writer.read()
        if now[other] != old[other]:
            faults.append(f"write {i}: {other} was {old[other]}, reads {now[other]} after a write of {variant}")
        if "refused" in rest:
            faults.append(f"write {i}: refused: {rest.strip()}")
        if "done" in rest:
            finished += 1
            if now[variant] != new:
                faults.append(f"write {i}: a finished write of {variant}={new} reads {now[variant]}")
        elif now[variant] in (new, old[variant]):
            killed["new" if now[variant] == new else "old"].append(delay)
        else:
            faults.append(f"write {i}: {variant} reads {now[variant]}, neither the old {old[variant]} nor the new {new}")
        names = leftovers(folder)
        most_leftovers = max(most_leftovers, len(names))
        leftover_names.update(n.replace(RECORDS, "<file>") for n in names)
        old = now
        i += 1

    def ms(delays):
        return f"{statistics.median(delays) * 1e3:.2f} ms" if delays else "-"

    print(f"{len(killed['old']) + len(killed['new'])} writes killed in the middle: {len(killed['old'])} left "
          f"the old score (median kill after {ms(killed['old'])}), {len(killed['new'])} the new one "
          f"(median kill after {ms(killed['new'])}); {finished} more writes finished before their kill")
    print(f"files beside the scores file: at most {most_leftovers} at once"
          + (f", named {', '.join(sorted(leftover_names))}" if leftover_names else ""))
    print(f"left at the end: {', '.join(leftovers(folder)) or 'nothing'}")
    return faults


def run_race(writer, folder, rounds):
    a = writer.start("race", "A", str(rounds))
    b = writer.start("race", "B", str(rounds))
    out_a, _ = a.communicate()
    out_b, _ = b.communicate()
    faults = []
    last = {}
    for name, p, out in (("A", a, out_a), ("B", b, out_b)):
        lines = out.strip().splitlines()
        summary = lines[-1] if lines else "(nothing)"
        print(f"writer {name}: {summary}")
        for line in [line for line in lines if line.startswith("refused")][:3]:
            print(f"  {line}")
        if p.returncode != 0 or not summary.startswith("written"):
            faults.append(f"writer {name}: {summary}")
            continue
        # The last score that went in: a refusal keeps the one before.
        last[name] = int(summary.split()[-1])
    final = writer.read()
    print(f"the file holds A={final['A']} B={final['B']}")
    for name in ("A", "B"):
        if name in last and final[name] != last[name]:
            faults.append(f"{name} reads {final[name]}, its writer's last score was {last[name]}")
        if final[name] == 0:
            faults.append(f"{name} reads 0")
    return faults


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--writer", default=str(DEFAULT_WRITER), help="the records_writer program")
    parser.add_argument("--dir", help="the folder to work in (default: a new folder in /dev/shm for race, "
                        "in the temporary folder for kill)")
    sub = parser.add_subparsers(dest="mode", required=True)
    kill = sub.add_parser("kill")
    kill.add_argument("--rounds", type=int, default=1000)
    kill.add_argument("--seed", type=int, default=None)
    race = sub.add_parser("race")
    race.add_argument("--rounds", type=int, default=500)
    args = parser.parse_args()

    folder_base = args.dir
    if folder_base is None and args.mode == "race" and os.access("/dev/shm", os.W_OK):
        # In memory, writes take microseconds, so the two writers often write
        # within one tick of the file clock: a writer that judges the file
        # unchanged by its size and time then loses the other's score.
        folder_base = "/dev/shm"
    with tempfile.TemporaryDirectory(prefix="pellox-records-", dir=folder_base) as folder:
        writer = Writer(args.writer, folder)
        t0 = time.monotonic()
        if args.mode == "kill":
            seed = args.seed if args.seed is not None else random.randrange(1 << 30)
            print(f"seed {seed}")
            faults = run_kill(writer, folder, args.rounds, seed)
        else:
            faults = run_race(writer, folder, args.rounds)
        print(f"{time.monotonic() - t0:.1f} s")
    for fault in faults[:20]:
        print("FAULT:", fault)
    if faults:
        print(f"{len(faults)} faults")
        return 1
    print("every check held")
    return 0


if __name__ == "__main__":
    sys.exit(main())
