#!/usr/bin/env python3
"""Kills changes of the data file and workbook saves at random moments.

    bench/crash/crash_injection.py [--build BUILD] [--tries N] [--part store|workbook|both]

For each try, the same change is first made to a copy without interruption
(the new file), then started on the real file and killed with SIGKILL after a
random time up to a little more than the change takes. The file left must be
the old one or the new one, whole: for the data file byte for byte, for the
workbook as the workbook layer reads it back (it opens, and the written cell
and the row colour are all old or all new). At most one temporary file may be
left at any time, and after the last try an uninterrupted change must leave
none. Prints a summary; exit status 1 when a check failed.

Needs a build with tools/tapwise-store, bench/crash/tapwise_workbook_save_once
and tests/workbook/tapwise_workbook_probe, and python3-openpyxl for the
workbook made to start from.
"""

import argparse
import glob
import json
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
LINES = "".join(f"key{n}\t{n}\n" for n in range(20000)).encode()


def timed(command, stdin=None):
    start = time.monotonic()
    done = subprocess.run(command, input=stdin, capture_output=True)
    if done.returncode != 0:
        sys.exit(f"{' '.join(command)} failed: {done.stderr.decode(errors='replace')}")
    return time.monotonic() - start


def killed(command, after, stdin=None):
    """Starts the command, kills it after `after` seconds; True if it ended first."""
    process = subprocess.Popen(command, stdin=subprocess.PIPE if stdin else subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    if stdin:
        try:
            process.stdin.write(stdin)
            process.stdin.close()
        except BrokenPipeError:
            pass
    time.sleep(after)
    finished = process.poll() is not None
    if not finished:
        process.send_signal(signal.SIGKILL)
    process.wait()
    return finished


def read(path):
    with open(path, "rb") as f:
        return f.read()


class Tally:
    def __init__(self, name):
        self.name = name
        self.counts = {"old": 0, "new": 0, "finished": 0}
        self.failures = []

    def fail(self, text):
        self.failures.append(text)
        print(f"{self.name}: FAILED: {text}", flush=True)

    def note(self, ended, now, old, new):
        """Counts one try: finished before the kill, or killed with the old or
        the new content in place. False when the content is neither."""
        if ended:
            self.counts["finished"] += 1
        elif now == old:
            self.counts["old"] += 1
        elif now == new:
            self.counts["new"] += 1
        return now in (old, new)

    def report(self):
        print(f"{self.name}: {sum(self.counts.values())} tries: {self.counts['old']} left the old "
              f"file, {self.counts['new']} the new one, {self.counts['finished']} ended before "
              f"the kill; {len(self.failures)} failed")


def store_part(build, tries, rng):
    tally = Tally("store")
    tool = os.path.join(build, "tools", "tapwise-store")
    work = tempfile.mkdtemp(prefix="tapwise-crash-store-")
    folder, reference = os.path.join(work, "data"), os.path.join(work, "reference")
    os.makedirs(folder)
    os.makedirs(reference)
    timed([tool, "init", folder])
    for n in range(6):
        timed([tool, "add", folder, f"big {n}"], LINES)
    tpw = os.path.join(work, "one.tpw")
    timed([tool, "export", folder, "@5", tpw])
    data = os.path.join(folder, "TapwiseData.dtk")
    operations = [(["add", "{}", "new"], LINES), (["delete", "{}", "@5"], None),
                  (["import", "{}", tpw], None), (["delete", "{}", "@5"], None)]
    for attempt in range(tries):
        arguments, stdin = operations[attempt % len(operations)]
        old = read(data)
        shutil.copyfile(data, os.path.join(reference, "TapwiseData.dtk"))
        took = timed([tool] + [a.format(reference) for a in arguments], stdin)
        new = read(os.path.join(reference, "TapwiseData.dtk"))
        ended = killed([tool] + [a.format(folder) for a in arguments], rng.uniform(0, took * 1.2),
                       stdin)
        now = read(data)
        if not tally.note(ended, now, old, new):
            tally.fail(f"try {attempt} ({arguments[0]}): the data file is neither old nor new")
            shutil.copyfile(os.path.join(reference, "TapwiseData.dtk"), data)
        left = glob.glob(os.path.join(folder, ".TapwiseData.dtk.*.tmp"))
        if len(left) > 1:
            tally.fail(f"try {attempt}: {len(left)} temporary files left")
    timed([tool, "add", folder, "last"], b"a\t1\n")
    left = glob.glob(os.path.join(folder, ".TapwiseData.dtk.*.tmp"))
    if left:
        tally.fail(f"an uninterrupted change left {len(left)} temporary files")
    if subprocess.run([tool, "check", folder], capture_output=True).returncode != 0:
        tally.fail("the data file is not sound at the end")
    shutil.rmtree(work)
    return tally


def workbook_view(probe, path, row, column):
    done = subprocess.run([probe, path, str(row), str(column)], capture_output=True)
    view = json.loads(done.stdout or b'{"error": "no output"}')
    if "error" in view:
        return None
    last = view["rows"][row - 1]
    return last["cells"][column - 1], last["color"]


def workbook_part(build, tries, rng, strict_cleanup):
    tally = Tally("workbook")
    save = os.path.join(build, "bench", "crash", "tapwise_workbook_save_once")
    probe = os.path.join(build, "tests", "workbook", "tapwise_workbook_probe")
    work = tempfile.mkdtemp(prefix="tapwise-crash-workbook-")
    book, reference = os.path.join(work, "book.xlsx"), os.path.join(work, "reference.xlsx")
    subprocess.run(["/usr/bin/python3", os.path.join(ROOT, "tests", "workbook", "fixtures.py"),
                    "people", book], check=True)
    row, column = 3, 2
    for attempt in range(tries):
        old = workbook_view(probe, book, row, column)
        shutil.copyfile(book, reference)
        text = f"try {attempt}"
        took = timed([save, reference, str(row), str(column), text])
        ended = killed([save, book, str(row), str(column), text], rng.uniform(0, took * 1.2))
        now = workbook_view(probe, book, row, column)
        new = (text, 43)
        if not tally.note(ended, now, old, new):
            tally.fail(f"try {attempt}: the workbook reads {now}, neither {old} nor {new}")
            shutil.copyfile(reference, book)
        left = glob.glob(os.path.join(work, ".~tapwise-book.xlsx-*"))
        if len(left) > 1 and strict_cleanup:
            tally.fail(f"try {attempt}: {len(left)} temporary files left")
    timed([save, book, str(row), str(column), "last"])
    left = glob.glob(os.path.join(work, ".~tapwise-book.xlsx-*"))
    print(f"workbook: {len(left)} temporary files left after an uninterrupted save")
    if left and strict_cleanup:
        tally.fail("an uninterrupted save left temporary files")
    shutil.rmtree(work)
    return tally


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build"))
    parser.add_argument("--tries", type=int, default=200)
    parser.add_argument("--part", choices=["store", "workbook", "both"], default="both")
    parser.add_argument("--seed", type=int, default=None)
    parser.add_argument("--strict-workbook-cleanup", action="store_true",
                        help="fail when workbook saves leave temporary files behind")
    args = parser.parse_args()
    # A sanitized build reports leaks at exit; they are not what this is about.
    os.environ.setdefault("ASAN_OPTIONS", "detect_leaks=0")
    seed = args.seed if args.seed is not None else random.randrange(1 << 30)
    print(f"seed {seed}")
    rng = random.Random(seed)
    tallies = []
    if args.part in ("store", "both"):
        tallies.append(store_part(args.build, args.tries, rng))
    if args.part in ("workbook", "both"):
        tallies.append(workbook_part(args.build, args.tries, rng, args.strict_workbook_cleanup))
    for tally in tallies:
        tally.report()
    failed = sum(len(t.failures) for t in tallies)
    print(f"crash injection: {len(tallies) - sum(1 for t in tallies if t.failures)} passed, "
          f"{sum(1 for t in tallies if t.failures)} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
