#!/usr/bin/python3
"""Types the same 5,000-character mixed text into an xterm running `cat`,
once with Tapwise's X11 desktop and once with `xdotool type --delay 0`, on
a fresh Xvfb, and prints the rate of each in characters per second, the
ratio, and how many characters each lost or got in the wrong place.

    bench/platform/type_vs_xdotool.py [BUILD_DIR] [--chars]

BUILD_DIR defaults to build/ (it must hold bench/platform/tapwise_bench_type).
With --chars Tapwise types one call per character, as a string line does.
"""
import difflib
import os
import random
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TEXT_LENGTH = 5000
TIME_LIMIT = 300


def mixed_text(length):
    rng = random.Random(20240102)
    ascii_chars = [chr(c) for c in range(0x21, 0x7f)]
    words = ["Invoice", "total", "Rossi", "Müller", "café", "Straße", "€ 12,50", "ä", "ll",
             "Łódź", "naïve", "ñ", "100%", "(a+b)^2", "{x}", "[y]", "~z", "a_b", "C:\\dir"]
    lines, line = [], []
    size = 0
    while size < length:
        piece = rng.choice(words) if rng.random() < 0.6 else "".join(
            rng.choice(ascii_chars) for _ in range(rng.randint(1, 6)))
        line.append(piece)
        size += len(piece) + 1
        if len(" ".join(line)) > 70:
            lines.append(" ".join(line))
            line = []
    lines.append(" ".join(line))
    return ("\n".join(lines) + "\n")[:length - 1] + "\n"


class Xvfb:
    def __init__(self):
        read, write = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
             "-nolisten", "tcp", "-noreset"], pass_fds=(write,),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read, 16)
            if not chunk:
                raise RuntimeError("Xvfb did not start")
            number += chunk
        os.close(read)
        self.env = dict(os.environ, DISPLAY=":" + number.decode().strip(), LC_ALL="C.UTF-8")

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=30)


def wait_for(condition, limit=TIME_LIMIT, interval=0.05):
    end = time.monotonic() + limit
    while time.monotonic() < end:
        if condition():
            return True
        time.sleep(interval)
    return False


def run(argv, env):
    return subprocess.run(argv, env=env, capture_output=True, text=True, timeout=TIME_LIMIT)


class CatTerminal:
    def __init__(self, xvfb, folder, name):
        self.path = os.path.join(folder, name + ".txt")
        self.process = subprocess.Popen(
            ["xterm", "-u8", "-T", name, "-geometry", "100x30+0+0", "-e", "sh", "-c",
             'exec cat > "$1"', "sh", self.path], env=xvfb.env, start_new_session=True)
        window = ""

        def found():
            nonlocal window
            window = run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % name],
                         xvfb.env).stdout.strip()
            return window != "" and os.path.exists(self.path)

        if not wait_for(found):
            raise RuntimeError("xterm did not start")

        def focused():
            run(["xdotool", "windowfocus", window], xvfb.env)
            return run(["xdotool", "getwindowfocus"], xvfb.env).stdout.strip() == window

        if not wait_for(focused):
            raise RuntimeError("xterm did not get the focus")

    def content(self, expected_size):
        """The file once it holds the expected size or stops growing."""
        last, still = -1, 0
        while still < 40:  # two seconds without growth
            size = os.path.getsize(self.path)
            if size >= expected_size:
                break
            still = still + 1 if size == last else 0
            last = size
            time.sleep(0.05)
        with open(self.path, encoding="utf-8", errors="replace") as f:
            return f.read()

    def stop(self):
        os.killpg(self.process.pid, 15)
        self.process.wait(timeout=30)


def differences(expected, got):
    """(lost, extra): characters of the text that did not arrive where they
    belong, and characters that arrived where they do not belong."""
    matcher = difflib.SequenceMatcher(None, expected, got, autojunk=False)
    if "--show" in sys.argv:
        for op, a1, a2, b1, b2 in matcher.get_opcodes():
            if op != "equal":
                print("  %s: expected %r got %r near %r" % (op, expected[a1:a2], got[b1:b2],
                      expected[max(0, a1 - 15):a2 + 15]), file=sys.stderr)
    matched = sum(block.size for block in matcher.get_matching_blocks())
    return len(expected) - matched, len(got) - matched


def measure(name, argv, text, xvfb, folder, keep_open):
    """Rate, lost, extra. A typer that keeps its desktop open (ours) prints
    its time and stays until its input ends; the other is timed to its exit."""
    term = CatTerminal(xvfb, folder, name)
    start = time.monotonic()
    process = subprocess.Popen(argv, env=xvfb.env, stdin=subprocess.PIPE,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    if keep_open:
        line = process.stdout.readline()
        took = time.monotonic() - start
        got = term.content(len(text.encode("utf-8")))
        out, err = process.communicate(timeout=TIME_LIMIT)
    else:
        line = "-"
        out, err = process.communicate(timeout=TIME_LIMIT)
        took = time.monotonic() - start
        got = term.content(len(text.encode("utf-8")))
    if process.returncode != 0 or not line:
        raise RuntimeError("%s failed: %s" % (name, err))
    term.stop()
    lost, extra = differences(text, got)
    return len(text) / took, lost, extra


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    build = args[0] if args else os.path.join(ROOT, "build")
    typer = os.path.join(build, "bench", "platform", "tapwise_bench_type")
    mode = "chars" if "--chars" in sys.argv else "text"
    text = mixed_text(TEXT_LENGTH)
    xvfb = Xvfb()
    try:
        with tempfile.TemporaryDirectory() as folder:
            text_file = os.path.join(folder, "text.txt")
            with open(text_file, "w", encoding="utf-8") as f:
                f.write(text)
            ours = measure("tapwise", [typer, text_file, mode], text, xvfb, folder, True)
            peer = measure("xdotool", ["xdotool", "type", "--delay", "0", "--file", text_file],
                           text, xvfb, folder, False)
    finally:
        xvfb.stop()
    print("text: %d characters (%d outside ASCII), Tapwise mode: %s"
          % (len(text), sum(ord(c) > 127 for c in text), mode))
    for name, (rate, lost, extra) in (("tapwise", ours), ("xdotool", peer)):
        print("%-8s %8.0f chars/s   lost or misplaced: %4d   extra: %4d" % (name, rate, lost, extra))
    print("ratio tapwise/xdotool: %.2f" % (ours[0] / peer[0]))


if __name__ == "__main__":
    main()
