#!/usr/bin/env python3
"""Two `pellox --install-skin` runs of one archive at the same moment.

Usage: two_installs_at_once.py PELLOX [--rounds N]

The archive is the built-in game exported as a skin (`--export-skin`) and
zipped, so every install passes its check. Each round starts both installs
into an empty skins folder at once; both must end with status 0, and the
folder must then hold "Night" with its skin file and no hidden staging
folder: the install that comes second finds the same files already
installed, unless both looked before either was in place, when it goes
beside as "Night (2)". Exit status 0 when every round
held, 1 otherwise.
"""

import argparse
import os
import pathlib
import subprocess
import sys
import tempfile
import zipfile


def make_archive(pellox, work):
    exported = work / "export"
    subprocess.run([pellox, "--export-skin", str(exported)], check=True, capture_output=True)
    archive = work / "Night.zip"
    with zipfile.ZipFile(archive, "w") as z:
        for file in sorted(exported.rglob("*")):
            if file.is_file():
                z.write(file, file.relative_to(exported).as_posix())
    return archive


def one_round(pellox, archive, data_home):
    env = dict(os.environ, XDG_DATA_HOME=str(data_home), QT_QPA_PLATFORM="offscreen")
    runs = [subprocess.Popen([pellox, "--install-skin", str(archive)], env=env,
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True) for _ in range(2)]
    outcomes = [(run.wait(), *run.communicate()) for run in runs]
    problems = []
    for status, out, err in outcomes:
        if status != 0:
            problems.append(f"an install ended with status {status}: {err.strip() or out.strip()}")
    skins = data_home / "pellox" / "skins"
    entries = sorted(p.name for p in skins.iterdir())
    if entries not in (["Night"], ["Night", "Night (2)"]):
        problems.append(f"the skins folder holds {entries}, not Night (and perhaps Night (2))")
    for name in entries:
        if not name.startswith(".") and not list((skins / name).glob("*.ini")):
            problems.append(f"{name} holds no skin file")
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("pellox")
    parser.add_argument("--rounds", type=int, default=20)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="pellox-two-installs-") as temp:
        work = pathlib.Path(temp)
        archive = make_archive(args.pellox, work)
        failed = 0
        for round_number in range(1, args.rounds + 1):
            problems = one_round(args.pellox, archive, work / f"data-{round_number}")
            for problem in problems:
                print(f"round {round_number}: {problem}")
            failed += bool(problems)
        print(f"{args.rounds - failed} of {args.rounds} rounds ended with both installs done and the skin in place")
        return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
