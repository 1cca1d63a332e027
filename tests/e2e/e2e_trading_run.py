#!/usr/bin/env python3
"""End-to-end run of the real program under Xvfb, driven by mouse events.

Starts orvanta with a K-line file written here, clicks Play, clicks Buy, waits five ticks, clicks
Sell, drags a zoom box over the chart and closes the window. Then the day's trade log must hold
two lines per trade and one mark line per tick while the position was open, and the program must
have exited with 0.
"""

import argparse
import datetime
import os
import re
import shutil
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import orvanta_xdriver as xd  # noqa: E402

BARS = 400


def close_of(i):
    # Every close is different, so a traded price tells which bar was current.
    return 100.0 + 0.25 * i


def write_fixture(path):
    day = datetime.date(2021, 3, 1)
    with open(path, "w") as out:
        for i in range(BARS):
            c = close_of(i)
            date = day + datetime.timedelta(days=i)
            out.write(f"{date:%Y-%m-%d},{c - 0.5:.2f},{c + 1.0:.2f},{c - 1.0:.2f},{c:.2f},1000\n")


def bar_of(price):
    i = round((price - 100.0) / 0.25)
    if not 0 <= i < BARS or abs(close_of(i) - price) > 1e-9:
        raise AssertionError(f"{price} is the close of no bar")
    return i


def price_in(line, pattern):
    m = re.match(pattern, line)
    if not m:
        raise AssertionError(f"unexpected log line {line!r} (wanted {pattern})")
    return float(m.group(1))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("--lsan-suppressions")
    parser.add_argument("--keep", action="store_true", help="keep the working directory")
    args = parser.parse_args()
    args.program = os.path.abspath(args.program)

    workdir = xd.temp_workdir("orvanta-e2e-")
    fixture = os.path.join(workdir, "bars.csv")
    write_fixture(fixture)
    extra_env = {}
    if args.lsan_suppressions:
        extra_env["LSAN_OPTIONS"] = f"suppressions={os.path.abspath(args.lsan_suppressions)}:print_suppressions=0"

    server = xd.XServer()
    program = None
    ok = False
    try:
        program = xd.Program(server, args.program, [fixture], workdir, extra_env)
        window = xd.find_window(server)
        time.sleep(0.5)  # first paint
        layout = xd.Layout(xd.Picture(server, window))
        print(f"display {server.display}, window {window:#x}, dialog unit {layout.unit_x}x"
              f"{layout.unit_y} px, client top {layout.top}, chart {layout.chart}")

        xd.click(server, window, layout.centre(xd.BTN_PLAY))
        time.sleep(1.5)  # at least one tick, so the current close is a later bar's
        xd.click(server, window, layout.centre(xd.BTN_BUY))
        xd.wait_for(lambda: len(xd.trade_log_lines(workdir)) >= 2, 5, "the Buy lines")
        xd.wait_for(lambda: len(xd.trade_log_lines(workdir)) >= 7, 15, "five marks after Buy")
        xd.click(server, window, layout.centre(xd.BTN_SELL))
        xd.wait_for(lambda: len(xd.trade_log_lines(workdir)) >= 9, 5, "the Sell lines")

        left, top, right, bottom = layout.chart
        start = (left + (right - left) * 3 // 10, top + (bottom - top) * 3 // 10)
        end = (left + (right - left) * 6 // 10, top + (bottom - top) * 7 // 10)
        xd.press_and_move(server, window, start, end)
        time.sleep(0.3)
        # While the button is down the zoom box is drawn over the chart, in white.
        picture = xd.Picture(server, window)
        edges = ([(x, start[1]) for x in range(start[0] + 2, end[0] - 1)]
                 + [(start[0], y) for y in range(start[1] + 2, end[1] - 1)])
        white = sum(picture.pixel(x, y) == (255, 255, 255) for x, y in edges)
        xd.release(server)
        assert white >= 0.9 * len(edges), f"zoom box: {white} of {len(edges)} edge pixels white"
        time.sleep(2.2)  # two more ticks with no position: nothing more in the log

        xd.close_window(server, window)
        code = program.wait(30)
        output = program.output()
        if output.strip():
            print("program output:\n" + output)
        assert code == 0, f"the program exited with {code}"

        lines = xd.trade_log_lines(workdir)
        assert len(lines) == 9, "log:\n" + "\n".join(lines)
        buy = price_in(lines[0], r"^Buy 1 @ (-?\d+\.\d\d)$")
        assert price_in(lines[1], r"^Buy 1 @ (-?\d+\.\d\d), current position:1, ") == buy
        first = bar_of(buy)
        assert first >= 26, f"Buy at bar {first}: the replay had not ticked"
        for k in range(5):
            mark = price_in(lines[2 + k], r"^CTradeAccount::SetCurrentPrice\((-?\d+\.\d\d)\), Profit:")
            assert bar_of(mark) == first + 1 + k, f"mark {k + 1} at bar {bar_of(mark)}"
            profit = float(re.search(r"Profit:(-?\d+\.\d\d)", lines[2 + k]).group(1))
            assert abs(profit - (mark - buy)) < 0.005, lines[2 + k]
        sell = price_in(lines[7], r"^Sell 1 @ (-?\d+\.\d\d)$")
        assert bar_of(sell) == first + 5, f"Sell at bar {bar_of(sell)}"
        assert price_in(lines[8], r"^Sell 1 @ (-?\d+\.\d\d), current position:0, ") == sell
        assert f"NoPositionAccount:{1000000 + sell - buy:.2f}" in lines[8], lines[8]
        print("log:\n" + "\n".join(lines))
        ok = True
    finally:
        if program is not None:
            program.stop()
        server.stop()
        if ok and not args.keep:
            shutil.rmtree(workdir, ignore_errors=True)
        else:
            print(f"working directory kept: {workdir}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
