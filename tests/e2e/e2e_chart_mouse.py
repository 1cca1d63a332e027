#!/usr/bin/env python3
"""Every mouse gesture on the chart of the real program under Xvfb, checked on the window's pixels.

The replay is played for a tick and stopped, so the chart holds still; then: a right-button drag
moves the candles with the mouse, also one released outside the window, and no menu opens over the
chart; a left box zooms, a backward box restores the picture, a box without size and a double
click change nothing; the date scroll bar's arrow moves the candles by a tenth of the plot, its
page areas move them away and back. The program must still run after all of it and end with 0.
"""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import orvanta_xdriver as xd  # noqa: E402

BLACK = (0, 0, 0)
CANDLE = (255, 0, 0)  # the first series colour: candle outlines and wicks
CROSSHAIR = (80, 80, 80)  # its dotted lines and the frame of its label
LABEL = (255, 255, 225)  # the crosshair label's background
TIMEOUT = 20  # generous: the machine may be busy


def plot_rect(picture, layout):
    """The plot rectangle (left, top, right, bottom) from its black frame: the top line, and the
    date axis line below it, which gives the left and right ends."""
    left, top, right, bottom = layout.chart
    rows = [y for y in range(top, bottom) if picture.longest_run(y, BLACK)[1] > (right - left) // 2]
    if not rows:
        raise RuntimeError("no plot frame in the chart")
    axis_y = next(y for y in rows if y > rows[0] + 10)
    start, length = picture.longest_run(axis_y, BLACK)
    return (start, rows[0], start + length, axis_y)


def candle_count(picture, box):
    """Candles in the box: runs of columns that hold candle pixels."""
    left, top, right, bottom = box
    count, inside = 0, False
    for x in range(left, right):
        hit = any(picture.pixel(x, y) == CANDLE for y in range(top, bottom))
        count += hit and not inside
        inside = hit
    return count


def same_candles(a, b, box):
    """The same candles in both pictures. The crosshair follows the mouse over the plot and may
    cover a few candle pixels in one of them."""
    left, top, right, bottom = box
    covers = (CROSSHAIR, LABEL, BLACK)
    points = [(x, y) for y in range(top, bottom) for x in range(left, right)
              if CANDLE in (a.pixel(x, y), b.pixel(x, y))
              and a.pixel(x, y) not in covers and b.pixel(x, y) not in covers]
    differ = sum(a.pixel(x, y) != b.pixel(x, y) for x, y in points)
    return bool(points) and differ <= len(points) // 20


def main():
    args = xd.arguments(__doc__)
    with xd.Session(args, "orvanta-e2e-mouse-") as session:
        server = session.server
        program, window, layout, _ = session.start(bars=200)
        box = xd.plot_box(layout)
        base_windows = len(xd.program_windows(server, program.process))

        def picture():
            return xd.Picture(server, window)

        def running():
            assert program.process.poll() is None, f"the program ended with {program.process.returncode}"

        def changed_from(before):
            return lambda p: not xd.same_pixels(before, p, box)

        def quiet_picture():
            """A picture the chart keeps: the same after more than a replay period."""
            def attempt():
                first = picture()
                time.sleep(1.3)
                second = picture()
                return second if xd.same_pixels(first, second, box) else None
            return xd.wait_for(attempt, TIMEOUT, "a chart that holds still")

        # Play, let a tick come, stop.
        xd.click(server, window, layout.centre(xd.BTN_PLAY))
        shown = xd.wait_for_picture(server, window, lambda p: xd.coloured_points(p, box), TIMEOUT,
                                    "candles after Play")
        xd.wait_for_picture(server, window, changed_from(shown), TIMEOUT, "a replay tick")
        xd.click(server, window, layout.centre(xd.BTN_PLAY))
        still = quiet_picture()
        plot = plot_rect(still, layout)
        plot_width = plot[2] - plot[0]
        print(f"window {window:#x}, chart {layout.chart}, plot {plot}")
        centre = ((box[0] + box[2]) // 2, (box[1] + box[3]) // 2)

        def shifted_by(before, expected, reach=2):
            candidates = xd.around(expected, reach) + xd.around((0, 0), reach)
            def holds(after):
                return xd.best_shift(before, after, box, candidates) in xd.around(expected, 1)
            return holds

        def right_drag_moves_the_candles():
            before = quiet_picture()
            drag = (-70, 35)
            end = (centre[0] + drag[0], centre[1] + drag[1])
            xd.press_and_move(server, window, centre, end, button=3)
            during = len(xd.program_windows(server, program.process))
            xd.release(server, button=3)
            assert during == base_windows, "a menu opened over the chart"
            after = xd.wait_for_picture(server, window, shifted_by(before, drag), TIMEOUT,
                                        f"the candles moved by {drag}")
            share = xd.shift_match(before, after, box, *drag)
            assert share > 0.6, f"only {share:.0%} of the candle pixels moved with the mouse"
            running()
            # A plain move afterwards pans no more.
            xd.run_x(server, ["xdotool", "mousemove", "--window", str(window),
                              str(centre[0] + 40), str(centre[1] - 40), "sleep", "0.5"])
            # The crosshair now covers a few pixels: the candles themselves must stay put.
            candles = [p for p in xd.coloured_points(after, box) if p[2] == CANDLE]
            share = xd.shift_match(after, picture(), box, 0, 0, points=candles)
            assert share > 0.8, "the chart panned without a button"

        def right_drag_released_outside():
            before = quiet_picture()
            width, _ = xd.window_size(server, window)
            end = (width + 40, centre[1])
            drag = (end[0] - centre[0], 0)
            xd.press_and_move(server, window, centre, end, button=3)
            xd.release(server, button=3)
            after = xd.wait_for_picture(server, window, shifted_by(before, drag), TIMEOUT,
                                        f"the candles moved by {drag}")
            running()
            xd.run_x(server, ["xdotool", "mousemove", "--window", str(window),
                              str(centre[0]), str(centre[1]), "sleep", "0.5"])
            assert same_candles(after, picture(), box), "the drag went on after the release"

        def restore():
            """A backward box: the chart shows the replay's window again."""
            xd.drag(server, window, (centre[0] + 60, centre[1] + 60), (centre[0] - 60, centre[1] - 60))

        def box_zoom_and_backward_restore():
            restore()
            before = quiet_picture()
            start = (box[0] + (box[2] - box[0]) * 3 // 10, box[1] + (box[3] - box[1]) // 10)
            end = (box[0] + (box[2] - box[0]) * 6 // 10, box[3] - 5)
            xd.drag(server, window, start, end)

            # The box is about a third of the plot wide: a third as many candles fill the plot.
            many = candle_count(before, box)
            xd.wait_for_picture(server, window, lambda p: 0 < candle_count(p, box) <= many // 2,
                                TIMEOUT, f"at most {many // 2} of {many} candles")
            restore()
            xd.wait_for_picture(server, window, lambda p: same_candles(before, p, box), TIMEOUT,
                                "the picture from before the zoom")

        def box_without_size_and_double_click_change_nothing():
            before = quiet_picture()
            x, y = centre
            xd.click(server, window, centre)
            xd.drag(server, window, (x - 80, y), (x + 80, y))
            xd.drag(server, window, (x, y - 60), (x, y + 60))
            xd.run_x(server, ["xdotool", "mousemove", "--window", str(window), str(x), str(y),
                              "click", "--repeat", "2", "--delay", "60", "1", "sleep", "0.5"])
            assert same_candles(before, picture(), box), "the chart changed"
            running()

        def scroll_bar_arrow_and_pages():
            restore()
            before_zoom = quiet_picture()
            # Zoom into the middle, so the date scroll bar has room to move.
            xd.drag(server, window, (plot[0] + plot_width * 3 // 10, box[1]),
                    (plot[0] + plot_width * 6 // 10, box[3]))
            many = candle_count(before_zoom, box)
            xd.wait_for_picture(server, window, lambda p: 0 < candle_count(p, box) <= many // 2,
                                TIMEOUT, "a zoom")
            zoomed = quiet_picture()
            bar_y = plot[3] - 6
            right_arrow = (plot[2] - 6, bar_y)
            xd.click(server, window, right_arrow)
            step = -round(plot_width / 10)
            candidates = [(dx, 0) for dx in range(-plot_width // 3, plot_width // 3)]
            def moved_a_tenth(p):
                dx, _ = xd.best_shift(zoomed, p, box, candidates)
                return abs(dx - step) <= 2
            scrolled = xd.wait_for_picture(server, window, moved_a_tenth, TIMEOUT,
                                           f"the candles moved by {step} px")
            # A page back shows other candles; a page forward brings these back exactly.
            xd.click(server, window, (plot[0] + plot_width // 8, bar_y))
            xd.wait_for_picture(server, window, changed_from(scrolled), TIMEOUT, "a page back")
            xd.click(server, window, (plot[2] - plot_width // 8, bar_y))
            xd.wait_for_picture(server, window, lambda p: same_candles(scrolled, p, box), TIMEOUT,
                                "the page forward")
            running()

        xd.check("right drag moves the candles with the mouse; no menu", right_drag_moves_the_candles)
        xd.check("right drag released outside the window", right_drag_released_outside)
        xd.check("left box zooms, backward box restores", box_zoom_and_backward_restore)
        xd.check("zero-size boxes and a double click change nothing",
                 box_without_size_and_double_click_change_nothing)
        xd.check("scroll bar arrow and page clicks", scroll_bar_arrow_and_pages)

        xd.close_window(server, window)
        code = session.finish(program)
        assert code == 0, f"the program exited with {code}"
    return 0


if __name__ == "__main__":
    sys.exit(main())
