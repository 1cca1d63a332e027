#!/usr/bin/env python3
"""End-to-end timeframes: the real program under Xvfb, driven by keys and the mouse.

On an hourly file whose closes rise a quarter a bar, key 6 chooses 4 hours and Play runs: the
newest candle's body must grow across four steps and start again small. Stopped, the 属性 menu
opens the second chart side by side on 1 hour; the crosshair moved over the main chart draws a
line at the same instant on the second, gone when the mouse leaves the chart. Left steps back and the newest 4-hour candle shrinks.
The settings file keeps the choices, and closing the window without trades exits with 0.
"""

import datetime
import os
import re
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import orvanta_xdriver as xd  # noqa: E402
from e2e_menus_dialogs import menu_titles  # noqa: E402

TIMEOUT = 30
CANDLE = (255, 0, 0)  # candle outlines and wicks
CROSSHAIR = (80, 80, 80)
BARS = 400


def write_fixture(path):
    start = datetime.datetime(2021, 3, 1, 0, 0)
    with open(path, "w") as out:
        for i in range(BARS):
            o, c = 100.0 + 0.25 * (i - 1), 100.0 + 0.25 * i
            out.write(f"{start + datetime.timedelta(hours=i):%Y-%m-%d %H:%M:%S},"
                      f"{o:.2f},{c:.2f},{o:.2f},{c:.2f}\n")


def newest_candle(picture, box):
    """(columns, height in rows) of the rightmost candle in the box."""
    left, top, right, bottom = box
    columns = []
    for x in range(right - 1, left - 1, -1):
        hit = any(picture.pixel(x, y) == CANDLE for y in range(top, bottom))
        if hit:
            columns.append(x)
        elif columns:
            break
    rows = [y for x in columns for y in range(top, bottom) if picture.pixel(x, y) == CANDLE]
    return (min(columns), max(columns)), (max(rows) - min(rows) + 1 if rows else 0)


def vertical_line(picture, box):
    """A column of the box that the crosshair's dotted colour runs down."""
    left, top, right, bottom = box
    return [x for x in range(left, right)
            if sum(picture.pixel(x, y) == CROSSHAIR for y in range(top, bottom))
            > (bottom - top) // 5]


def main():
    args = xd.arguments(__doc__)
    config = tempfile.mkdtemp(prefix="orvanta-e2e-config-")
    os.environ["XDG_CONFIG_HOME"] = config
    fixture = os.path.join(tempfile.mkdtemp(prefix="orvanta-e2e-fixture-"), "hourly.csv")
    write_fixture(fixture)
    with xd.Session(args, "orvanta-e2e-timeframes-") as session:
        server = session.server
        program, window, layout, workdir = session.start(options=[fixture])
        left, top, right, bottom = layout.chart
        whole = xd.plot_box(layout)
        mid = (left + right) // 2
        # Each chart of the split: the inside of its half, clear of axes and the split.
        first = (whole[0] // 2 + left // 2, whole[1], mid - 10, whole[3])
        second = (mid + (whole[0] - left) // 2, whole[1], whole[2], whole[3])
        away = (5, layout.top + 5)

        def picture_after(before, box, what):
            return xd.wait_for_picture(server, window, lambda p: not xd.same_pixels(before, p, box),
                                       TIMEOUT, what)

        xd.keys_to(server, window, "6")
        xd.wait_for(lambda: re.search(r"^Timeframe=5$", open(os.path.join(
            config, "orvanta", "orvanta.ini")).read(), re.M), TIMEOUT, "4 hours kept")
        xd.run_x(server, ["xdotool", "mousemove", "--window", str(window), *map(str, away)])
        xd.keys_to(server, window, "space")
        picture = xd.wait_for_picture(server, window, lambda p: xd.coloured_points(p, whole),
                                      TIMEOUT, "candles after Play")
        heights = [newest_candle(picture, whole)[1]]
        for _ in range(9):
            picture = picture_after(picture, whole, "a replay tick")
            heights.append(newest_candle(picture, whole)[1])
        xd.keys_to(server, window, "space")
        print(f"newest 4-hour candle, tick by tick: {heights} rows")
        grows = [b > a for a, b in zip(heights, heights[1:])]
        # Three growths in a row, then a new candle starts small.
        runs = "".join("g" if g else "n" for g in grows)
        assert "gggn" in runs, f"no candle grew over four steps: {heights}"

        # 属性 > 第二图表 > 左右并排, then 属性 > 第二图表 > 1小时, by the keyboard in the menus.
        known = xd.program_windows(server, program.process)
        titles = menu_titles(xd.Picture(server, window), layout)
        for keys in (["Down"] * 4 + ["Right", "Down", "Return"],
                     ["Down"] * 4 + ["Right", "Down", "Down", "Down", "Return"]):
            xd.click(server, window, titles[1])
            xd.popup(server, program, known)
            xd.press_keys(server, *keys)
            xd.wait_for(lambda: len(xd.program_windows(server, program.process)) == len(known),
                        TIMEOUT, "the menu to close")
        settings = open(os.path.join(config, "orvanta", "orvanta.ini")).read()
        assert re.search(r"^SecondChart=1$", settings, re.M), settings
        assert re.search(r"^SecondTimeframe=4$", settings, re.M), settings
        split = xd.wait_for_picture(server, window, lambda p: xd.coloured_points(p, second),
                                    TIMEOUT, "candles on the second chart")
        assert not vertical_line(split, second), "a line on the second chart before the mouse"

        # The crosshair over the main chart's middle: a line on the second chart.
        xd.run_x(server, ["xdotool", "mousemove", "--window", str(window),
                          str((first[0] + first[2]) // 2), str((first[1] + first[3]) // 2)])
        linked = xd.wait_for_picture(server, window, lambda p: vertical_line(p, second), TIMEOUT,
                                     "the crosshair's line on the second chart")
        print(f"crosshair's line on the second chart at x {vertical_line(linked, second)}")
        # Out of the chart in one jump: the line goes with the crosshair.
        xd.run_x(server, ["xdotool", "mousemove", "--window", str(window), *map(str, away)])
        shown = xd.wait_for_picture(server, window, lambda p: not vertical_line(p, second),
                                    TIMEOUT, "the line gone with the mouse")

        # One bar on, so the newest candle holds two or more; then back: it shrinks.
        before = newest_candle(shown, first)
        for _ in range(4):
            xd.keys_to(server, window, "Right")
            shown = picture_after(shown, first, "a bar on")
            now = newest_candle(shown, first)
            if now[0] == before[0] and now[1] > before[1]:
                break
            before = now
        xd.keys_to(server, window, "Left")
        back = picture_after(shown, first, "a bar back")
        assert newest_candle(back, first)[0] == now[0] and newest_candle(back, first)[1] < now[1], \
            f"after Left the newest candle is {newest_candle(back, first)}, before {now}"

        xd.close_window(server, window)
        code = session.finish(program)
        assert code == 0, f"the program exited with {code}"
    return 0


if __name__ == "__main__":
    sys.exit(main())
