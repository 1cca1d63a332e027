#!/usr/bin/env python3
"""End-to-end practice from the keyboard: the real program under Xvfb, driven by xdotool keys.

Starts orvanta with a K-line file, plays and stops with Space, buys with B, reveals one bar with
the Right arrow while stopped, sells with S, makes the replay faster with + and slower with -,
exports the trades through the 交易 menu and checks that the trade log and the CSV agree trade by
trade. The buy marker and the average line must show on the chart while the position is open. Escape must leave the program running;
closing the window asks because trades were made, No keeps it running, Yes ends it with 0.
"""

import csv
import os
import re
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import orvanta_xdriver as xd  # noqa: E402

BARS = 300
TIMEOUT = 30
BUY_COLOUR = (0, 160, 230)
AVERAGE_COLOUR = (120, 0, 160)


def count_colour(picture, box, colour):
    left, top, right, bottom = box
    return sum(picture.pixel(x, y) == colour for y in range(top, bottom) for x in range(left, right))


def profile_period(config):
    path = os.path.join(config, "orvanta", "orvanta.ini")
    if not os.path.exists(path):
        return None
    m = re.search(r"^PeriodMs=(\d+)", open(path).read(), re.M)
    return int(m.group(1)) if m else None


def main():
    args = xd.arguments(__doc__)
    config = tempfile.mkdtemp(prefix="orvanta-e2e-config-")
    os.environ["XDG_CONFIG_HOME"] = config
    with xd.Session(args, "orvanta-e2e-keys-") as session:
        server = session.server
        program, window, layout, workdir = session.start(bars=BARS)
        box = xd.plot_box(layout)
        chart = layout.chart

        def running():
            return program.process.poll() is None

        def log():
            return xd.trade_log_lines(workdir)

        def question(what):
            """The message box: captioned like the main window, but another window."""
            return xd.wait_for(lambda: [w for w in xd.visible_windows(server, xd.MAIN_CAPTION)
                                        if w != window], TIMEOUT, what)[0]

        # Space plays: candles appear; Space again stops, and the picture stays.
        xd.keys_to(server, window, "space")
        xd.wait_for_picture(server, window, lambda p: xd.coloured_points(p, box), TIMEOUT,
                            "candles after Space")
        xd.press_keys(server, "space")
        time.sleep(0.3)
        still = xd.Picture(server, window)
        time.sleep(2.5)
        assert xd.same_pixels(still, xd.Picture(server, window), box), "Space did not stop"

        # B buys at the newest close; the buy marker shows.
        xd.press_keys(server, "b")
        xd.wait_for(lambda: len(log()) >= 2, TIMEOUT, "the Buy lines")
        xd.wait_for_picture(server, window, lambda p: count_colour(p, chart, BUY_COLOUR) > 5,
                            TIMEOUT, "the buy marker")
        xd.wait_for_picture(server, window, lambda p: count_colour(p, chart, AVERAGE_COLOUR) > 20,
                            TIMEOUT, "the average line")

        # Right reveals exactly one bar: one mark line for the open position.
        xd.press_keys(server, "Right")
        xd.wait_for(lambda: len(log()) >= 3, TIMEOUT, "the mark after Right")
        time.sleep(1.5)
        assert len(log()) == 3, "Right while stopped revealed more than one bar:\n" + "\n".join(log())

        # S sells; the average line goes. (The sell marker sits over the newest high, which on
        # this rising fixture is the top of the plot, so it is not looked for.)
        xd.press_keys(server, "s")
        xd.wait_for(lambda: len(log()) >= 5, TIMEOUT, "the Sell lines")
        xd.wait_for_picture(server, window, lambda p: count_colour(p, chart, AVERAGE_COLOUR) == 0,
                            TIMEOUT, "the average line gone")

        # + makes the replay faster, - slower; the step is remembered in the settings file.
        xd.press_keys(server, "plus")
        xd.wait_for(lambda: profile_period(config) == 500, TIMEOUT, "0.5 s after +")
        xd.press_keys(server, "minus", "minus")
        xd.wait_for(lambda: profile_period(config) == 2000, TIMEOUT, "2 s after - -")

        # Export through the menu by its mnemonics, typing the path into the save dialog.
        target = os.path.join(workdir, "exported.csv")
        xd.press_keys(server, "alt+t", "e")
        dialog = xd.find_window(server, "^Save As$", TIMEOUT)
        xd.wait_for_focus(server, dialog)
        xd.press_keys(server, "ctrl+a")
        xd.run_x(server, ["xdotool", "type", "--delay", "20", target])
        xd.press_keys(server, "Return")
        xd.wait_for(lambda: os.path.exists(target), TIMEOUT, "the exported file")

        lines = log()
        trades = [line for line in lines if re.match(r"^(Buy|Sell) 1 @ .*current position:", line)]
        with open(target, newline="") as f:
            rows = list(csv.reader(f))
        assert rows[0] == ["time", "side", "price", "position", "average", "realized", "account",
                           "date", "file", "quantity", "order", "costs", "gross", "net"]
        assert len(rows) - 1 == len(trades) == 2, f"{rows}\n{lines}"
        for row, line in zip(rows[1:], trades):
            m = re.match(r"^(Buy|Sell) 1 @ (-?\d+\.\d\d), current position:(-?\d+), ", line)
            assert row[1] == m.group(1) and row[2] == m.group(2) and row[3] == m.group(3), \
                f"{row} against {line}"

        # Escape leaves the program running.
        # A click on the chart (no drag: nothing zooms) gives the main window the keyboard again.
        xd.click(server, window, ((chart[0] + chart[2]) // 2, (chart[1] + chart[3]) // 2))
        time.sleep(0.5)
        xd.press_keys(server, "Escape")
        time.sleep(1.0)
        assert running(), "Escape ended the program"

        # Closing asks: No keeps the program, Yes ends it.
        xd.close_window(server, window)
        box_window = question("the question")
        xd.keys_to(server, box_window, "Escape")
        time.sleep(1.0)
        assert running(), "No ended the program"
        xd.close_window(server, window)
        box_window = question("the question again")
        xd.keys_to(server, box_window, "alt+y")
        code = session.finish(program)
        assert code == 0, f"the program exited with {code}"
        print("log:\n" + "\n".join(lines))
    return 0


if __name__ == "__main__":
    sys.exit(main())
