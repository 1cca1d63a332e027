#!/usr/bin/env python3
"""A semicolon file whose header the program does not know, chosen in the load dialog of the real
program under Xvfb, opens the import dialog; its columns are set there with the mouse and the
keyboard, and OK loads the file that way.

First run, without a file: File, Load by mnemonic, the path typed. The import dialog opens on the
loader's proposal. The close drop-down, opened by a click, is moved to the open's column with the
arrow keys (the preview's pixels change, OK is not offered while one column has two uses), then
the open drop-down to the close's column (the preview changes again). OK by mouse loads the file:
Play draws candles. The settings file keeps the layout for the path; the window closes with 0.
Second run, the same file on the command line: no import dialog, Play draws the candles at once.
"""

import datetime
import os
import shutil
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import orvanta_xdriver as xd  # noqa: E402

TIMEOUT = 30
CAPTION = "导入设置"
DIALOG = (380, 302)  # dialog units
CLOSE = (44, 158, 80, 12)
OPEN = (44, 142, 80, 12)
PREVIEW = (7, 204, 366, 72)
OK = (267, 282, 50, 14)
QUIET = 2.0


def write_unknown_header(path, count):
    """Bars in decimal commas whose open and close the loader's proposal has the wrong way round:
    the first column of numbers is the close."""
    def number(value):
        return f"{value:.2f}".replace(".", ",")

    with open(path, "w") as out:
        out.write("Datum;Wertpapier;Schluss;Hoch;Tief;Eroeffnung;Stueck\n")
        for i in range(count):
            date = datetime.date(2021, 3, 1) + datetime.timedelta(days=i)
            close = 100.0 + (i % 7) * 1.5
            opening = close - 2.0 if i % 2 else close + 2.0
            out.write(f"{date:%d.%m.%Y};AT0000831706;{number(close)};"
                      f"{number(max(opening, close) + 1)};{number(min(opening, close) - 1)};"
                      f"{number(opening)};{1000 + i}\n")


def geometry(server, window):
    out = xd.run_x(server, ["xdotool", "getwindowgeometry", "--shell", str(window)])
    values = dict(line.split("=", 1) for line in out.split() if "=" in line)
    return int(values["WIDTH"]), int(values["HEIGHT"])


def first_run(session, path):
    server = session.server
    program, window, layout, workdir = session.start()
    box = xd.plot_box(layout)

    xd.keys_to(server, window, "alt+f", "l")  # 加载K线(&L)
    opener = xd.find_window(server, "^Open$", TIMEOUT)
    xd.wait_for_focus(server, opener)
    xd.run_x(server, ["xdotool", "type", "--delay", "20", path])
    xd.press_keys(server, "Return")

    dialog = xd.find_window(server, CAPTION, TIMEOUT)
    xd.wait_for_focus(server, dialog)
    width, height = geometry(server, dialog)

    def point(du_x, du_y):
        return (du_x * width // DIALOG[0], du_y * height // DIALOG[1])

    def centre(rect):
        x, y, cx, cy = rect
        return point(x + cx // 2, y + cy // 2)

    left, top = point(PREVIEW[0], PREVIEW[1])
    right, bottom = point(PREVIEW[0] + PREVIEW[2], PREVIEW[1] + PREVIEW[3])
    preview = (left, top, right, bottom)

    def choose(rect, keys):
        """Opens the drop-down by a click, moves in its list by keys, takes the item by Return;
        answers the dialog's picture once its preview has changed."""
        before = xd.Picture(server, dialog)
        xd.click(server, dialog, centre(rect))
        time.sleep(0.5)  # the list opens and takes the keyboard
        xd.press_keys(server, *keys, "Return")
        return xd.wait_for_picture(server, dialog,
                                   lambda p: not xd.same_pixels(before, p, preview), TIMEOUT,
                                   "the preview to change")

    def close_into_the_opens_column():
        choose(CLOSE, ["Up"] * 3)  # from 第6列 to 第3列
        # OK is not offered: Return does nothing while one column has two uses.
        xd.press_keys(server, "Return")
        time.sleep(QUIET)
        assert xd.visible_windows(server, CAPTION) == [dialog], "OK was taken"

    def open_into_the_closes_column():
        choose(OPEN, ["Down"] * 3)  # from 第3列 to 第6列

    xd.check("the close drop-down by mouse and arrow keys changes the preview",
             close_into_the_opens_column)
    xd.check("the open drop-down too, and the preview shows bars again", open_into_the_closes_column)

    def ok_loads():
        xd.click(server, dialog, centre(OK))
        xd.wait_for(lambda: not xd.visible_windows(server, CAPTION), TIMEOUT, "the dialog to close")
        xd.click(server, window, layout.centre(xd.BTN_PLAY))
        xd.wait_for_picture(server, window, lambda p: xd.coloured_points(p, box), TIMEOUT,
                            "candles of the imported file")

    xd.check("OK loads the file the chosen way: candles on Play", ok_loads)
    settings = os.path.join(os.environ["XDG_CONFIG_HOME"], "orvanta", "orvanta.ini")
    with open(settings) as f:
        text = f.read()
    assert f"[KLineLayouts]\nFile1={path}\nLayout1=kline-layout=1 " in text, text
    assert " open=5 " in text and " close=2 " in text, text
    print("ok   the settings file keeps the layout for the path")
    xd.close_window(server, window)
    code = session.finish(program)
    assert code == 0, f"closing: the program exited with {code}"
    output = program.output()
    assert "a layout set by hand: 40 bars, 2021-03-01 to 2021-04-09" in output, output


def second_run(session, path):
    server = session.server
    program, window, layout, workdir = session.start(options=[path])
    box = xd.plot_box(layout)
    xd.click(server, window, layout.centre(xd.BTN_PLAY))
    xd.wait_for_picture(server, window, lambda p: xd.coloured_points(p, box), TIMEOUT,
                        "candles of the remembered layout")
    assert not xd.visible_windows(server, CAPTION), "the import dialog came again"
    print("ok   the same path on the command line uses the remembered layout")
    xd.close_window(server, window)
    code = session.finish(program)
    assert code == 0, f"closing: the program exited with {code}"


def main():
    args = xd.arguments(__doc__)
    with xd.Session(args, "orvanta-e2e-import-") as session:
        # Both runs share one settings file, as two starts of the program do.
        config = xd.temp_workdir("orvanta-e2e-import-config-")
        os.environ["XDG_CONFIG_HOME"] = config
        data = xd.temp_workdir("orvanta-e2e-import-data-")
        path = os.path.join(data, "wiener boerse.csv")
        write_unknown_header(path, 40)
        try:
            first_run(session, path)
            second_run(session, path)
        finally:
            for folder in (config, data):
                shutil.rmtree(folder, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
