#!/usr/bin/env python3
"""The menus and dialogs of the real program under Xvfb, by mouse and by keyboard.

First run, with a K-line file on the command line: File menu by its mnemonics (Play, Stop, Play
again), Buy by mouse and again by Return on the focused button, the settings dialog from its menu
by mouse with typing, Escape, a refused 9999 s and Return on 5 s, the About box from its menu by mouse (Return) and from the
dialog's context menu by its mnemonic (Escape), a right-button drag on the dialog's background
that ends on "Close" (the program goes on), and File, Exit by its mnemonic, confirmed because
trades were made (exit code 0).
Second run, without a file: the file dialog by mnemonic, left with Escape, then by mouse from the
File menu, a path typed and Return; Play shows the candles; Escape leaves the program running,
and closing the window, without trades, ends it with 0.
The trade log and the chart's pixels tell what happened.
"""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import orvanta_xdriver as xd  # noqa: E402

TIMEOUT = 30  # generous: the machine may be busy
QUIET = 3.0  # long enough for three ticks of the default period, to show that none came
SETTINGS_CAPTION = "设置"
ABOUT_CAPTION = "关于 Orvanta"
SETTINGS_SIZE = (219, 180)  # dialog units of the settings dialog
SETTINGS_EDIT = (47, 19, 23, 9)
BACKGROUND = (350, 278)  # inside the group box, right of Sell
MENU_TEXT_DARK = 128  # menu titles are dark text on a light bar


def menu_titles(picture, layout):
    """Centres of the menu bar's titles, left to right, from the columns holding dark text."""
    columns = [any(max(picture.pixel(x, y)) < MENU_TEXT_DARK for y in range(2, layout.top - 2))
               for x in range(picture.width)]
    titles, start, gap = [], None, 0
    for x, dark in enumerate(columns + [False] * 9):
        if dark:
            start = x if start is None else start
            end, gap = x, 0
        elif start is not None:
            gap += 1
            if gap > 8:
                titles.append(((start + end) // 2, layout.top // 2))
                start = None
    return titles


def window_gone(server, caption):
    return xd.wait_for(lambda: not xd.visible_windows(server, caption), TIMEOUT,
                       f"the window {caption!r} to close")


def geometry(server, window):
    out = xd.run_x(server, ["xdotool", "getwindowgeometry", "--shell", str(window)])
    values = dict(line.split("=", 1) for line in out.split() if "=" in line)
    return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


def click_screen(server, point, button=1):
    xd.run_x(server, ["xdotool", "mousemove", str(point[0]), str(point[1]), "sleep", "0.1",
                      "click", str(button)])


def first_run(session):
    server = session.server
    program, window, layout, workdir = session.start(bars=300)
    box = xd.plot_box(layout)
    known = xd.program_windows(server, program.process)
    titles = menu_titles(xd.Picture(server, window), layout)
    # 文件, 属性, 交易, 关于, 指标
    assert len(titles) == 5, f"menu titles at {titles}"

    def log():
        return xd.trade_log_lines(workdir)

    def more_lines_than(count, what):
        return xd.wait_for(lambda: len(log()) > count, TIMEOUT, what)

    def no_tick_for_a_while(what):
        count = len(log())
        time.sleep(QUIET)
        assert len(log()) == count, f"{what}: the log grew:\n" + "\n".join(log()[count:])

    def open_settings_by_mouse():
        xd.click(server, window, titles[1])
        menu = xd.popup(server, program, known)
        x, y, width, _ = geometry(server, menu)
        click_screen(server, (x + width // 2, y + 14))  # the first item, 属性设置
        dialog = xd.find_window(server, SETTINGS_CAPTION, TIMEOUT)
        xd.wait_for_focus(server, dialog)
        click_settings_edit(dialog)
        return dialog

    def click_settings_edit(dialog):
        _, _, width, height = geometry(server, dialog)
        left, top, cx, cy = SETTINGS_EDIT
        edit = ((left * 2 + cx) * width // (2 * SETTINGS_SIZE[0]),
                (top * 2 + cy) * height // (2 * SETTINGS_SIZE[1]))
        xd.click(server, dialog, edit)

    def play_and_trade_by_keys_and_mouse():
        xd.keys_to(server, window, "alt+f", "p")  # 播放K线(&P)
        shown = xd.wait_for_picture(server, window, lambda p: xd.coloured_points(p, box), TIMEOUT,
                                    "candles after File, Play")
        xd.wait_for_picture(server, window, lambda p: not xd.same_pixels(shown, p, box), TIMEOUT,
                            "a replay tick")
        xd.click(server, window, layout.centre(xd.BTN_BUY))
        xd.wait_for(lambda: len(log()) >= 2, TIMEOUT, "the Buy lines")
        xd.keys_to(server, window, "Return")  # the focused button is Buy
        xd.wait_for(lambda: sum(line.startswith("Buy 1 @ ") for line in log()) == 4, TIMEOUT,
                    "the second Buy by Return")
        assert any(", current position:2, " in line for line in log()), "\n".join(log())

    def stop_and_play_by_keys():
        left, top = layout.point(xd.BTN_PLAY[0], xd.BTN_PLAY[1])
        right, bottom = layout.point(xd.BTN_PLAY[0] + xd.BTN_PLAY[2], xd.BTN_PLAY[1] + xd.BTN_PLAY[3])
        playing = xd.Picture(server, window)
        xd.keys_to(server, window, "alt+f", "s")  # 停止播放(&S)
        # Once the button reads Play again the replay has stopped.
        xd.wait_for_picture(server, window,
                            lambda p: not xd.same_pixels(playing, p, (left, top, right, bottom)),
                            TIMEOUT, "the play button's text to change")
        no_tick_for_a_while("stopped")
        xd.keys_to(server, window, "alt+f", "p")
        more_lines_than(len(log()), "a mark after playing again")

    def settings_escape_keeps_and_return_takes_the_period():
        dialog = open_settings_by_mouse()
        xd.run_x(server, ["xdotool", "key", "ctrl+a", "type", "9999"])
        xd.press_keys(server, "Escape")
        window_gone(server, SETTINGS_CAPTION)
        more_lines_than(len(log()) + 1, "marks after the cancelled settings")

        dialog = open_settings_by_mouse()
        xd.run_x(server, ["xdotool", "key", "ctrl+a", "type", "9999"])
        xd.press_keys(server, "Return")
        # Beyond the slowest step: refused in a box captioned like the dialog, which stays.
        refusal = xd.wait_for(lambda: [w for w in xd.visible_windows(server, SETTINGS_CAPTION)
                                       if w != dialog], TIMEOUT, "the refusal of 9999 s")[0]
        xd.keys_to(server, refusal, "Return")
        xd.wait_for(lambda: xd.visible_windows(server, SETTINGS_CAPTION) == [dialog], TIMEOUT,
                    "the settings dialog alone again")
        click_settings_edit(dialog)
        xd.run_x(server, ["xdotool", "key", "ctrl+a", "type", "5"])
        xd.press_keys(server, "Return")
        window_gone(server, SETTINGS_CAPTION)
        no_tick_for_a_while("a period of 5 s")

    def about_by_menu_and_by_context_menu():
        xd.click(server, window, titles[3])
        menu = xd.popup(server, program, known)
        x, y, width, height = geometry(server, menu)
        click_screen(server, (x + width // 2, y + height // 2))
        about = xd.find_window(server, ABOUT_CAPTION, TIMEOUT)
        xd.wait_for_focus(server, about)
        xd.press_keys(server, "Return")
        window_gone(server, ABOUT_CAPTION)

        xd.click(server, window, layout.point(*BACKGROUND), button=3)
        xd.popup(server, program, known)
        xd.press_keys(server, "a")  # 关于 Orvanta(&A)...
        about = xd.find_window(server, ABOUT_CAPTION, TIMEOUT)
        xd.wait_for_focus(server, about)
        xd.press_keys(server, "Escape")
        window_gone(server, ABOUT_CAPTION)

    def right_drag_onto_close_keeps_running():
        start = layout.point(*BACKGROUND)
        xd.run_x(server, ["xdotool", "mousemove", "--window", str(window), str(start[0]),
                          str(start[1]), "sleep", "0.1", "mousedown", "3"])
        menu = xd.popup(server, program, known)
        x, y, width, _ = geometry(server, menu)
        xd.run_x(server, ["xdotool", "mousemove", str(x + width // 2), str(y + 8), "sleep", "0.2",
                          "mousemove", str(x + width // 2), str(y + 12), "sleep", "0.2",
                          "mouseup", "3", "sleep", "0.5"])
        assert program.process.poll() is None, "a right-button drag ended the program"
        assert menu in xd.program_windows(server, program.process), "the menu closed"
        xd.press_keys(server, "Escape")
        xd.wait_for(lambda: menu not in xd.program_windows(server, program.process), TIMEOUT,
                    "the menu to close")

    xd.check("File menu by mnemonics, Buy by mouse and by Return", play_and_trade_by_keys_and_mouse)
    xd.check("Stop and Play by mnemonics", stop_and_play_by_keys)
    xd.check("settings: typing, Escape, Return", settings_escape_keeps_and_return_takes_the_period)
    xd.check("About by menu (Return) and by context menu (Escape)", about_by_menu_and_by_context_menu)
    xd.check("right drag onto Close in the context menu", right_drag_onto_close_keeps_running)

    xd.keys_to(server, window, "alt+f", "q")  # 退出(&Q)
    # The question is captioned like the main window.
    question = xd.wait_for(lambda: [w for w in xd.visible_windows(server, xd.MAIN_CAPTION)
                                    if w != window], TIMEOUT, "the question before exit")[0]
    xd.keys_to(server, question, "alt+y")
    code = session.finish(program)
    assert code == 0, f"File, Exit: the program exited with {code}"
    print("ok   File, Exit by mnemonic")


def second_run(session):
    server = session.server
    program, window, layout, workdir = session.start(bars=300, file_arg=False)
    box = xd.plot_box(layout)
    fixture = os.path.join(workdir, "bars.csv")
    known = xd.program_windows(server, program.process)
    titles = menu_titles(xd.Picture(server, window), layout)

    def file_dialog_escape_then_mouse_and_return():
        xd.keys_to(server, window, "alt+f", "l")  # 加载K线(&L)
        dialog = xd.find_window(server, "^Open$", TIMEOUT)
        xd.wait_for_focus(server, dialog)
        xd.press_keys(server, "Escape")
        window_gone(server, "^Open$")

        xd.click(server, window, titles[0])
        menu = xd.popup(server, program, known)
        x, y, width, _ = geometry(server, menu)
        click_screen(server, (x + width // 2, y + 14))  # the first item, 加载K线(&L)
        dialog = xd.find_window(server, "^Open$", TIMEOUT)
        xd.wait_for_focus(server, dialog)
        xd.run_x(server, ["xdotool", "type", "--delay", "20", fixture])
        xd.press_keys(server, "Return")
        window_gone(server, "^Open$")
        xd.click(server, window, layout.centre(xd.BTN_PLAY))
        xd.wait_for_picture(server, window, lambda p: xd.coloured_points(p, box), TIMEOUT,
                            "candles of the loaded file")

    xd.check("file dialog: Escape, then by mouse with a typed path and Return",
             file_dialog_escape_then_mouse_and_return)
    xd.keys_to(server, window, "Escape")
    time.sleep(1.0)
    assert program.process.poll() is None, "Escape ended the program"
    xd.close_window(server, window)
    code = session.finish(program)
    assert code == 0, f"closing: the program exited with {code}"
    print("ok   Escape keeps the program, closing ends it")


def main():
    args = xd.arguments(__doc__)
    with xd.Session(args, "orvanta-e2e-dialogs-") as session:
        first_run(session)
        second_run(session)
    return 0


if __name__ == "__main__":
    sys.exit(main())
