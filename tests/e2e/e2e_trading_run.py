#!/usr/bin/env python3
"""End-to-end run of the real program under Xvfb, driven by mouse events.

Starts orvanta with a K-line file written here, clicks Play, clicks Buy after a tick, waits for
five marks, clicks Sell, drags a zoom box over the chart, lets two more ticks pass and closes the
window, answering Yes to the question that trades were made. Then the day's trade log must hold two lines per trade and one mark line per tick while
the position was open (at least five; a busy machine may fit more before the Sell), and the
program must have exited with 0.
"""

import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import orvanta_xdriver as xd  # noqa: E402

BARS = 400
TIMEOUT = 30  # generous: the machine may be busy


def close_of(i):
    # The closes of the session's fixture: every one is different, so a traded price tells which
    # bar was current.
    return 100.0 + 0.25 * i


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
    args = xd.arguments(__doc__)
    with xd.Session(args, "orvanta-e2e-") as session:
        server = session.server
        program, window, layout, workdir = session.start(bars=BARS)
        box = xd.plot_box(layout)
        print(f"display {server.display}, window {window:#x}, dialog unit {layout.unit_x}x"
              f"{layout.unit_y} px, client top {layout.top}, chart {layout.chart}")

        def next_tick(before):
            return xd.wait_for_picture(server, window, lambda p: not xd.same_pixels(before, p, box),
                                       TIMEOUT, "a replay tick")

        xd.click(server, window, layout.centre(xd.BTN_PLAY))
        shown = xd.wait_for_picture(server, window, lambda p: xd.coloured_points(p, box), TIMEOUT,
                                    "candles after Play")
        next_tick(shown)  # so the current close is a later bar's
        xd.click(server, window, layout.centre(xd.BTN_BUY))
        xd.wait_for(lambda: len(xd.trade_log_lines(workdir)) >= 2, TIMEOUT, "the Buy lines")
        xd.wait_for(lambda: len(xd.trade_log_lines(workdir)) >= 7, TIMEOUT, "five marks after Buy")
        xd.click(server, window, layout.centre(xd.BTN_SELL))
        # A slow machine may let more ticks mark the position before the Sell arrives.
        def sold():
            log = xd.trade_log_lines(workdir)
            return log if log[-1].startswith("Sell 1 @ ") and ", current position:0, " in log[-1] else None
        lines = xd.wait_for(sold, TIMEOUT, "the Sell lines")

        left, top, right, bottom = layout.chart
        start = (left + (right - left) * 3 // 10, top + (bottom - top) * 3 // 10)
        end = (left + (right - left) * 6 // 10, top + (bottom - top) * 7 // 10)
        edges = ([(x, start[1]) for x in range(start[0] + 2, end[0] - 1)]
                 + [(start[0], y) for y in range(start[1] + 2, end[1] - 1)])

        def box_drawn(picture):
            white = sum(picture.pixel(x, y) == (255, 255, 255) for x, y in edges)
            return white >= 0.9 * len(edges)

        xd.press_and_move(server, window, start, end)
        # While the button is down the zoom box is drawn over the chart, in white.
        xd.wait_for_picture(server, window, box_drawn, TIMEOUT, "the zoom box")
        xd.release(server)
        # Two more ticks with no position: nothing more in the log.
        next_tick(next_tick(xd.Picture(server, window)))

        xd.close_window(server, window)
        # Trades were made, so closing asks first; the question is captioned like the window.
        question = xd.wait_for(lambda: [w for w in xd.visible_windows(server, xd.MAIN_CAPTION)
                                        if w != window], TIMEOUT, "the question before closing")[0]
        xd.keys_to(server, question, "alt+y")
        code = session.finish(program)
        assert code == 0, f"the program exited with {code}"

        assert xd.trade_log_lines(workdir) == lines, "log changed after the Sell:\n" + "\n".join(
            xd.trade_log_lines(workdir))
        marks = len(lines) - 4
        assert marks >= 5, "log:\n" + "\n".join(lines)
        buy = price_in(lines[0], r"^Buy 1 @ (-?\d+\.\d\d)$")
        assert price_in(lines[1], r"^Buy 1 @ (-?\d+\.\d\d), current position:1, ") == buy
        first = bar_of(buy)
        assert first >= 26, f"Buy at bar {first}: the replay had not ticked"
        for k in range(marks):
            mark = price_in(lines[2 + k], r"^CTradeAccount::SetCurrentPrice\((-?\d+\.\d\d)\), Profit:")
            assert bar_of(mark) == first + 1 + k, f"mark {k + 1} at bar {bar_of(mark)}"
            profit = float(re.search(r"Profit:(-?\d+\.\d\d)", lines[2 + k]).group(1))
            assert abs(profit - (mark - buy)) < 0.005, lines[2 + k]
        sell = price_in(lines[-2], r"^Sell 1 @ (-?\d+\.\d\d)$")
        assert bar_of(sell) == first + marks, f"Sell at bar {bar_of(sell)}"
        assert price_in(lines[-1], r"^Sell 1 @ (-?\d+\.\d\d), current position:0, ") == sell
        assert f"NoPositionAccount:{1000000 + sell - buy:.2f}" in lines[-1], lines[-1]
        print("log:\n" + "\n".join(lines))
    return 0


if __name__ == "__main__":
    sys.exit(main())
