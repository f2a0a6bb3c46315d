#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Jotshelf developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""D-Bus steps of the desktop tests, on the session bus of DBUS_SESSION_BUS_ADDRESS.

  desk.py mutter-keys KEY...       press keys through org.gnome.Mutter.RemoteDesktop: each KEY is
                                   a keysym name or a chord such as alt+grave
  desk.py mutter-type TEXT         type TEXT (printable ASCII) through org.gnome.Mutter.RemoteDesktop
  desk.py shell-screenshot FILE    a screenshot of the GNOME Shell stage into FILE (PNG)
  desk.py kwin-screenshot FILE     a screenshot of KWin's screen into FILE (PNG), through
                                   org.kde.KWin.ScreenShot2 (KWin started with
                                   KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1)
  desk.py sni-items                the StatusNotifierItems the watcher knows, one a line
  desk.py sni-menu                 the labels of Jotshelf's tray menu (dbusmenu), one a line,
                                   sub-menu entries indented
  desk.py sni-click LABEL          sends "clicked" to the menu entry LABEL of Jotshelf's tray menu

Exit status 0 on success, 1 with a message on standard error otherwise.
"""
import os
import struct
import sys
import threading
import time
import zlib

import dbus

MODIFIERS = {
    "alt": "Alt_L",
    "ctrl": "Control_L",
    "shift": "Shift_L",
    "super": "Super_L",
}

# The X keysyms of the names used here; printable ASCII maps onto its own code.
KEYSYMS = {
    "Alt_L": 0xFFE9,
    "Control_L": 0xFFE3,
    "Shift_L": 0xFFE1,
    "Super_L": 0xFFEB,
    "Return": 0xFF0D,
    "Escape": 0xFF1B,
    "BackSpace": 0xFF08,
    "grave": 0x60,
    "space": 0x20,
}


def fail(message):
    print(f"desk.py: {message}", file=sys.stderr)
    sys.exit(1)


def keysym(name):
    if name in KEYSYMS:
        return KEYSYMS[name]
    if len(name) == 1 and 0x20 <= ord(name) < 0x7F:
        return ord(name)
    fail(f"unknown key name {name!r}")


class MutterKeyboard:
    """One RemoteDesktop session; mutter ends it when this connection closes."""

    def __init__(self, bus):
        service = "org.gnome.Mutter.RemoteDesktop"
        desktop = bus.get_object(service, "/org/gnome/Mutter/RemoteDesktop")
        path = dbus.Interface(desktop, service).CreateSession()
        self.session = dbus.Interface(bus.get_object(service, path), service + ".Session")
        self.session.Start()
        # Mutter's virtual keyboard loses the very first key event of a session: spend it on a
        # key that does nothing.
        self.tap(["Shift_L"])
        time.sleep(0.2)

    def tap(self, names):
        codes = [keysym(n) for n in names]
        for code in codes:
            self.session.NotifyKeyboardKeysym(dbus.UInt32(code), True)
            time.sleep(0.02)
        for code in reversed(codes):
            self.session.NotifyKeyboardKeysym(dbus.UInt32(code), False)
            time.sleep(0.02)

    def close(self):
        time.sleep(0.2)
        self.session.Stop()


def mutter_keys(bus, chords):
    keyboard = MutterKeyboard(bus)
    for chord in chords:
        keyboard.tap([MODIFIERS.get(part, part) for part in chord.split("+")])
        time.sleep(0.1)
    keyboard.close()


def mutter_type(bus, text):
    keyboard = MutterKeyboard(bus)
    for char in text:
        if char == "\n":
            keyboard.tap(["Return"])
        else:
            keyboard.tap(["Shift_L", char] if char.isupper() else [char])
    keyboard.close()


def shell_screenshot(bus, filename):
    # GNOME Shell takes screenshots only for a few callers, gnome-screenshot's well-known name
    # among them: this connection takes that name for the call.
    bus.request_name("org.gnome.Screenshot")
    shell = bus.get_object("org.gnome.Shell.Screenshot", "/org/gnome/Shell/Screenshot")
    success, used = dbus.Interface(shell, "org.gnome.Shell.Screenshot").Screenshot(
        False, False, os.path.abspath(filename))
    if not success:
        fail("GNOME Shell did not take the screenshot")
    print(used)


def write_png(filename, width, height, rows):
    """Writes 8-bit RGBA rows (bytes of width * 4 each) as a PNG file."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    raw = b"".join(b"\0" + row for row in rows)
    with open(filename, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        out.write(chunk(b"IEND", b""))


def kwin_screenshot(bus, filename):
    # KWin writes the image, raw, into the pipe it is handed and says its layout in the reply.
    read_end, write_end = os.pipe()
    data = []
    reader = threading.Thread(target=lambda: data.append(os.fdopen(read_end, "rb").read()))
    reader.start()
    kwin = bus.get_object("org.kde.KWin", "/org/kde/KWin/ScreenShot2")
    try:
        result = dbus.Interface(kwin, "org.kde.KWin.ScreenShot2").CaptureActiveScreen(
            {"include-cursor": False, "native-resolution": True}, dbus.types.UnixFd(write_end))
    finally:
        os.close(write_end)
    reader.join(30)
    width, height, stride = int(result["width"]), int(result["height"]), int(result["stride"])
    # QImage's 32-bit formats (RGB32, ARGB32 and its premultiplied form) hold B, G, R, A in
    # memory on a little-endian machine; the screen is opaque.
    if int(result["format"]) not in (4, 5, 6):
        fail(f"KWin answered an image of QImage format {int(result['format'])}")
    pixels = data[0] if data else b""
    if len(pixels) < stride * height:
        fail(f"KWin sent {len(pixels)} bytes for {width}x{height}")
    rows = []
    for y in range(height):
        row = bytearray(pixels[y * stride:y * stride + width * 4])
        row[0::4], row[2::4] = row[2::4], row[0::4]
        row[3::4] = b"\xff" * width
        rows.append(bytes(row))
    write_png(filename, width, height, rows)
    print(os.path.abspath(filename))


WATCHER = ("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher")


def sni_items(bus):
    watcher = bus.get_object(*WATCHER)
    items = watcher.Get("org.kde.StatusNotifierWatcher", "RegisteredStatusNotifierItems",
                        dbus_interface="org.freedesktop.DBus.Properties")
    return [str(item) for item in items]


def jotshelf_menu(bus):
    """The dbusmenu object of the item whose tooltip or title is "Notepad"."""
    for item in sni_items(bus):
        # An entry is "service/path" or a bare service name (then the path is the default one).
        service, _, path = item.partition("/")
        path = "/" + path if path else "/StatusNotifierItem"
        props = dbus.Interface(bus.get_object(service, path), "org.freedesktop.DBus.Properties")
        everything = props.GetAll("org.kde.StatusNotifierItem")
        tooltip = everything.get("ToolTip", ("", [], "", ""))
        if "Notepad" in (str(everything.get("Title", "")), str(tooltip[2])):
            menu = bus.get_object(service, str(everything["Menu"]))
            return dbus.Interface(menu, "com.canonical.dbusmenu")
    fail("no StatusNotifierItem titled Notepad is registered")


def menu_entries(menu):
    """(depth, id, label) of every entry with a label, in menu order."""
    _, layout = menu.GetLayout(0, -1, ["label", "type", "children-display"])
    entries = []

    def walk(node, depth):
        node_id, props, children = node
        if "label" in props:
            entries.append((depth, int(node_id), str(props["label"]).replace("&", "")))
        for child in children:
            walk(child, depth + (0 if node_id == 0 else 1))

    walk(layout, 0)
    return entries


def main():
    if len(sys.argv) < 2:
        fail(__doc__)
    command, args = sys.argv[1], sys.argv[2:]
    bus = dbus.SessionBus()
    try:
        if command == "mutter-keys":
            mutter_keys(bus, args)
        elif command == "mutter-type":
            mutter_type(bus, args[0])
        elif command == "shell-screenshot":
            shell_screenshot(bus, args[0])
        elif command == "kwin-screenshot":
            kwin_screenshot(bus, args[0])
        elif command == "sni-items":
            print("\n".join(sni_items(bus)))
        elif command == "sni-menu":
            for depth, _, label in menu_entries(jotshelf_menu(bus)):
                print("  " * depth + label)
        elif command == "sni-click":
            menu = jotshelf_menu(bus)
            ids = [i for _, i, label in menu_entries(menu) if label == args[0]]
            if not ids:
                fail(f"the tray menu has no entry {args[0]!r}")
            menu.AboutToShow(0)
            menu.Event(ids[0], "clicked", dbus.String("", variant_level=1), dbus.UInt32(0))
        else:
            fail(f"unknown command {command!r}")
    except dbus.DBusException as error:
        fail(f"{command}: {error.get_dbus_name()}: {error.get_dbus_message()}")


if __name__ == "__main__":
    main()
