#!/usr/bin/env python3
"""The window's language on the real program under Xvfb.

With LANG=en_US.UTF-8 the window comes up with the English caption (found by its X window name),
and its buttons show exactly the pixels that `--lang en` gives them. Without an English locale
the caption is the Chinese one and the Load and Play buttons look different, while Buy and Sell,
the same words in both, are pixel for pixel the same. Each run ends through the File menu's
mnemonic q with exit code 0.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import orvanta_xdriver as xd  # noqa: E402

ENGLISH_CAPTION = "K-line Trading Practice"
BUTTONS = {"Load": xd.BTN_LOAD, "Play": xd.BTN_PLAY, "Buy": xd.BTN_BUY, "Sell": xd.BTN_SELL}


def button_pixels(picture, layout, rect):
    x, y, cx, cy = rect
    left, top = layout.point(x, y)
    right, bottom = layout.point(x + cx, y + cy)
    return [picture.pixel(px, py) for py in range(top, bottom) for px in range(left, right)]


def run(session, caption, options=(), extra_env=None):
    """The buttons' pixels of one run, which then ends through the menu."""
    program, window, layout, _ = session.start(options=options, extra_env=extra_env,
                                               caption=caption)
    picture = xd.Picture(session.server, window)
    shown = {name: button_pixels(picture, layout, rect) for name, rect in BUTTONS.items()}
    xd.keys_to(session.server, window, "alt+f", "q")
    code = session.finish(program)
    assert code == 0, f"exit code {code}"
    return shown


def main():
    args = xd.arguments(__doc__)
    with xd.Session(args, "orvanta-e2e-language-") as session:
        found = {}

        def english_locale():
            found["locale"] = run(session, ENGLISH_CAPTION, extra_env={"LANG": "en_US.UTF-8"})

        def english_option():
            found["option"] = run(session, ENGLISH_CAPTION, options=["--lang", "en"])
            for name in BUTTONS:
                assert found["option"][name] == found["locale"][name], \
                    f"the {name} button differs between LANG=en_US.UTF-8 and --lang en"

        def chinese_default():
            found["chinese"] = run(session, xd.MAIN_CAPTION)
            for name in ("Load", "Play"):
                assert found["chinese"][name] != found["locale"][name], \
                    f"the {name} button shows the same in Chinese and English"
            for name in ("Buy", "Sell"):
                assert found["chinese"][name] == found["locale"][name], \
                    f"the {name} button should read the same in both languages"

        xd.check("LANG=en_US.UTF-8: English caption and buttons", english_locale)
        xd.check("--lang en: the same buttons", english_option)
        xd.check("no English locale: Chinese caption, other Load and Play", chinese_default)
    return 0


if __name__ == "__main__":
    sys.exit(main())
