"""Drags files onto a window of the X server the way a file manager does, by the XDND protocol.

The script itself is the drag source: it makes a window of its own, owns the XdndSelection,
sends XdndEnter, XdndPosition and XdndDrop to the window under the drop point and hands over the
data when the target asks for it. The X protocol is spoken directly over the server's socket, so
no X library for Python is needed.
"""

import select
import socket
import struct
import time
import urllib.parse

XDND_VERSION = 5

# Requests
CREATE_WINDOW = 1
DESTROY_WINDOW = 4
INTERN_ATOM = 16
CHANGE_PROPERTY = 18
GET_PROPERTY = 20
SET_SELECTION_OWNER = 22
SEND_EVENT = 25
TRANSLATE_COORDINATES = 40
GET_INPUT_FOCUS = 43

# Events
SELECTION_REQUEST = 30
SELECTION_NOTIFY = 31
CLIENT_MESSAGE = 33

ATOM = 4  # the predefined ATOM type
CW_OVERRIDE_REDIRECT = 0x200


def pad4(n):
    return (4 - n % 4) % 4


class XConnection:
    """One client connection: requests, their replies, and the events that arrive meanwhile."""

    def __init__(self, display):
        number = display.lstrip(":").split(".")[0]
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(f"/tmp/.X11-unix/X{number}")
        self.sequence = 0
        self.events = []
        self.atoms = {}
        self.sock.sendall(struct.pack("<BxHHHHxx", 0x6C, 11, 0, 0, 0))
        head = self._read(8)
        if head[0] != 1:
            raise RuntimeError("the X server refused the connection")
        setup = self._read(struct.unpack("<H", head[6:8])[0] * 4)
        self.id_base, self.id_mask = struct.unpack("<II", setup[4:12])
        vendor_length = struct.unpack("<H", setup[16:18])[0]
        formats = setup[21]
        screen = 32 + vendor_length + pad4(vendor_length) + 8 * formats
        self.root = struct.unpack("<I", setup[screen:screen + 4])[0]
        self.next_id = 1

    def close(self):
        self.sock.close()

    def _read(self, n):
        data = b""
        while len(data) < n:
            chunk = self.sock.recv(n - len(data))
            if not chunk:
                raise RuntimeError("the X server closed the connection")
            data += chunk
        return data

    def _read_packet(self):
        """The next reply, error or event: (kind, sequence, bytes)."""
        packet = self._read(32)
        if packet[0] == 1:
            packet += self._read(struct.unpack("<I", packet[4:8])[0] * 4)
        return packet[0] & 0x7F, struct.unpack("<H", packet[2:4])[0], packet

    def new_id(self):
        value = self.id_base | (self.next_id & self.id_mask)
        self.next_id += 1
        return value

    def send(self, opcode, data1, body):
        """Sends a request (body without its four-byte header); answers its sequence number."""
        length = 1 + (len(body) + pad4(len(body))) // 4
        self.sock.sendall(struct.pack("<BBH", opcode, data1, length) + body
                          + b"\0" * pad4(len(body)))
        self.sequence = (self.sequence + 1) & 0xFFFF
        return self.sequence

    def request(self, opcode, data1, body):
        """Sends a request that has a reply and waits for it; events meanwhile are kept."""
        sequence = self.send(opcode, data1, body)
        while True:
            kind, number, packet = self._read_packet()
            if kind == 0 and number == sequence:
                raise RuntimeError(f"X error {packet[1]} for request {opcode}")
            if kind == 1 and number == sequence:
                return packet
            if kind not in (0, 1):
                self.events.append(packet)

    def sync(self):
        """A round trip: every request sent so far has been handled."""
        self.request(GET_INPUT_FOCUS, 0, b"")

    def intern(self, name):
        if name not in self.atoms:
            raw = name.encode()
            reply = self.request(INTERN_ATOM, 0, struct.pack("<Hxx", len(raw)) + raw
                                 + b"\0" * pad4(len(raw)))
            self.atoms[name] = struct.unpack("<I", reply[8:12])[0]
        return self.atoms[name]

    def create_window(self, x, y, width, height):
        window = self.new_id()
        self.send(CREATE_WINDOW, 0, struct.pack("<IIhhHHHHII", window, self.root, x, y, width,
                                                height, 0, 1, 0, CW_OVERRIDE_REDIRECT)
                  + struct.pack("<I", 1))
        return window

    def destroy_window(self, window):
        self.send(DESTROY_WINDOW, 0, struct.pack("<I", window))

    def set_selection_owner(self, owner, selection):
        self.send(SET_SELECTION_OWNER, 0, struct.pack("<III", owner, selection, 0))

    def change_property(self, window, prop, kind, fmt, data):
        units = len(data) // (fmt // 8)
        self.send(CHANGE_PROPERTY, 0, struct.pack("<IIIBxxxI", window, prop, kind, fmt, units)
                  + data)

    def property_atoms(self, window, prop):
        """The 32-bit values of a property, empty when the window has none."""
        reply = self.request(GET_PROPERTY, 0, struct.pack("<IIIII", window, prop, 0, 0, 64))
        if reply[1] != 32:
            return []
        count = struct.unpack("<I", reply[16:20])[0]
        return list(struct.unpack(f"<{count}I", reply[32:32 + 4 * count]))

    def translate(self, src, dst, x, y):
        """(x, y) of src in dst's coordinates, and dst's child that holds the point (0: none)."""
        reply = self.request(TRANSLATE_COORDINATES, 0, struct.pack("<IIhh", src, dst, x, y))
        child = struct.unpack("<I", reply[8:12])[0]
        dx, dy = struct.unpack("<hh", reply[12:16])
        return dx, dy, child

    def send_event(self, destination, event):
        self.send(SEND_EVENT, 0, struct.pack("<II", destination, 0) + event)

    def client_message(self, destination, kind, data):
        values = list(data) + [0] * (5 - len(data))
        self.send_event(destination, struct.pack("<BBHII5I", CLIENT_MESSAGE, 32, 0, destination,
                                                 self.intern(kind), *values))

    def next_event(self, timeout):
        """The next event, or None after timeout seconds."""
        if self.events:
            return self.events.pop(0)
        ready, _, _ = select.select([self.sock], [], [], timeout)
        if not ready:
            return None
        kind, _, packet = self._read_packet()
        if kind == 0:
            raise RuntimeError(f"X error {packet[1]} for request {packet[10]}")
        return packet


class DragSource:
    """A drag of data offered under MIME types, from a window of this connection."""

    def __init__(self, display, offers):
        """offers: MIME type -> bytes. At most three types, so they fit into XdndEnter."""
        self.x = XConnection(display)
        self.offers = offers
        self.types = [self.x.intern(t) for t in offers]
        self.window = self.x.create_window(-10, -10, 1, 1)
        self.selection = self.x.intern("XdndSelection")
        self.x.set_selection_owner(self.window, self.selection)
        self.target = None
        self.version = 0
        self.x.sync()

    def close(self):
        self.x.destroy_window(self.window)
        self.x.sync()
        self.x.close()

    def aware_window_at(self, root_x, root_y):
        """The innermost window at the point that says it takes drops (XdndAware), and the
        version it says; the top-level window under the point is asked first."""
        aware = self.x.intern("XdndAware")
        parent = self.x.root
        while True:
            _, _, child = self.x.translate(self.x.root, parent, root_x, root_y)
            if child == 0:
                raise RuntimeError(f"no window at {root_x}, {root_y} takes drops")
            versions = self.x.property_atoms(child, aware)
            if versions:
                return child, versions[0]
            parent = child

    def _answer(self, packet):
        """Hands the data over when the target asks for it."""
        time_, owner, requestor, selection, target, prop = struct.unpack("<IIIIII", packet[4:28])
        prop = prop or target
        if selection != self.selection:
            prop = 0
        elif target == self.x.intern("TARGETS"):
            self.x.change_property(requestor, prop, ATOM, 32,
                                   struct.pack(f"<{len(self.types) + 1}I",
                                               self.x.intern("TARGETS"), *self.types))
        elif target in self.types:
            mime = next(t for t, a in zip(self.offers, self.types) if a == target)
            self.x.change_property(requestor, prop, target, 8, self.offers[mime])
        else:
            prop = 0
        self.x.send_event(requestor, struct.pack("<BxHIIIII8x", SELECTION_NOTIFY, 0, time_,
                                                 requestor, selection, target, prop))
        self.x.sync()

    def wait_message(self, kind, timeout):
        """The data of the next client message of this kind to the source window, answering
        requests for the data meanwhile; None after timeout seconds."""
        atom = self.x.intern(kind)
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            packet = self.x.next_event(max(0.0, deadline - time.monotonic()))
            if packet is None:
                break
            code = packet[0] & 0x7F
            if code == SELECTION_REQUEST:
                self._answer(packet)
            elif code == CLIENT_MESSAGE and struct.unpack("<I", packet[8:12])[0] == atom:
                return struct.unpack("<5I", packet[12:32])
        return None

    def enter(self, root_x, root_y):
        self.target, aware = self.aware_window_at(root_x, root_y)
        self.version = min(aware, XDND_VERSION)
        self.x.client_message(self.target, "XdndEnter",
                              [self.window, self.version << 24, *self.types])
        self.x.sync()

    def move(self, root_x, root_y, timeout=5.0):
        """Sends the position and answers whether the target takes the drop there."""
        self.x.client_message(self.target, "XdndPosition",
                              [self.window, 0, (root_x << 16) | root_y, 0,
                               self.x.intern("XdndActionCopy")])
        self.x.sync()
        status = self.wait_message("XdndStatus", timeout)
        if status is None:
            raise RuntimeError("the target never answered XdndPosition")
        return (status[1] & 1) != 0

    def leave(self):
        self.x.client_message(self.target, "XdndLeave", [self.window])
        self.x.sync()

    def drop(self, timeout=10.0):
        """Drops, serves the data and answers whether the target says it took the drop."""
        self.x.client_message(self.target, "XdndDrop", [self.window, 0, 0])
        self.x.sync()
        finished = self.wait_message("XdndFinished", timeout)
        if finished is None:
            raise RuntimeError("the target never sent XdndFinished")
        return self.version < 5 or (finished[1] & 1) != 0


def uri_list(*paths):
    """text/uri-list data for local files."""
    return b"".join(b"file://" + urllib.parse.quote(p).encode() + b"\r\n" for p in paths)


def root_point(display, window, x, y):
    """A point of the window in the root window's coordinates."""
    conn = XConnection(display)
    try:
        rx, ry, _ = conn.translate(window, conn.root, x, y)
        return rx, ry
    finally:
        conn.close()
