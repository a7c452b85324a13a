#!/usr/bin/python3
"""A whole run typing text, against `xdotool type --delay 0` and a bare XTest
loop, on one fresh Xvfb.

A NoMsg run of a Key sequence of string lines (WaitTime 0) types about
5,100 mixed characters (é € ß and other characters outside a US keymap among
them) into an xterm running `cat`; then xdotool types the same text into a
second xterm, and a bare loop (`tapwise_bench_keys bare`: XTest press and
release, one XSync per key) presses as many keys into a third. Each round
prints, and the end gives the medians of:

- end to end: characters per second from starting the program to its exit,
  Tapwise against xdotool (goal: at least 1.5), and the characters each lost
  or put in the wrong place (goal for Tapwise: 0);
- typing alone: characters per second from the first to the last key press
  by the X server's time stamps, Tapwise against the bare loop (goal: at
  least 0.9). Presses of modifier keys are not counted: a run taps Ctrl
  alone before its start waits, and Shift is not a character. A second bare
  loop (`tapwise_bench_keys text`) types the same text as the run, with
  Shift and spare key codes where the text needs them: that is the least
  any program does for this text, and its ratio is printed beside;
- exit: from the run's last key press (server time stamp, milliseconds of
  the monotonic clock, as Xvfb keeps it) to the program's exit (goal: at
  most 50 ms).

Usage: bench/app/run_vs_xdotool.py [BUILD_DIR] [--rounds N] [--before DIR] [--idle-window]

BUILD_DIR defaults to build/ and must hold app/tapwise, tools/tapwise-store
and bench/platform/tapwise_bench_keys. With --before, every round also runs
the program of another build (same layout) right before this one, so that
both are measured under the same conditions. With --idle-window, the
program's main window stays open on the display through every phase, as
another Qt program of a desktop would: every client that follows the
keyboard's state is woken by each Shift press and each keymap change, and
the bare loops then pay for that too. The machine's load average is
printed before and after: figures swing with the load of a shared machine.
On a virtual machine they also swing with where the scheduler puts the
programs; `taskset -c 0` before the command keeps them on one processor,
which gives steadier figures (lower for every program).
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "bench", "platform"))
from type_vs_xdotool import CatTerminal, Xvfb, differences, mixed_text  # noqa: E402

TEXT_LENGTH = 5121
LINE_CHARACTERS = 43  # a Keys text holds 44 characters, the first is ":"
TIME_LIMIT = 300


def run_text():
    """The text to type: the mixed benchmark text without commas (a Keys text
    cannot hold one) and with "ø" for the few characters the data file cannot
    store (it holds Windows-1252)."""
    def storable(c):
        try:
            c.encode("cp1252")
            return True
        except UnicodeEncodeError:
            return False
    return "".join(c if storable(c) else "ø" for c in mixed_text(TEXT_LENGTH).replace(",", ";"))


def sequence_lines(text):
    """Keys/WaitTime lines that type `text`: string lines of at most 43
    characters, cut between two non-blank characters (Keys texts are
    trimmed), {SPACE} for a blank that cannot be kept in a string, {ENTER}
    for a line break."""
    lines = []
    for row in text.split("\n"):
        start = 0
        while start < len(row):
            if row[start] == " ":
                lines.append("{SPACE}")
                start += 1
                continue
            end = min(start + LINE_CHARACTERS, len(row))
            if end < len(row):  # a cut falls between two non-blank characters
                while end > start + 1 and (row[end - 1] == " " or row[end] == " "):
                    end -= 1
            while end > start + 1 and row[end - 1] == " ":
                end -= 1
            lines.append(":" + row[start:end])
            start = end
        lines.append("{ENTER}")
    lines.pop()  # the text ends with a line break: nothing after it
    return lines


class KeyWatch:
    """tapwise_bench_keys watch: the server's key presses of one phase."""

    def __init__(self, program, env):
        self.process = subprocess.Popen([program, "watch"], env=env, stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, text=True)
        if self.process.stdout.readline().strip() != "ready":
            raise RuntimeError("the key watcher did not start")

    def result(self):
        """(presses, first, last): server milliseconds."""
        out, _ = self.process.communicate(timeout=TIME_LIMIT)
        count, first, last = (int(v) for v in out.split())
        return count, first, last


def timed(argv, env):
    """Runs argv to its end: (start, end) on the monotonic clock."""
    start = time.monotonic()
    done = subprocess.run(argv, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                          text=True, timeout=TIME_LIMIT)
    end = time.monotonic()
    if done.returncode != 0:
        raise RuntimeError("%s failed (%d): %s" % (argv[0], done.returncode, done.stderr))
    return start, end


# A run's spare key codes go back to no symbol 1 s after its last key, from
# a process of their own; a phase that started before that would pay for the
# mapping changes of the one before it.
SETTLE = 1.5


def phase(name, argv, text, xvfb, folder, keys_program, check):
    time.sleep(SETTLE)
    term = CatTerminal(xvfb, folder, name)
    watch = KeyWatch(keys_program, xvfb.env)
    start, end = timed(argv, xvfb.env)
    presses, first, last = watch.result()
    lost = extra = 0
    if check:
        got = term.content(len(text.encode("utf-8")))
        lost, extra = differences(text, got)
    term.stop()
    return {"total": end - start, "typing": (last - first) / 1000.0, "presses": presses,
            "exit_ms": end * 1000.0 - last, "lost": lost, "extra": extra}


def one_round(builds, text, xvfb, folder):
    """Each build's run, then xdotool and the bare loop: {label: figures}."""
    keys = os.path.join(builds[-1][1], "bench", "platform", "tapwise_bench_keys")
    text_file = os.path.join(folder, "text.txt")
    runs = {}
    for label, build in builds:
        runs[label] = phase("tapwise", [os.path.join(build, "app", "tapwise"),
                                        os.path.join(folder, "data") + ",Bench,,NoMsg"],
                            text, xvfb, folder, keys, True)
    peer = phase("xdotool", ["xdotool", "type", "--delay", "0", "--file", text_file], text, xvfb,
                 folder, keys, True)
    bare = phase("bare", [keys, "bare", str(len(text))], text, xvfb, folder, keys, False)
    same = phase("same", [keys, "text", text_file], text, xvfb, folder, keys, True)
    return {label: {"end_to_end": peer["total"] / ours["total"],
                    "typing": bare["typing"] / ours["typing"],
                    "typing_same": same["typing"] / ours["typing"],
                    "ours": ours, "peer": peer, "bare": bare, "same": same}
            for label, ours in runs.items()}


def option(args, name):
    if name not in args:
        return None
    i = args.index(name)
    value = args[i + 1]
    del args[i:i + 2]
    return value


def main():
    args = sys.argv[1:]
    rounds = int(option(args, "--rounds") or 3)
    before = option(args, "--before")
    idle_window = "--idle-window" in args
    args = [a for a in args if not a.startswith("--")]
    build = os.path.abspath(args[0]) if args else os.path.join(ROOT, "build")
    builds = ([("before", os.path.abspath(before))] if before else []) + [("tapwise", build)]
    for _, b in builds:
        for program in ("app/tapwise", "tools/tapwise-store", "bench/platform/tapwise_bench_keys"):
            if not os.path.exists(os.path.join(b, program)):
                raise SystemExit("%s is missing: build it first" % os.path.join(b, program))
    for tool in ("Xvfb", "xterm", "xdotool"):
        if not shutil.which(tool):
            raise SystemExit(tool + " is missing")
    text = run_text()
    lines = sequence_lines(text)
    print("load average before: %.2f %.2f %.2f" % os.getloadavg())
    print("text: %d characters (%d outside ASCII) in %d lines, %d rounds"
          % (len(text), sum(ord(c) > 127 for c in text), len(lines), rounds))
    results = []
    n = len(text)
    with tempfile.TemporaryDirectory() as folder:
        with open(os.path.join(folder, "text.txt"), "w", encoding="utf-8") as f:
            f.write(text)
        data = os.path.join(folder, "data")
        os.mkdir(data)
        subprocess.run([os.path.join(build, "tools", "tapwise-store"), "add", data, "Bench"],
                       input="".join(line + "\t0\n" for line in lines), text=True, check=True,
                       stdout=subprocess.DEVNULL)
        xvfb = Xvfb()
        xvfb.env["QT_QPA_PLATFORM"] = "xcb"
        idle = None
        try:
            if idle_window:
                idle = subprocess.Popen([os.path.join(build, "app", "tapwise"), data], env=xvfb.env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                time.sleep(SETTLE)
            for i in range(rounds):
                figures = one_round(builds, text, xvfb, folder)
                results.append(figures)
                for label, r in figures.items():
                    o, p, b, t = r["ours"], r["peer"], r["bare"], r["same"]
                    print("round %d %-7s: %5.0f chars/s end to end (%.3f s, lost %d, extra %d), "
                          "xdotool %5.0f (lost %d, extra %d): ratio %.2f"
                          % (i + 1, label, n / o["total"], o["total"], o["lost"], o["extra"],
                             n / p["total"], p["lost"], p["extra"], r["end_to_end"]))
                    print("        %-7s  typing alone %5.0f chars/s (%d presses), bare loop "
                          "%5.0f: ratio %.2f; same text %5.0f (lost %d, extra %d): ratio %.2f; "
                          "exit %.0f ms after the last key"
                          % ("", n / o["typing"], o["presses"], n / b["typing"], r["typing"],
                             n / t["typing"], t["lost"], t["extra"], r["typing_same"],
                             o["exit_ms"]))
        finally:
            if idle:
                idle.kill()
                idle.wait()
            xvfb.stop()
    print("load average after: %.2f %.2f %.2f" % os.getloadavg())
    for label, _ in builds:
        runs = [figures[label] for figures in results]
        print("%s: median end-to-end ratio to xdotool %.2f (goal >= 1.5); median typing-alone "
              "ratio to the bare XTest loop %.2f (goal >= 0.9), to the bare loop of the same "
              "text %.2f; median exit %.0f ms after the "
              "last key (goal <= 50); characters lost or misplaced, worst round: %d"
              % (label, statistics.median(r["end_to_end"] for r in runs),
                 statistics.median(r["typing"] for r in runs),
                 statistics.median(r["typing_same"] for r in runs),
                 statistics.median(r["ours"]["exit_ms"] for r in runs),
                 max(r["ours"]["lost"] + r["ours"]["extra"] for r in runs)))


if __name__ == "__main__":
    main()
