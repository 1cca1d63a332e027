"""Drives the real orvanta program on an X server with real input events.

Used by the end-to-end test and by scripts/screenshot.sh. Needs Xvfb, xdotool and ImageMagick's
import. Controls are found from the window's own pixels: the chart's raised edge gives the dialog
units in pixels, and every other control sits at its dialog-unit position from there.
"""

import argparse
import datetime
import os
import shutil
import socket
import struct
import subprocess
import tempfile
import time

MAIN_CAPTION = "K线交易练习"

# Dialog-unit rectangles (x, y, width, height) of the main dialog's controls.
CHART = (7, 17, 365, 230)
BTN_LOAD = (279, 2, 45, 12)
BTN_PLAY = (327, 2, 45, 12)
BTN_BUY = (215, 270, 54, 16)
BTN_SELL = (283, 270, 54, 16)
GROUP_BOX = (7, 248, 365, 40)

# The chart's raised edge: outer bottom/right line and outer top/left line.
EDGE_DARK = (105, 105, 105)
EDGE_LIGHT = (227, 227, 227)


def mul_div(a, b, c):
    """Windows MulDiv for the non-negative values of dialog units: rounded a * b / c."""
    return (a * b + c // 2) // c


class XServer:
    """An Xvfb on the first free display, found by the server itself (-displayfd)."""

    def __init__(self, width=1280, height=1024):
        read_fd, write_fd = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{width}x{height}x24",
             "-nolisten", "tcp", "-dpi", "96"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        number = b""
        with os.fdopen(read_fd, "rb") as pipe:
            while not number.endswith(b"\n"):
                chunk = pipe.read(1)
                if not chunk:
                    break
                number += chunk
        if not number.strip():
            self.process.kill()
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number.decode().strip()

    def env(self, extra=None):
        env = dict(os.environ)
        env["DISPLAY"] = self.display
        env.pop("QT_QPA_PLATFORM", None)  # the real xcb platform, not offscreen
        env.pop("WAYLAND_DISPLAY", None)
        # The texts are Chinese unless a script asks for another language.
        for name in ("LC_ALL", "LC_MESSAGES", "LANGUAGE"):
            env.pop(name, None)
        env["LANG"] = "C.UTF-8"
        if extra:
            env.update(extra)
        return env

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


def run_x(server, args, **kwargs):
    return subprocess.run(args, env=server.env(), check=True, capture_output=True, text=True,
                          **kwargs).stdout


def visible_windows(server, caption):
    """Ids of the mapped windows whose caption matches (a regular expression)."""
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", caption],
                         env=server.env(), capture_output=True, text=True).stdout
    return [int(w) for w in out.split()]


def find_window(server, caption=MAIN_CAPTION, timeout=30.0):
    """The id of the first mapped window with this caption."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        found = visible_windows(server, caption)
        if found:
            return found[0]
        time.sleep(0.1)
    raise RuntimeError(f"no window called {caption!r} appeared within {timeout} s")


def window_size(server, window):
    out = run_x(server, ["xdotool", "getwindowgeometry", "--shell", str(window)])
    values = dict(line.split("=", 1) for line in out.split() if "=" in line)
    return int(values["WIDTH"]), int(values["HEIGHT"])


class Picture:
    """The window's pixels as 8-bit RGB rows."""

    def __init__(self, server, window):
        self.width, self.height = window_size(server, window)
        data = subprocess.run(["import", "-window", str(window), "-depth", "8", "rgb:-"],
                              env=server.env(), check=True, capture_output=True).stdout
        if len(data) != self.width * self.height * 3:
            raise RuntimeError(f"import gave {len(data)} bytes for {self.width}x{self.height}")
        self.data = data

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def longest_run(self, y, colour):
        """(start, length) of the longest run of this colour in row y."""
        best = (0, 0)
        start = None
        for x in range(self.width + 1):
            inside = x < self.width and self.pixel(x, y) == colour
            if inside and start is None:
                start = x
            elif not inside and start is not None:
                if x - start > best[1]:
                    best = (start, x - start)
                start = None
        return best


class Layout:
    """Dialog units to window pixels, measured from the chart's edge in a picture."""

    def __init__(self, picture):
        # The chart's bottom edge: the longest dark line in the window.
        bottom_y, left, length = -1, 0, 0
        for y in range(picture.height):
            start, run = picture.longest_run(y, EDGE_DARK)
            if run > length:
                bottom_y, left, length = y, start, run
        if length < picture.width // 2:
            raise RuntimeError("the chart's edge was not found in the window")
        top_y = bottom_y
        while top_y > 0 and picture.pixel(left, top_y - 1) == EDGE_LIGHT:
            top_y -= 1
        chart_left, chart_right = left, left + length
        chart_top, chart_bottom = top_y, bottom_y + 1

        self.unit_x = next((a for a in range(1, 64)
                            if mul_div(CHART[0], a, 4) == chart_left
                            and mul_div(CHART[0] + CHART[2], a, 4) == chart_right), None)
        self.unit_y, self.top = None, 0
        for h in range(1, 128):
            top = chart_top - mul_div(CHART[1], h, 8)
            if top >= 0 and top + mul_div(CHART[1] + CHART[3], h, 8) == chart_bottom:
                self.unit_y, self.top = h, top
                break
        if self.unit_x is None or self.unit_y is None:
            raise RuntimeError(f"chart at x {chart_left}..{chart_right}, y {chart_top}..{chart_bottom}"
                               " fits no dialog-unit size")
        self.chart = (chart_left, chart_top, chart_right, chart_bottom)

    def point(self, du_x, du_y):
        return (mul_div(int(du_x * 2), self.unit_x, 8),
                self.top + mul_div(int(du_y * 2), self.unit_y, 16))

    def centre(self, rect):
        x, y, cx, cy = rect
        return self.point(x + cx / 2, y + cy / 2)


def click(server, window, point, button=1):
    x, y = point
    run_x(server, ["xdotool", "mousemove", "--window", str(window), str(x), str(y),
                   "sleep", "0.1", "click", str(button)])


def press_and_move(server, window, start, end, button=1, steps=8):
    """Press at start and move to end in steps, keeping the button down."""
    args = ["xdotool", "mousemove", "--window", str(window), str(start[0]), str(start[1]),
            "sleep", "0.1", "mousedown", str(button)]
    for i in range(1, steps + 1):
        x = start[0] + (end[0] - start[0]) * i // steps
        y = start[1] + (end[1] - start[1]) * i // steps
        args += ["sleep", "0.03", "mousemove", "--window", str(window), str(x), str(y)]
    run_x(server, args)


def release(server, button=1):
    run_x(server, ["xdotool", "sleep", "0.1", "mouseup", str(button)])


def drag(server, window, start, end, button=1, steps=8):
    """Press at start, move to end in steps, release: what a hand on a mouse does."""
    press_and_move(server, window, start, end, button, steps)
    release(server, button)


def key(server, window, *keys):
    run_x(server, ["xdotool", "key", "--window", str(window), *keys])


def wait_for_focus(server, window, timeout=30.0):
    """Waits until the window holds the keyboard focus, as a new dialog does once it is active."""
    def focused():
        out = subprocess.run(["xdotool", "getwindowfocus"], env=server.env(), capture_output=True,
                             text=True).stdout.split()
        return out and int(out[0]) == window
    wait_for(focused, timeout, f"the focus in window {window:#x}")


def press_keys(server, *keys):
    """Keys as the keyboard gives them, to the window that has the focus."""
    run_x(server, ["xdotool", "key", "--delay", "50", *keys])


def keys_to(server, window, *keys):
    """Keys typed into this window once it has the focus."""
    wait_for_focus(server, window)
    press_keys(server, *keys)


def close_window(server, window):
    """Asks the window to close the way a window manager's close box does (WM_DELETE_WINDOW)."""
    number = server.display.lstrip(":").split(".")[0]
    with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as conn:
        conn.connect(f"/tmp/.X11-unix/X{number}")

        def read(n):
            data = b""
            while len(data) < n:
                chunk = conn.recv(n - len(data))
                if not chunk:
                    raise RuntimeError("X server closed the connection")
                data += chunk
            return data

        conn.sendall(struct.pack("<BxHHHHxx", 0x6C, 11, 0, 0, 0))
        head = read(8)
        if head[0] != 1:
            raise RuntimeError("X server refused the connection")
        read(struct.unpack("<H", head[6:8])[0] * 4)

        def intern(name):
            raw = name.encode()
            pad = (4 - len(raw) % 4) % 4
            conn.sendall(struct.pack("<BBHHxx", 16, 0, 2 + (len(raw) + pad) // 4, len(raw))
                         + raw + b"\0" * pad)
            reply = read(32)
            if reply[0] != 1:
                raise RuntimeError(f"InternAtom {name} failed")
            return struct.unpack("<I", reply[8:12])[0]

        protocols = intern("WM_PROTOCOLS")
        delete = intern("WM_DELETE_WINDOW")
        event = struct.pack("<BBHII5I", 33, 32, 0, window, protocols, delete, 0, 0, 0, 0)
        conn.sendall(struct.pack("<BBHII", 25, 0, 11, window, 0) + event)
        # A round trip, so the event has been delivered when this returns.
        conn.sendall(struct.pack("<BxH", 43, 1))
        reply = read(32)
        if reply[0] != 1:
            raise RuntimeError("the close request was refused by the X server")


class Program:
    """The orvanta program started in its own working directory."""

    def __init__(self, server, binary, args, workdir, extra_env=None):
        self.workdir = workdir
        self.stderr = open(os.path.join(workdir, "orvanta.stderr"), "w+b")
        extra_env = dict(extra_env or {})
        runtime = os.path.join(workdir, "xdg-runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        extra_env.setdefault("XDG_RUNTIME_DIR", runtime)
        # The settings file of the run, never the user's, unless the script chose one.
        if "XDG_CONFIG_HOME" not in os.environ:
            extra_env.setdefault("XDG_CONFIG_HOME", os.path.join(workdir, "config"))
        self.process = subprocess.Popen([binary, *args], cwd=workdir, env=server.env(extra_env),
                                        stdout=self.stderr, stderr=subprocess.STDOUT)

    def wait(self, timeout):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            raise

    def output(self):
        self.stderr.flush()
        self.stderr.seek(0)
        return self.stderr.read().decode(errors="replace")

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.stderr.close()


def trade_log_lines(workdir):
    """Every line of the day's trade logs in the directory, without their time stamps."""
    lines = []
    for name in sorted(os.listdir(workdir)):
        if name.endswith("TradeDetails.log"):
            with open(os.path.join(workdir, name), "rb") as log:
                for raw in log.read().decode().split("\r\n"):
                    if raw:
                        lines.append(raw.split(": ", 1)[1] if ": " in raw else raw)
    return lines


def trade_log_files(workdir):
    return [os.path.join(workdir, n) for n in sorted(os.listdir(workdir))
            if n.endswith("TradeDetails.log")]


def wait_for(predicate, timeout, what):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(0.02)
    raise RuntimeError(f"timed out after {timeout} s waiting for {what}")


def temp_workdir(prefix):
    return tempfile.mkdtemp(prefix=prefix)


def program_windows(server, process):
    """Ids of the program's visible top-level windows, pop-up menus included."""
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(process.pid), ""],
                         env=server.env(), capture_output=True, text=True).stdout
    return [int(w) for w in out.split()]


def is_tooltip(server, window):
    out = subprocess.run(["xprop", "-id", str(window), "_NET_WM_WINDOW_TYPE"], env=server.env(),
                         capture_output=True, text=True).stdout
    return "TOOLTIP" in out


def popup(server, program, known, timeout=30.0):
    """The pop-up window (a menu) that appears beside the known windows; a tooltip the mouse
    happens to raise on the way is not it."""
    def found():
        new = [w for w in program_windows(server, program.process)
               if w not in known and not is_tooltip(server, w)]
        return new[0] if new else None
    return wait_for(found, timeout, "a pop-up menu")


def wait_for_layout(server, window, timeout=30.0):
    """The layout, once the window has been painted with its chart."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            return Layout(Picture(server, window))
        except (RuntimeError, subprocess.CalledProcessError):
            if time.monotonic() > deadline:
                raise
            time.sleep(0.1)


def wait_for_picture(server, window, predicate, timeout, what):
    """The first picture of the window for which predicate holds."""
    def attempt():
        picture = Picture(server, window)
        return picture if predicate(picture) else None
    return wait_for(attempt, timeout, what)


def plot_box(layout):
    """The inside of the chart, clear of its edge and axes: a box where only candles, grid
    lines and the background are drawn."""
    left, top, right, bottom = layout.chart
    width, height = right - left, bottom - top
    return (left + width * 2 // 10, top + height // 10, right - width // 20, bottom - height * 2 // 10)


def coloured_points(picture, box):
    """Every pixel in the box that is not a shade of grey: the candles' lines and bodies."""
    left, top, right, bottom = box
    points = []
    for y in range(top, bottom):
        for x in range(left, right):
            r, g, b = picture.pixel(x, y)
            if not r == g == b:
                points.append((x, y, (r, g, b)))
    return points


def shift_match(before, after, box, dx, dy, points=None):
    """Share of the candle pixels of before that after shows moved by (dx, dy)."""
    left, top, right, bottom = box
    points = coloured_points(before, box) if points is None else points
    moved = [(x, y, c) for x, y, c in points if left <= x + dx < right and top <= y + dy < bottom]
    if not moved:
        return 0.0
    return sum(after.pixel(x + dx, y + dy) == c for x, y, c in moved) / len(moved)


def best_shift(before, after, box, candidates):
    """The (dx, dy) among candidates that moves before's candles onto after's best."""
    points = coloured_points(before, box)
    return max(candidates, key=lambda d: shift_match(before, after, box, *d, points=points))


def around(point, reach=2):
    return [(point[0] + i, point[1] + j) for i in range(-reach, reach + 1)
            for j in range(-reach, reach + 1)]


def same_pixels(a, b, box):
    left, top, right, bottom = box
    return all(a.pixel(x, y) == b.pixel(x, y) for y in range(top, bottom) for x in range(left, right))


def write_bars(path, count, first=datetime.date(2021, 3, 1), close_of=lambda i: 100.0 + 0.25 * i):
    """A K-line file of daily bars whose closes tell which bar they are."""
    with open(path, "w") as out:
        for i in range(count):
            c = close_of(i)
            date = first + datetime.timedelta(days=i)
            out.write(f"{date:%Y-%m-%d},{c - 0.5:.2f},{c + 1.0:.2f},{c - 1.0:.2f},{c:.2f},1000\n")


def arguments(doc):
    parser = argparse.ArgumentParser(description=doc)
    parser.add_argument("program")
    parser.add_argument("--lsan-suppressions")
    parser.add_argument("--keep", action="store_true", help="keep the working directories")
    args = parser.parse_args()
    args.program = os.path.abspath(args.program)
    return args


class Session:
    """One X server for a script, and the program started on it as often as the script needs,
    each run in a fresh working directory. Use as a context manager."""

    def __init__(self, args, prefix):
        self.args = args
        self.prefix = prefix
        self.server = None
        self.runs = []
        self.ok = False

    def __enter__(self):
        self.server = XServer()
        return self

    def env(self):
        env = {}
        if self.args.lsan_suppressions:
            env["LSAN_OPTIONS"] = (f"suppressions={os.path.abspath(self.args.lsan_suppressions)}"
                                   ":print_suppressions=0")
        return env

    def start(self, bars=None, file_arg=True, options=(), extra_env=None, caption=MAIN_CAPTION):
        """Starts the program, with a K-line file of this many bars on its command line after
        the options, and answers (program, window, layout, workdir) once its window is painted."""
        workdir = temp_workdir(self.prefix)
        args = list(options)
        if bars is not None:
            fixture = os.path.join(workdir, "bars.csv")
            write_bars(fixture, bars)
            if file_arg:
                args.append(fixture)
        program = Program(self.server, self.args.program, args, workdir,
                          {**self.env(), **(extra_env or {})})
        self.runs.append(program)
        window = find_window(self.server, caption)
        layout = wait_for_layout(self.server, window)
        return program, window, layout, workdir

    def finish(self, program, timeout=30):
        """Waits for the program to end and answers its exit code; anything it printed is shown."""
        code = program.wait(timeout)
        output = program.output()
        if output.strip():
            print("program output:\n" + output)
        return code

    def __exit__(self, kind, value, trace):
        for program in self.runs:
            if kind is not None and program.process.poll() is None:
                print(f"program still running in {program.workdir}; its output:\n{program.output()}")
            program.stop()
        self.server.stop()
        for program in self.runs:
            if kind is None and not self.args.keep:
                shutil.rmtree(program.workdir, ignore_errors=True)
            else:
                print(f"working directory kept: {program.workdir}")
        return False


def check(name, fn):
    """Runs one check of a script and says so; the first failure ends the script."""
    started = time.monotonic()
    fn()
    print(f"ok   {name} ({time.monotonic() - started:.1f} s)", flush=True)
