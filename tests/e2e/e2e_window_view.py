#!/usr/bin/env python3
"""The main window grown by the window system, and the chart read with the mouse, on the real
program under Xvfb, checked on the window's pixels.

A tick of the replay is played and stopped so the chart holds still. The window is then resized
to 1200 x 900: the plot must be at least 1.6 times wider than at start. The crosshair label
follows the mouse over the plot; a wheel notch zooms the dates (fewer candles in view); the File
menu's picture command writes a PNG that holds exactly the chart's pixels of the window. An MA5
toggled from its menu draws a coloured line over the candles. The program ends with 0.
"""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import orvanta_xdriver as xd  # noqa: E402
from e2e_chart_mouse import candle_count  # noqa: E402
from e2e_menus_dialogs import click_screen, geometry, menu_titles  # noqa: E402

BLACK = (0, 0, 0)
LINES = (80, 80, 80)         # the crosshair's dotted lines
LABEL = (255, 255, 225)      # the crosshair label's background
MA5 = (0, 90, 200)           # the first average's colour
TIMEOUT = 20


def chart_rect(picture):
    """The chart's rectangle from its sunken bottom edge, the longest dark line in the window."""
    bottom_y, left, length = -1, 0, 0
    for y in range(picture.height):
        start, run = picture.longest_run(y, xd.EDGE_DARK)
        if run > length:
            bottom_y, left, length = y, start, run
    top_y = bottom_y
    while top_y > 0 and picture.pixel(left, top_y - 1) == xd.EDGE_LIGHT:
        top_y -= 1
    return (left, top_y, left + length, bottom_y + 1)


def plot_width(picture):
    """Length of the date axis line: the longest black run in the chart."""
    left, top, right, bottom = chart_rect(picture)
    return max(picture.longest_run(y, BLACK)[1] for y in range(top, bottom))


def plot_rect(picture):
    left, top, right, bottom = chart_rect(picture)
    rows = [y for y in range(top, bottom) if picture.longest_run(y, BLACK)[1] > (right - left) // 2]
    axis_y = next(y for y in rows if y > rows[0] + 10)
    start, length = picture.longest_run(axis_y, BLACK)
    return (start, rows[0], start + length, axis_y)


def label_near(picture, point, reach=260):
    """The label's background pixels right of and below the mouse, as their leftmost x."""
    x0, y0 = point
    xs = [x for y in range(y0, min(picture.height, y0 + 40))
          for x in range(x0, min(picture.width, x0 + reach)) if picture.pixel(x, y) == LABEL]
    return min(xs) if xs else None


def png_pixels(path):
    out = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True,
                         capture_output=True).stdout
    size = subprocess.run(["identify", "-format", "%w %h", path], check=True,
                          capture_output=True, text=True).stdout.split()
    return int(size[0]), int(size[1]), out


def main():
    args = xd.arguments(__doc__)
    with xd.Session(args, "orvanta-e2e-window-") as session:
        server = session.server
        os.environ["XDG_CONFIG_HOME"] = xd.temp_workdir("orvanta-e2e-config-")
        program, window, layout, workdir = session.start(bars=200)

        def picture():
            return xd.Picture(server, window)

        box = xd.plot_box(layout)
        xd.click(server, window, layout.centre(xd.BTN_PLAY))
        xd.wait_for_picture(server, window, lambda p: xd.coloured_points(p, box), TIMEOUT,
                            "candles after Play")
        xd.click(server, window, layout.centre(xd.BTN_PLAY))
        time.sleep(1.5)
        start_width = plot_width(picture())

        def resize():
            xd.run_x(server, ["xdotool", "windowsize", str(window), "1200", "900"])
            grown = xd.wait_for_picture(server, window,
                                        lambda p: p.width >= 1150 and plot_width(p) > start_width,
                                        TIMEOUT, "a larger plot")
            ratio = plot_width(grown) / start_width
            assert ratio >= 1.6, f"plot {start_width} -> {plot_width(grown)} px ({ratio:.2f}x)"

        xd.check("resized to 1200 x 900: the plot grows", resize)
        plot = plot_rect(picture())
        mid_y = (plot[1] + plot[3]) // 2

        def crosshair():
            first = (plot[0] + (plot[2] - plot[0]) // 4, mid_y - 40)
            second = (plot[0] + (plot[2] - plot[0]) // 2, mid_y + 20)
            xs = []
            for point in (first, second):
                xd.run_x(server, ["xdotool", "mousemove", "--window", str(window),
                                  str(point[0]), str(point[1])])
                shown = xd.wait_for_picture(server, window,
                                            lambda p, pt=point: label_near(p, pt) is not None,
                                            TIMEOUT, f"the label near {point}")
                dotted = sum(shown.pixel(x, point[1]) == LINES for x in range(plot[0], plot[2]))
                assert dotted > 20, f"only {dotted} crosshair pixels on row {point[1]}"
                xs.append(label_near(shown, point))
            assert xs[1] - xs[0] == second[0] - first[0], f"label at {xs} did not follow the mouse"

        xd.check("the crosshair label follows the mouse", crosshair)

        def wheel():
            before = candle_count(picture(), plot)
            centre = ((plot[0] + plot[2]) // 2, mid_y)
            xd.run_x(server, ["xdotool", "mousemove", "--window", str(window), str(centre[0]),
                              str(centre[1]), "sleep", "0.1", "click", "4"])
            after = xd.wait_for_picture(server, window,
                                        lambda p: candle_count(p, plot) < before, TIMEOUT,
                                        "fewer candles after a wheel notch")
            assert candle_count(after, plot) >= before * 0.7, "one notch zooms by a fifth"

        xd.check("a wheel notch zooms the dates", wheel)

        def saved_picture():
            # Off the plot but over the chart, so the crosshair goes.
            chart = chart_rect(picture())
            xd.run_x(server, ["xdotool", "mousemove", "--window", str(window),
                              str(chart[0] + 2), str(chart[1] + 2)])
            time.sleep(0.5)
            known = xd.program_windows(server, program.process)
            # Up from the top: 退出, the file loaded at start (the recent list), 保存图片...
            xd.keys_to(server, window, "alt+f", "Up", "Up", "Up", "Return")

            def dialog():
                new = [w for w in xd.program_windows(server, program.process) if w not in known]
                return new[0] if new else None
            xd.wait_for_focus(server, xd.wait_for(dialog, TIMEOUT, "the save dialog"))
            target = os.path.join(workdir, "chart")
            xd.run_x(server, ["xdotool", "type", "--delay", "20", target])
            xd.press_keys(server, "Return")
            path = xd.wait_for(lambda: os.path.exists(target + ".png") and target + ".png",
                               TIMEOUT, "the picture file")
            time.sleep(0.5)
            width, height, data = png_pixels(path)
            shown = picture()
            left, top, right, bottom = chart_rect(shown)
            assert (width, height) == (right - left, bottom - top), \
                f"picture {width}x{height}, chart {right - left}x{bottom - top}"
            wrong = sum(tuple(data[(y * width + x) * 3:(y * width + x) * 3 + 3])
                        != shown.pixel(left + x, top + y)
                        for y in range(height) for x in range(width))
            assert wrong == 0, f"{wrong} pixels of the picture differ from the window"

        xd.check("the saved picture holds the chart's pixels", saved_picture)

        def average():
            known = xd.program_windows(server, program.process)
            titles = menu_titles(picture(), layout)
            xd.click(server, window, titles[-1])  # 指标, the last title
            menu = xd.popup(server, program, known)
            x, y, width, _ = geometry(server, menu)
            click_screen(server, (x + width // 2, y + 14))  # its first item, MA5
            xd.wait_for_picture(server, window,
                                lambda p: any(p.pixel(x, y) == MA5 for y in range(plot[1], plot[3])
                                              for x in range(plot[0], plot[2], 2)),
                                TIMEOUT, "the MA5 line")

        xd.check("MA5 from its menu draws its line", average)
        xd.keys_to(server, window, "alt+f", "q")  # 退出(&Q); no trades, so no question
        code = session.finish(program)
        assert code == 0, f"the program exited with {code}"
    return 0


if __name__ == "__main__":
    sys.exit(main())
