#!/usr/bin/env python3
"""Plays one game of Pellox on a virtual X display, as a person would.

Starts Xvfb (unless --display is given), starts the game with a fresh records
file, presses and releases Game A, steers the wolf to every egg it sees until
a few are caught, then lets the eggs fall until the game is over. It reads the
digits and the miss marks from screenshots, checks the records file, clicks the
exit button (the program must end with status 0), starts the game again and
checks that holding Game A shows the stored score.

    tools/e2e/play_through.py --game build/app/pellox --out /tmp/e2e

With --layout ru (or ua, gr, il) the display's keyboard layout is switched with
setxkbmap first and the wolf is steered with the keys in the places of W, O, D
and K, which type that layout's letters (ц щ в л on Russian), as a player with
that layout active would.

Screenshots land in --out. Needs xvfb, xdotool and imagemagick.
"""

import argparse
import os
import subprocess
import sys
import tempfile
import time

WINDOW = (194, 146)  # where the game window opens on a screen without a window manager
START_SCREEN = (169, 110)  # where the start screen opens
START_BUTTON = (104 + 385 // 2, 360 + 25 // 2)  # inside the start screen

# Boxes of the built-in layout (left, top, width, height), window coordinates,
# from the game's sprite table.
LAYOUT_TABLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "lcd", "core", "sprite_layout.txt")


def read_boxes(table=LAYOUT_TABLE):
    boxes = {}
    with open(table) as f:
        for line in f:
            if line.strip() and not line.startswith("#"):
                name, left, top, width, height = line.split()[:5]
                boxes[name] = (int(left), int(top), int(width), int(height))
    return boxes


BOX = read_boxes()
CHUTES = ["UL", "UR", "DL", "DR"]  # the wolf's positions 0 to 3
EGGS = {c: [BOX[f"imEgg{name}{step}"] for step in range(1, 6)] for c, name in enumerate(CHUTES)}  # top to mouth
KEYS = {0: "w", 1: "o", 2: "d", 3: "k"}
# What the keys in the places of W, O, D and K type on layouts without Latin letters (X keysyms).
LAYOUT_KEYS = {
    "us": KEYS,
    "ru": {0: "Cyrillic_tse", 1: "Cyrillic_shcha", 2: "Cyrillic_ve", 3: "Cyrillic_el"},
    "ua": {0: "Cyrillic_tse", 1: "Cyrillic_shcha", 2: "Cyrillic_ve", 3: "Cyrillic_el"},
    "gr": {0: "Greek_finalsmallsigma", 1: "Greek_omicron", 2: "Greek_delta", 3: "Greek_kappa"},
    "il": {0: "apostrophe", 1: "hebrew_finalmem", 2: "hebrew_gimel", 3: "hebrew_lamed"},
}
BASKETS = {c: BOX[f"imBask{c}"] for c in range(4)}
MARKS = [BOX[f"imErr{m}"] for m in (1, 2, 3)]
# Segments U, UL, UR, M, DL, DR, D of ones, tens, hundreds, thousands.
SEGMENTS = [[BOX[f"imD{place}_{segment}"] for segment in ("U", "UL", "UR", "M", "DL", "DR", "D")]
            for place in (1, 10, 100, 1000)]
PATTERNS = {  # lit segments -> digit
    (1, 1, 1, 0, 1, 1, 1): 0, (0, 0, 1, 0, 0, 1, 0): 1, (1, 0, 1, 1, 1, 0, 1): 2, (1, 0, 1, 1, 0, 1, 1): 3,
    (0, 1, 1, 1, 0, 1, 0): 4, (1, 1, 0, 1, 0, 1, 1): 5, (1, 1, 0, 1, 1, 1, 1): 6, (1, 1, 1, 0, 0, 1, 0): 7,
    (1, 1, 1, 1, 1, 1, 1): 8, (1, 1, 1, 1, 0, 1, 1): 9, (0, 0, 0, 0, 0, 0, 0): None,
}
BUTTONS = {"A": (759, 86), "B": (758, 145), "T": (759, 203), "S": (818, 117), "X": (817, 176)}


class Screen:
    def __init__(self, display):
        self.env = dict(os.environ, DISPLAY=display)

    def run(self, *args, **kw):
        return subprocess.run(args, env=self.env, check=True, capture_output=True, **kw)

    def grab(self, path=None):
        """The screen as rows of (r, g, b); also saved as PNG when path is given."""
        ppm = self.run("import", "-window", "root", "-depth", "8", "ppm:-").stdout
        if path:
            self.run("convert", "ppm:-", path, input=ppm)
        return Picture(ppm)

    def mouse(self, button_name, action):
        x, y = BUTTONS[button_name]
        self.run("xdotool", "mousemove", str(WINDOW[0] + x), str(WINDOW[1] + y))
        self.run("xdotool", action, "1")

    def key(self, name):
        self.run("xdotool", "key", name)


class Picture:
    def __init__(self, ppm):
        # P6 header: magic, width, height, maxval, each followed by white space.
        fields, pos = [], 0
        while len(fields) < 4:
            while ppm[pos:pos + 1].isspace():
                pos += 1
            end = pos
            while not ppm[end:end + 1].isspace():
                end += 1
            fields.append(ppm[pos:end])
            pos = end
        self.width, self.height = int(fields[1]), int(fields[2])
        self.data = ppm[pos + 1:]

    def dark_share(self, box):
        """Share of the box's pixels dark enough to be a lit LCD segment."""
        left, top, w, h = box
        dark = 0
        for y in range(WINDOW[1] + top, WINDOW[1] + top + h):
            row = y * self.width * 3
            for x in range(WINDOW[0] + left, WINDOW[0] + left + w):
                r, g, b = self.data[row + 3 * x: row + 3 * x + 3]
                dark += (r * 3 + g * 6 + b) / 10 < 90
        return dark / (w * h)

    def lit(self, box, share=0.12):
        return self.dark_share(box) >= share

    def digits(self):
        """The four digits as text, blank places as spaces, '?' for no digit."""
        text = ""
        for place in reversed(range(4)):
            pattern = tuple(int(self.lit(b, 0.3)) for b in SEGMENTS[place])
            value = PATTERNS.get(pattern, "?")
            text += " " if value is None else str(value)
        return text

    def basket(self):
        """The position whose basket is drawn (the darkest basket box)."""
        return max(BASKETS, key=lambda position: self.dark_share(BASKETS[position]))

    def marks(self):
        return [self.lit(b) for b in MARKS]

    def eggs(self):
        return {c: [self.lit(b) for b in boxes] for c, boxes in EGGS.items()}


def wait_for_window(screen, seconds=20):
    deadline = time.time() + seconds
    while time.time() < deadline:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--class", "pellox"],
                               env=screen.env, capture_output=True, text=True)
        if found.stdout.strip():
            time.sleep(0.5)
            return found.stdout.split()[0]
        time.sleep(0.2)
    raise SystemExit("the game window did not appear")


def start_game(args, screen, records, stderr=subprocess.DEVNULL):
    env = dict(screen.env, PELLOX_RECORDS=records, QT_QPA_PLATFORM="xcb")
    # Started from the records' empty folder, as a menu starts it from home: the
    # skin search from a source tree would list the skins of its build folders,
    # and the start button would launch the last of them.
    game = subprocess.Popen([os.path.abspath(args.game)], env=env, cwd=os.path.dirname(records),
                            stdout=subprocess.DEVNULL, stderr=stderr)
    # The start screen comes first: its start button hides it and shows the game.
    wait_for_window(screen)
    screen.run("xdotool", "mousemove", str(START_SCREEN[0] + START_BUTTON[0]), str(START_SCREEN[1] + START_BUTTON[1]))
    screen.run("xdotool", "click", "1")
    time.sleep(1.0)
    window = wait_for_window(screen)
    screen.run("xdotool", "windowfocus", "--sync", window)
    return game


def play(args, screen, records, out):
    keys = LAYOUT_KEYS[args.layout]
    log = []
    game = start_game(args, screen, records)
    time.sleep(1.5)
    screen.grab(os.path.join(out, "1-demo.png"))

    screen.mouse("A", "mousedown")
    time.sleep(0.3)
    armed = screen.grab(os.path.join(out, "2-armed.png"))
    log.append(f"armed: digits '{armed.digits()}'")
    screen.mouse("A", "mouseup")

    # Each key once, away from where the wolf stands: the basket must follow.
    turns = []
    for position in (1, 3, 0, 2):
        screen.key(keys[position])
        time.sleep(0.15)
        turns.append((position, screen.grab().basket()))
    log.append("keys " + ", ".join(f"{keys[p]} -> basket {b}" for p, b in turns))

    caught_target, wolf, deadline = args.catch, 2, time.time() + 120
    shown = None
    while time.time() < deadline:
        pic = screen.grab()
        shown = pic.digits()
        score = int(shown.strip() or 0) if "?" not in shown else -1
        if score >= caught_target:
            break
        # Go to the chute whose egg is lowest down.
        best = None
        for chute, places in pic.eggs().items():
            for place in range(4, -1, -1):
                if places[place] and (best is None or place > best[1]):
                    best = (chute, place)
        if best and best[0] != wolf:
            wolf = best[0]
            screen.key(keys[wolf])
        time.sleep(0.05)
    playing = screen.grab(os.path.join(out, "3-caught.png"))
    log.append(f"after catching: digits '{playing.digits()}', marks {playing.marks()}")

    # Hands off: the eggs fall until the game is over.
    # A half miss blinks its mark every 250 ms: the game is over only when all
    # three marks stay lit for well over a blink.
    deadline, steady_since = time.time() + 180, None
    while time.time() < deadline:
        if all(screen.grab().marks()):
            steady_since = steady_since or time.time()
            if time.time() - steady_since > 1.0:
                break
        else:
            steady_since = None
        time.sleep(0.1)
    time.sleep(1.0)
    over = screen.grab(os.path.join(out, "4-game-over.png"))
    final = over.digits()
    log.append(f"game over: digits '{final}', marks {over.marks()}")

    screen.mouse("X", "mousedown")
    screen.mouse("X", "mouseup")
    try:
        status = game.wait(timeout=10)
    except subprocess.TimeoutExpired:
        game.kill()
        status = "hung"
    log.append(f"exit button: program ended with status {status}")
    return log, final, status, over, turns


def start_display(display, spare=":97"):
    """The display to use: the one given, or a new Xvfb on spare (returned to be ended)."""
    if display:
        return display, None
    display = spare
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x800x24", "-nolisten", "tcp", "-noreset"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(1.0)
    return display, xvfb


def press_exit(screen, game):
    """Presses the case's exit button; the program's status, or "hung"."""
    screen.mouse("X", "mousedown")
    screen.mouse("X", "mouseup")
    try:
        return game.wait(timeout=10)
    except subprocess.TimeoutExpired:
        game.kill()
        return "hung"


def report(what, log, failures):
    """Prints the log and the failures; the exit status."""
    print("\n".join(log))
    for f in failures:
        print("FAILED:", f)
    print(f"{what}:", "failed" if failures else "passed")
    return 1 if failures else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--game", default="build/app/pellox")
    parser.add_argument("--out", default="e2e-shots")
    parser.add_argument("--display", help="use this X display instead of starting Xvfb")
    parser.add_argument("--catch", type=int, default=3, help="eggs to catch before letting them fall")
    parser.add_argument("--layout", default="us", choices=sorted(LAYOUT_KEYS),
                        help="keyboard layout to switch the display to with setxkbmap (back to us at the end)")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)

    display, xvfb = start_display(args.display)
    screen = Screen(display)
    failures = []
    try:
        screen.run("setxkbmap", args.layout)
        with tempfile.TemporaryDirectory() as tmp:
            records = os.path.join(tmp, "records.conf")
            log, final, status, over, turns = play(args, screen, records, args.out)
            for wanted, shown in turns:
                if shown != wanted:
                    failures.append(f"the key {LAYOUT_KEYS[args.layout][wanted]} left the basket at "
                                    f"{shown} instead of {wanted}")
            score = final.strip()
            if "?" in final or not score.isdigit() or int(score) < args.catch:
                failures.append(f"final score '{final}' is not at least {args.catch}")
            if not all(over.marks()):
                failures.append("the three miss marks are not all lit at game over")
            if status != 0:
                failures.append(f"exit status {status}")
            stored = open(records).read() if os.path.exists(records) else ""
            log.append("records file: " + " ".join(stored.split()))
            if "A=" not in stored:
                failures.append("the records file holds no score for Game A")

            game = start_game(args, screen, records)
            time.sleep(1.0)
            screen.mouse("A", "mousedown")
            time.sleep(0.3)
            again = screen.grab(os.path.join(args.out, "5-restarted-armed.png"))
            screen.mouse("A", "mouseup")
            log.append(f"restarted, Game A held: digits '{again.digits()}'")
            if again.digits().strip() != score:
                failures.append(f"restarted game shows '{again.digits()}' instead of the stored {score}")
            screen.mouse("X", "mousedown")
            screen.mouse("X", "mouseup")
            game.wait(timeout=10)
    finally:
        subprocess.run(["setxkbmap", "us"], env=screen.env, capture_output=True)
        if xvfb:
            xvfb.terminate()
    return report(f"end-to-end ({args.layout} layout)", log, failures)


if __name__ == "__main__":
    sys.exit(main())
