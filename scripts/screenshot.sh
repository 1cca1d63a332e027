#!/usr/bin/env bash
# scripts/screenshot.sh OUT.png [KLINE-FILE]
# Builds the Release program if needed, runs it under Xvfb with the K-line file (the shipped sample
# when none is given) in a temporary working directory, presses Play, presses Buy once at about
# the tenth tick, and after the 30th tick saves a picture of the window as OUT.png, making its
# folder when it is missing. The day's trade log is copied next to it and checked: the two Buy
# lines, then one mark line per tick, each at the next bar's close.
set -euo pipefail
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 OUT.png [KLINE-FILE]" >&2
  exit 2
fi
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$(realpath -m "$1")"
sample="$(realpath -m "${2:-$root/data/sample.csv}")"
if [ ! -r "$sample" ]; then
  echo "$0: cannot read $sample" >&2
  exit 2
fi
mkdir -p "$(dirname "$out")"
"$root/scripts/install-deps.sh"

build="$root/build/release"
[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --parallel 2 --target orvanta

exec python3 - "$build/app/orvanta" "$sample" "$out" "$root/tests/e2e" <<'PYTHON'
import os
import shutil
import subprocess
import sys
import time

program, sample, out, driver_dir = sys.argv[1:5]
sys.path.insert(0, driver_dir)
import orvanta_xdriver as xd

WINDOW_BARS = 26
TICKS = 30
BUY_TICK = 10

# The closes of the lines the program takes as bars: runs of commas are one separator, and a
# header or footer line has no number where the close is. Only digits and commas matter, so any
# text encoding reads as Latin-1.
closes = []
with open(sample, encoding="latin-1") as f:
    for line in f:
        fields = [field for field in line.strip().split(",") if field]
        try:
            if len(fields) >= 5 and any(c.isdigit() for c in fields[0]):
                closes.append(f"{float(fields[4]):.2f}")
        except ValueError:
            pass


def log_prices(lines):
    """The Buy price and the mark prices after it, as the log prints them."""
    buy = lines[0].split(" @ ")[1]
    marks = [l.split("(")[1].split(")")[0] for l in lines[2:]]
    return buy, marks


def buy_bar(buy, marks):
    """The bars whose close and following closes match what was logged."""
    return [i for i in range(len(closes) - len(marks))
            if closes[i] == buy and closes[i + 1:i + 1 + len(marks)] == marks]


workdir = xd.temp_workdir("orvanta-shot-")
server = xd.XServer()
app = None
try:
    app = xd.Program(server, program, [sample], workdir)
    window = xd.find_window(server)
    time.sleep(0.5)
    layout = xd.Layout(xd.Picture(server, window))

    xd.click(server, window, layout.centre(xd.BTN_PLAY))
    time.sleep(BUY_TICK + 0.5)
    xd.click(server, window, layout.centre(xd.BTN_BUY))
    xd.wait_for(lambda: len(xd.trade_log_lines(workdir)) >= 2, 5, "the Buy lines")

    # The Buy price and the marks after it tell which bar was current at the Buy, and so how
    # many ticks have passed: bar WINDOW_BARS - 1 is current before the first tick. Where
    # rounded closes repeat, the earliest place that fits counts, so the picture is not early.
    deadline = time.monotonic() + TICKS + 60
    while True:
        lines = xd.trade_log_lines(workdir)
        buy, marks = log_prices(lines)
        bars = buy_bar(buy, marks)
        if bars and bars[0] - (WINDOW_BARS - 1) + len(marks) >= TICKS:
            break
        if not bars or time.monotonic() > deadline:
            sys.exit(f"the log does not follow the K-line file: {lines}")
        time.sleep(0.02)
    ticks = bars[0] - (WINDOW_BARS - 1) + len(marks)
    subprocess.run(["import", "-window", str(window), out], env=server.env(), check=True)
    xd.close_window(server, window)
    code = app.wait(30)
    if code != 0:
        sys.exit(f"orvanta exited with {code}:\n{app.output()}")

    logs = xd.trade_log_files(workdir)
    lines = xd.trade_log_lines(workdir)
    buy, marks = log_prices(lines)
    first = buy_bar(buy, marks)
    assert lines[0] == f"Buy 1 @ {buy}", lines[0]
    assert lines[1].startswith(f"Buy 1 @ {buy}, current position:1, "), lines[1]
    assert first, "the log's prices match no place in the K-line file"
    assert all(l.startswith("CTradeAccount::SetCurrentPrice(") for l in lines[2:]), lines
    for log in logs:
        shutil.copy(log, os.path.dirname(out))
    print(f"{out}: after tick {ticks}, progress [{WINDOW_BARS + ticks} of {len(closes)}]")
    print(f"Buy at bar {first[0]} ({buy}) on tick {first[0] - (WINDOW_BARS - 1)}, "
          f"then {len(marks)} mark lines, one per tick at the next bar's close")
    print("log copied: " + ", ".join(os.path.join(os.path.dirname(out), os.path.basename(l))
                                     for l in logs))
finally:
    if app is not None:
        app.stop()
    server.stop()
    shutil.rmtree(workdir, ignore_errors=True)
PYTHON
