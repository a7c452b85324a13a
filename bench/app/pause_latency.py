#!/usr/bin/python3
"""Pause latency of a run: from `xdotool key Pause` to the run stopping its
dispatch.

Each try starts its own run of a long Key sequence of single keys without
waits into an `xev` window, presses Pause with xdotool a moment after the
keys begin to arrive, and waits for the pause window. xev logs every key
event with the X server's time stamp (milliseconds), so the Pause press and
every key the run still sent after it are timed by one clock. The latency of
a try is the time from the Pause press to the last key of the run that
followed it (0 when the run sent none after it), and the number of keys the
run sent after it (by the order in which xev received them). Also shown: how long the
pause window took to appear, as seen by this script.

Usage: bench/app/pause_latency.py [BUILD_DIR] [TRIES]
"""
import os
import random
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else os.path.join(ROOT, "build")
TRIES = int(sys.argv[2]) if len(sys.argv) > 2 else 20
TAPWISE = os.path.join(BUILD, "app", "tapwise")
STORE = os.path.join(BUILD, "tools", "tapwise-store")
LINES = 20000


def start_xvfb():
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
        pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read_end, 16)
        if not chunk:
            raise SystemExit("Xvfb did not start")
        number += chunk
    os.close(read_end)
    return server, ":" + number.decode().strip()


def xdotool(env, *args):
    return subprocess.run(["xdotool", *args], env=env, capture_output=True, text=True).stdout


def wait_for(condition, timeout):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = condition()
        if value:
            return value
        time.sleep(0.005)
    return None


def key_events(log_path):
    """(time, keysym name) of every KeyPress in the xev log."""
    with open(log_path, errors="replace") as log:
        text = log.read()
    pattern = re.compile(r"KeyPress event.*?time (\d+),.*?keysym 0x[0-9a-f]+, (\w+)\)", re.S)
    return [(int(t), name) for t, name in pattern.findall(text)]


def one_try(env, folder, work):
    log_path = os.path.join(work, "xev.log")
    with open(log_path, "w") as log:
        xev = subprocess.Popen(["xev", "-event", "keyboard", "-name", "tapwise-bench"],
                               env=env, stdout=log, stderr=subprocess.DEVNULL)
    window = wait_for(lambda: xdotool(env, "search", "--name", "^tapwise-bench$").strip(), 10)
    if not window:
        raise SystemExit("xev window did not appear")
    window = window.split()[0]
    wait_for(lambda: xdotool(env, "windowfocus", window) == "" and
             xdotool(env, "getwindowfocus").strip() == window, 10)
    run = subprocess.Popen([TAPWISE, folder + ",Bench,,NoMsg"], env=env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        if not wait_for(lambda: any(n == "a" for _, n in key_events(log_path)), 30):
            raise SystemExit("the run typed nothing")
        time.sleep(random.uniform(0.1, 0.4))
        pressed = time.monotonic()
        subprocess.run(["xdotool", "key", "Pause"], env=env)
        shown = wait_for(lambda: xdotool(env, "search", "--onlyvisible", "--name",
                                         "^Tapwise 2.1$").strip(), 30)
        window_ms = (time.monotonic() - pressed) * 1000 if shown else float("nan")
        time.sleep(0.2)  # let xev write what it received
        events = key_events(log_path)
    finally:
        run.kill()
        run.wait()
        xev.kill()
        xev.wait()
    pause = [t for t, n in events if n == "Pause"]
    if not pause:
        raise SystemExit("xev did not see the Pause key")
    # xev logs the events in the order the server delivered them; the time
    # stamps are whole milliseconds, in which several keys may fall.
    at = next(i for i, (_, n) in enumerate(events) if n == "Pause")
    after = [t for t, n in events[at:] if n == "a"]
    stop_ms = (max(after) - pause[0]) if after else 0
    typed_before = sum(1 for _, n in events[:at] if n == "a")
    return stop_ms, window_ms, len(after), typed_before


def main():
    for program in (TAPWISE, STORE):
        if not os.path.exists(program):
            raise SystemExit(f"{program} is missing: build first")
    for tool in ("Xvfb", "xev", "xdotool"):
        if not shutil.which(tool):
            raise SystemExit(f"{tool} is missing")
    work = tempfile.mkdtemp(prefix="tapwise-pause-")
    folder = os.path.join(work, "data")
    os.mkdir(folder)
    lines = "".join("a\t0\n" for _ in range(LINES))
    subprocess.run([STORE, "add", folder, "Bench"], input=lines, text=True, check=True,
                   stdout=subprocess.DEVNULL)
    server, display = start_xvfb()
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb")
    stops, windows = [], []
    try:
        for i in range(TRIES):
            stop_ms, window_ms, late_keys, typed = one_try(env, folder, work)
            stops.append(stop_ms)
            windows.append(window_ms)
            print(f"try {i + 1:2}: {typed:5} keys typed, {late_keys} after Pause, "
                  f"dispatch stopped {stop_ms:3} ms after it, pause window after "
                  f"{window_ms:6.1f} ms")
    finally:
        server.terminate()
        server.wait()
        shutil.rmtree(work, ignore_errors=True)
    print(f"Pause to end of dispatch: median {statistics.median(stops)} ms, "
          f"worst {max(stops)} ms over {TRIES} tries (goal: median under 20 ms)")
    print(f"Pause to pause window shown: median {statistics.median(windows):.1f} ms, "
          f"worst {max(windows):.1f} ms")


if __name__ == "__main__":
    main()
