#!/usr/bin/env python3
"""Takes the sound service away from a running game of Pellox and brings it back.

Starts a private PulseAudio daemon with a null sink (its own XDG_RUNTIME_DIR,
no autospawn), Xvfb unless --display is given, and the game with OpenAL Soft
held to its PulseAudio back-end (ALSOFT_DRIVERS=pulse). It plays Game A with
the bot of long_run.py and, in turn:

  1. records the null sink's monitor with parec: the game's sounds must reach it;
  2. kills the daemon (SIGKILL unless --signal says otherwise) and plays on for
     --gap seconds: the game must stay alive and the LCD keep changing;
  3. starts a new daemon on the same socket: the game's stream must come back
     (pactl list sink-inputs) and parec must record its sounds again.

Keeps the two recordings as WAV files beside the screenshots. Prints what it saw: the game's own lines on stderr, peak levels, the time from
the daemon's return to the game's stream, frames drawn during the gap.

    tools/e2e/sound_device_loss.py --game build/app/pellox --out /tmp/loss

Needs pulseaudio, pulseaudio-utils, xvfb, xdotool and imagemagick.
"""

import argparse
import array
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import wave

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from long_run import lowest_egg, press_game_a  # noqa: E402
from play_through import KEYS, Screen, press_exit, report, start_display, start_game  # noqa: E402


class Pulse:
    def __init__(self, runtime):
        self.env = dict(os.environ, XDG_RUNTIME_DIR=runtime, HOME=runtime, PULSE_RUNTIME_PATH=os.path.join(runtime, "pulse"))
        self.proc = None

    def start(self):
        self.proc = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit", "--use-pid-file=no",
             "-L", "module-null-sink", "-L", "module-native-protocol-unix"],
            env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.time() + 10
        while time.time() < deadline:
            if subprocess.run(["pactl", "info"], env=self.env, capture_output=True).returncode == 0:
                return
            time.sleep(0.1)
        raise SystemExit("pulseaudio did not come up")

    def kill(self, sig):
        self.proc.send_signal(sig)
        self.proc.wait(timeout=10)

    def sink_inputs(self):
        out = subprocess.run(["pactl", "list", "short", "sink-inputs"], env=self.env, capture_output=True, text=True)
        return [line for line in out.stdout.splitlines() if line.strip()]

    def peak(self, seconds, wav_path):
        """Largest absolute sample the null sink's monitor carried over that time;
        the recording is kept as a WAV file."""
        rec = subprocess.Popen(["parec", "-d", "null.monitor", "--raw", "--format=s16le", "--channels=2",
                                "--rate=44100", "--latency-msec=50"],
                               env=self.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        time.sleep(seconds)
        rec.terminate()
        data = rec.communicate()[0]
        data = data[: len(data) // 4 * 4]
        with wave.open(wav_path, "wb") as out:
            out.setnchannels(2)
            out.setsampwidth(2)
            out.setframerate(44100)
            out.writeframes(data)
        samples = array.array("h")
        samples.frombytes(data)
        return max((abs(s) for s in samples), default=0), len(samples) // 2


class Bot(threading.Thread):
    """Plays Game A on and on: steers to the lowest egg, presses Game A now and then."""

    def __init__(self, screen):
        super().__init__(daemon=True)
        self.screen = screen
        self.stop = threading.Event()
        self.lock = threading.Lock()
        self.changes = []  # times the LCD changed
        self.last = None

    def run(self):
        rng, wolf, next_press = random.Random(3), 2, 0.0
        while not self.stop.is_set():
            if time.time() >= next_press:
                press_game_a(self.screen)
                next_press = time.time() + 6
            pic = self.screen.grab()
            seen = (pic.digits(), str(pic.eggs()), str(pic.marks()))
            with self.lock:
                if seen != self.last:
                    self.last = seen
                    self.changes.append(time.time())
            target = lowest_egg(pic)
            if target:
                chute = target[0] if rng.random() > 0.15 else rng.choice(list(KEYS))
                if chute != wolf:
                    wolf = chute
                    self.screen.key(KEYS[wolf])
            time.sleep(0.08)

    def changes_between(self, start, end):
        with self.lock:
            return sum(start <= t < end for t in self.changes)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--game", default="build/app/pellox")
    parser.add_argument("--out", default="sound-loss-shots")
    parser.add_argument("--display", help="use this X display instead of starting Xvfb")
    parser.add_argument("--gap", type=float, default=20, help="seconds without a sound service")
    parser.add_argument("--signal", default="KILL", help="signal that ends the daemon (KILL, TERM)")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    for tool in ("pulseaudio", "pactl", "parec"):
        if not shutil.which(tool):
            raise SystemExit(f"{tool} is missing: apt-get install pulseaudio pulseaudio-utils")

    display, xvfb = start_display(args.display, spare=":96")
    failures, log = [], []
    runtime = tempfile.mkdtemp(prefix="pellox-pulse-")
    os.chmod(runtime, 0o700)
    pulse = Pulse(runtime)
    game = bot = None
    try:
        pulse.start()
        screen = Screen(display)
        screen.env.update(pulse.env, ALSOFT_DRIVERS="pulse")
        stderr_path = os.path.join(args.out, "game-stderr.txt")
        with tempfile.TemporaryDirectory() as tmp, open(stderr_path, "w") as game_err:
            game = start_game(args, screen, os.path.join(tmp, "records.conf"), stderr=game_err)
            bot = Bot(screen)
            bot.start()
            time.sleep(4)

            inputs = pulse.sink_inputs()
            peak, frames = pulse.peak(5, os.path.join(args.out, "1-before.wav"))
            log.append(f"before: {len(inputs)} sink input(s), monitor peak {peak} over {frames} frames")
            if not inputs or peak == 0:
                failures.append("no sound reached the sink before the daemon was killed")
            screen.grab(os.path.join(args.out, "1-before.png"))

            killed_at = time.time()
            pulse.kill(getattr(signal, "SIG" + args.signal))
            log.append(f"daemon ended with SIG{args.signal}")
            time.sleep(args.gap)
            gap_end = time.time()
            drawn = bot.changes_between(killed_at, gap_end)
            alive = game.poll() is None
            screen.grab(os.path.join(args.out, "2-without-service.png"))
            log.append(f"without service for {args.gap:g} s: game alive {alive}, LCD changed {drawn} times")
            if not alive or drawn < args.gap:
                failures.append("the game did not go on without its sound service")

            pulse.start()
            back_at = time.time()
            stream_at = None
            while time.time() - back_at < 15:
                if pulse.sink_inputs():
                    stream_at = time.time()
                    break
                time.sleep(0.1)
            peak, frames = pulse.peak(5, os.path.join(args.out, "3-after.wav"))
            screen.grab(os.path.join(args.out, "3-after.png"))
            if stream_at:
                log.append(f"after restart: the game's stream appeared after {stream_at - back_at:.1f} s, "
                           f"monitor peak {peak} over {frames} frames")
            else:
                log.append(f"after restart: no stream from the game within 15 s, monitor peak {peak}")
            if not stream_at or peak == 0:
                failures.append("sound did not come back with the daemon")
            log.append(f"LCD changes in the 10 s after the restart: {bot.changes_between(back_at, back_at + 10)}")

            bot.stop.set()
            bot.join()
            status = press_exit(screen, game)
            log.append(f"exit button: status {status}")
            if status != 0:
                failures.append(f"exit status {status}")
        log.append("the game's stderr:")
        log.extend("  " + line.rstrip() for line in open(stderr_path))
    finally:
        if bot:
            bot.stop.set()
        if game and game.poll() is None:
            game.kill()
        if pulse.proc and pulse.proc.poll() is None:
            pulse.kill(signal.SIGTERM)
        shutil.rmtree(runtime, ignore_errors=True)
        if xvfb:
            xvfb.terminate()
    return report("sound device loss", log, failures)


if __name__ == "__main__":
    sys.exit(main())
