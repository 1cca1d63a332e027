#!/usr/bin/env python3
"""End-to-end orders on the chart: the real program under Xvfb, driven by mouse and keys.

A quantity of 10 is typed beside Buy and Sell. A right click below the close opens the chart's
menu, whose first item places a buy limit there; Play runs until it fills, and the fill pauses
the replay. Two more right clicks put a stop loss below and a take profit above; the take
profit's "x" cancels it and a left drag moves the stop loss up under the close, so the next
falling bar fills it there and not where it was placed. The exported trades must name both
orders, and the stop's realized profit and account must be the hand's figures. Closing asks
because trades were made; Yes ends the program with 0.
"""

import csv
import os
import re
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import orvanta_xdriver as xd  # noqa: E402

TIMEOUT = 30
CANDLE = (255, 0, 0)  # candle outlines and wicks
ENTRY = (30, 70, 235)
STOP_LOSS = (215, 25, 25)
TAKE_PROFIT = (0, 150, 60)
ACCOUNT = 1000000.0


def closes():
    """26 bars swinging between 93 and 107 for the first window, then flat at 100, a fall of one
    a bar to 95 and a rise again."""
    values = [100.0 + (7 if i % 2 else -7) for i in range(24)] + [100.0, 100.0]
    values += [99.0 - i for i in range(5)]  # bars 26..30: 99 down to 95
    values += [96.0 + i for i in range(40)]
    return values


def write_fixture(path):
    values = closes()
    with open(path, "w") as out:
        for i, c in enumerate(values):
            o = values[i - 1] if i else c
            out.write(f"2021-{1 + i // 28:02d}-{1 + i % 28:02d},{o:.2f},{max(o, c) + 0.5:.2f},"
                      f"{min(o, c) - 0.5:.2f},{c:.2f}\n")


class PriceScale:
    """Prices to rows of the plot, measured from the first window's candles: the rows the
    filled bodies from 107 down to 93 cross hold far more candle pixels than the wicks above
    and below them."""

    def __init__(self, picture, layout):
        left, top, right, bottom = layout.chart
        counts = {y: sum(picture.pixel(x, y) == CANDLE for x in range(left + 2, right - 2))
                  for y in range(top + 2, bottom - 2)}
        most = max(counts.values())
        rows = [y for y, n in counts.items() if n >= most // 2]
        if most == 0:
            raise AssertionError("no candles on the chart")
        self.top, self.bottom = rows[0], rows[-1]
        self.high, self.low = 107.0, 93.0

    def row(self, price):
        return round(self.top + (self.high - price) / (self.high - self.low)
                     * (self.bottom - self.top))


def line_rows(picture, layout, colour):
    """Rows on which an order line of this colour shows over much of the plot, between the
    candles drawn over it."""
    left, top, right, bottom = layout.chart
    return [y for y in range(top, bottom)
            if sum(picture.pixel(x, y) == colour for x in range(left, right)) > (right - left) // 4]


def main():
    args = xd.arguments(__doc__)
    os.environ["XDG_CONFIG_HOME"] = tempfile.mkdtemp(prefix="orvanta-e2e-config-")
    fixture = os.path.join(tempfile.mkdtemp(prefix="orvanta-e2e-fixture-"), "swing.csv")
    write_fixture(fixture)
    with xd.Session(args, "orvanta-e2e-orders-") as session:
        server = session.server
        program, window, layout, workdir = session.start(options=[fixture])
        known = xd.program_windows(server, program.process)
        left, top, right, bottom = layout.chart
        x_menu = (left + right) // 2

        def log():
            return xd.trade_log_lines(workdir)

        def picture_where(what, predicate):
            return xd.wait_for_picture(server, window, predicate, TIMEOUT, what)

        def step(count=1):
            xd.keys_to(server, window, *(["Right"] * count))

        # The first window: its wicks give the price scale.
        step()
        scale = PriceScale(picture_where("the first window", lambda p: xd.coloured_points(
            p, xd.plot_box(layout))), layout)

        # 10 typed over the quantity's 1; a click on the chart takes the focus back.
        xd.click(server, window, layout.centre((170, 272, 30, 12)))
        xd.press_keys(server, "ctrl+a", "1", "0")

        def right_click_menu(price, downs):
            xd.click(server, window, (x_menu, scale.row(price)), button=3)
            xd.popup(server, program, known)
            xd.press_keys(server, *(["Down"] * downs), "Return")
            xd.wait_for(lambda: len(xd.program_windows(server, program.process)) == len(known),
                        TIMEOUT, "the menu to close")

        # Below the close of 100: buy limit, sell stop, then the dialog.
        right_click_menu(97.0, 1)
        picture_where("the buy limit's line", lambda p: line_rows(p, layout, ENTRY))
        # Played, the bars fall to a low of 96.5 on the third; the fill pauses the replay.
        xd.keys_to(server, window, "space")
        fills = xd.wait_for(lambda: [l for l in log() if l.startswith("Buy limit filled: ")],
                            TIMEOUT, "the buy limit's fill")
        entry = float(re.match(r"Buy limit filled: Buy 10 @ ([\d.]+)$", fills[0]).group(1))
        assert abs(entry - 97.0) < 0.3, f"the limit at 97 filled at {entry}"
        # The fill's bar closes at 97: a long's stop lies below, its target above.
        right_click_menu(94.0, 3)
        right_click_menu(103.0, 3)
        shown = picture_where("the stop loss and take profit lines", lambda p: line_rows(
            p, layout, STOP_LOSS) and line_rows(p, layout, TAKE_PROFIT))
        target_row = line_rows(shown, layout, TAKE_PROFIT)[0]
        label_end = max(x for x in range(left, right)
                        if shown.pixel(x, target_row - 3) == TAKE_PROFIT)
        xd.click(server, window, (label_end - 3, target_row))
        picture_where("the take profit cancelled", lambda p: not line_rows(p, layout, TAKE_PROFIT))

        stop_row = line_rows(shown, layout, STOP_LOSS)[0]
        xd.drag(server, window, (x_menu - 40, stop_row), (x_menu - 40, scale.row(95.7)))
        picture_where("the stop loss dragged up", lambda p: line_rows(p, layout, STOP_LOSS)
                              and line_rows(p, layout, STOP_LOSS)[0] < stop_row - 10)
        # The next bar falls to 96 (low 95.5): the dragged stop fills, where it was would not.
        step(1)
        stops = xd.wait_for(lambda: [i for i, l in enumerate(log())
                                     if l.startswith("Stop loss filled: ")],
                            TIMEOUT, "the stop loss's fill")
        lines = log()
        stop = float(re.match(r"Stop loss filled: Sell 10 @ ([\d.]+)$", lines[stops[0]]).group(1))
        assert 95.4 < stop < 96.0, f"the dragged stop sold at {stop}"
        # The exported trades, as the report counts them, against the hand's figures.
        target = os.path.join(workdir, "exported.csv")
        xd.press_keys(server, "alt+t", "e")
        dialog = xd.find_window(server, "^Save As$", TIMEOUT)
        xd.wait_for_focus(server, dialog)
        xd.press_keys(server, "ctrl+a")
        xd.run_x(server, ["xdotool", "type", "--delay", "20", target])
        xd.press_keys(server, "Return")
        xd.wait_for(lambda: os.path.exists(target), TIMEOUT, "the exported file")
        with open(target, newline="") as f:
            rows = list(csv.DictReader(f))
        assert [(r["side"], r["quantity"], r["order"]) for r in rows] == [
            ("Buy", "10", "Buy limit"), ("Sell", "10", "Stop loss")], rows
        gained = round(10 * (stop - entry), 2)
        assert float(rows[1]["realized"]) == gained and float(rows[1]["net"]) == gained, rows[1]
        assert float(rows[1]["account"]) == round(ACCOUNT + gained, 2), rows[1]
        print(f"bought 10 at {entry}, stopped out at {stop}: {gained:+.2f}")

        xd.close_window(server, window)
        question = xd.wait_for(lambda: [w for w in xd.visible_windows(server, xd.MAIN_CAPTION)
                                   if w != window], TIMEOUT, "the question on closing")[0]
        xd.keys_to(server, question, "alt+y")
        code = session.finish(program)
        assert code == 0, f"the program exited with {code}"
    return 0


if __name__ == "__main__":
    sys.exit(main())
