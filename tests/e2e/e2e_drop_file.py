#!/usr/bin/env python3
"""A K-line file dragged from outside and dropped on the main window of the real program under
Xvfb loads as one chosen with the load button does.

The program starts without a file: Play shows no candles. The script then drags as a file
manager does (XDND, the script being the drag source): a drag of text is refused, a drag of the
file's address is taken over the chart, and the drop ends as accepted. Play then draws candles
of the dropped file. The program ends from its File menu with 0.
"""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import orvanta_xdnd as xdnd  # noqa: E402
import orvanta_xdriver as xd  # noqa: E402

TIMEOUT = 20


def main():
    args = xd.arguments(__doc__)
    with xd.Session(args, "orvanta-e2e-drop-") as session:
        server = session.server
        os.environ["XDG_CONFIG_HOME"] = xd.temp_workdir("orvanta-e2e-config-")
        program, window, layout, workdir = session.start()
        box = xd.plot_box(layout)
        left, top, right, bottom = layout.chart
        over_chart = xdnd.root_point(server.display, window, (left + right) // 2,
                                     (top + bottom) // 2)
        # A name that must be written as %20 in the address and read back as a space.
        path = os.path.join(workdir, "daily bars.csv")
        xd.write_bars(path, 120)

        def nothing_loaded():
            xd.click(server, window, layout.centre(xd.BTN_PLAY))
            time.sleep(1.5)
            assert not xd.coloured_points(xd.Picture(server, window), box), \
                "candles before anything was loaded"

        xd.check("without a file Play shows no candles", nothing_loaded)

        def text_refused():
            source = xdnd.DragSource(server.display, {"text/plain": path.encode()})
            try:
                source.enter(*over_chart)
                assert source.target == window, \
                    f"the drop would go to {source.target:#x}, not the main window {window:#x}"
                assert source.version >= 3, f"XdndAware version {source.version}"
                assert not source.move(*over_chart), "a drag of text was taken"
                source.leave()
            finally:
                source.close()

        xd.check("a drag of text is refused", text_refused)

        def file_dropped():
            source = xdnd.DragSource(server.display, {"text/uri-list": xdnd.uri_list(path)})
            try:
                source.enter(*over_chart)
                taken = False
                for _ in range(20):  # the first positions may come before the window is ready
                    taken = source.move(*over_chart)
                    if taken:
                        break
                    time.sleep(0.1)
                assert taken, "the window never took the drag of a file"
                assert source.drop(), "the drop ended as refused"
            finally:
                source.close()

        xd.check("a file dragged over the chart is taken and dropped", file_dropped)

        def candles_of_the_file():
            xd.click(server, window, layout.centre(xd.BTN_PLAY))
            xd.wait_for_picture(server, window, lambda p: xd.coloured_points(p, box), TIMEOUT,
                                "candles after Play")
            xd.click(server, window, layout.centre(xd.BTN_PLAY))

        xd.check("Play shows the dropped file's candles", candles_of_the_file)
        xd.keys_to(server, window, "alt+f", "q")  # 退出(&Q); no trades, so no question
        code = session.finish(program)
        assert code == 0, f"the program exited with {code}"
    return 0


if __name__ == "__main__":
    sys.exit(main())
