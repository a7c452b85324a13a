"""Times the workbook layer against openpyxl on one large workbook.

    /usr/bin/python3 bench/workbook/compare_openpyxl.py [BENCH_PROGRAM] [ROWS] [TYPED]

Writes a ROWS x 10 workbook (default 100,000 rows) with openpyxl, then in the
same run:
- tapwise_workbook_bench: open, the row text of every row, colouring every
  row green, save (on a copy of the file);
- openpyxl: read-only load of the same file and every value of every row,
  in a process of its own so that its peak memory is its own.
Prints the times, the peak memory of each and the ratio, and which goals
were met (at least 5x faster than openpyxl, open under 1 s, save under 3 s,
peak memory at most 120 MB for 100,000 rows and 1 GB up to the sheet's
1,048,576 rows).

With TYPED (a large sheet: 1048575 1000), only that many rows spread over
the sheet are read and coloured, openpyxl is not run, and the times per
100,000 rows show whether opening and saving grow linearly.
"""

import datetime
import json
import os
import resource
import shutil
import subprocess
import sys
import tempfile
import time

import openpyxl

COLUMNS = 10
CITIES = ["Rome", "Milan", "Turin", "Naples", "Pisa", "Genoa", "Bari", "Parma", "Lecce", "Como"]


def make_workbook(path, rows):
    book = openpyxl.Workbook(write_only=True)
    sheet = book.create_sheet("Data")
    sheet.append(["Name", "City", "Code", "Count", "Amount", "Born", "Active", "Note",
                  "Ratio", "Updated"])
    start = datetime.datetime(2020, 1, 1, 8, 0, 0)
    for i in range(rows):
        sheet.append([
            f"Person {i:06d}", CITIES[i % len(CITIES)], f"C-{i * 7 % 1000003:07d}", i,
            round(i * 1.25 + 0.1, 2), datetime.date(1950 + i % 60, 1 + i % 12, 1 + i % 28),
            i % 3 == 0, f"note number {i} for the benchmark run", i / 7.0,
            start + datetime.timedelta(minutes=i),
        ])
    book.save(path)


def openpyxl_read(path):
    """Runs in a child process: prints seconds and peak MB as JSON."""
    start = time.perf_counter()
    book = openpyxl.load_workbook(path, read_only=True)
    sheet = book.active
    values = 0
    for row in sheet.iter_rows(values_only=True):
        values += sum(1 for value in row if value is not None)
    elapsed = time.perf_counter() - start
    book.close()
    peak = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss / 1024.0
    print(json.dumps({"seconds": elapsed, "peakMB": peak, "values": values}))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.join(here, "..", "..", "build", "bench", "workbook", "tapwise_workbook_bench")
    program = sys.argv[1] if len(sys.argv) > 1 else default
    rows = int(sys.argv[2]) if len(sys.argv) > 2 else 100_000
    typed = int(sys.argv[3]) if len(sys.argv) > 3 else None
    limit_mb = 120 if rows <= 100_000 else 1024
    with tempfile.TemporaryDirectory() as folder:
        source = os.path.join(folder, "bench.xlsx")
        start = time.perf_counter()
        make_workbook(source, rows)
        print(f"workbook: {rows} x {COLUMNS}, {os.path.getsize(source) / 1e6:.1f} MB, "
              f"written by openpyxl in {time.perf_counter() - start:.1f} s")
        copy = os.path.join(folder, "copy.xlsx")
        shutil.copyfile(source, copy)

        size_mb = os.path.getsize(source) / 1e6
        command = [program, copy, str(rows), str(COLUMNS)] + ([str(typed)] if typed else [])
        ours = json.loads(subprocess.run(command, check=True, capture_output=True,
                                         text=True).stdout)
        if typed:
            return report_typed(ours, rows, size_mb, limit_mb)
        theirs = json.loads(subprocess.run([sys.executable, __file__, "--openpyxl", source],
                                           check=True, capture_output=True, text=True).stdout)

    read = ours["open"] + ours["rowText"]
    ratio = theirs["seconds"] / read
    print(f"tapwise: open {ours['open']:.3f} s, row texts {ours['rowText']:.3f} s, "
          f"colouring {ours['color']:.3f} s, save {ours['save']:.3f} s, "
          f"peak {ours['peakMB']:.0f} MB ({ours['peakMB'] / size_mb:.0f}x the file), "
          f"load {os.getloadavg()[0]:.1f}")
    print(f"openpyxl read-only load and every value: {theirs['seconds']:.3f} s, "
          f"peak {theirs['peakMB']:.0f} MB")
    print(f"ratio (openpyxl / tapwise open + row texts): {ratio:.1f}x")
    goals = [
        ("at least 5x faster than openpyxl", ratio >= 5),
        ("open under 1 s", ours["open"] < 1),
        ("save under 3 s", ours["save"] < 3),
        (f"peak memory at most {limit_mb} MB", ours["peakMB"] <= limit_mb),
    ]
    return report_goals(goals)


def report_goals(goals):
    for goal, met in goals:
        print(f"  {'met ' if met else 'MISSED'}  {goal}")
    return 0 if all(met for _, met in goals) else 1


def report_typed(ours, rows, size_mb, limit_mb):
    per = 100_000 / rows
    print(f"tapwise, {ours['typed']} rows read and coloured: open {ours['open']:.3f} s, "
          f"row texts {ours['rowText']:.3f} s, colouring {ours['color']:.3f} s, "
          f"save {ours['save']:.3f} s, peak {ours['peakMB']:.0f} MB "
          f"({ours['peakMB'] / size_mb:.0f}x the file), load {os.getloadavg()[0]:.1f}")
    print(f"per 100,000 rows: open {ours['open'] * per:.3f} s, save {ours['save'] * per:.3f} s")
    return report_goals([(f"peak memory at most {limit_mb} MB", ours["peakMB"] <= limit_mb)])


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "--openpyxl":
        openpyxl_read(sys.argv[2])
    else:
        sys.exit(main())
