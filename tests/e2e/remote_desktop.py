"""Input through mutter's remote-desktop interface, as a remote-desktop client
sends it, on the session bus of a mutter session.

  remote_desktop.py find CLIENT_LOG WIDTH HEIGHT
      Where mutter put a native Wayland window: the pointer is moved over the
      screen from its top-left corner until the client's protocol log
      (WAYLAND_DEBUG=client) shows it entering the window's surface; the
      surface's top-left is the pointer less the point it entered at. Prints
      "x y", or nothing where it was not found or the pointer did not move
      as asked.
  remote_desktop.py key KEYCODE
      Presses and releases a key (an evdev code, e.g. 16 for Q) in the window
      that has the keyboard.
"""
import re
import sys
import time

from gi.repository import Gio, GLib

bus = Gio.bus_get_sync(Gio.BusType.SESSION)
IFACE = "org.gnome.Mutter.RemoteDesktop.Session"


def call(path, interface, method, args=None, reply=None):
    return bus.call_sync("org.gnome.Mutter.RemoteDesktop", path, interface, method, args,
                         GLib.VariantType(reply) if reply else None, 0, 5000, None)


def matches(log, pattern):
    with open(log, errors="replace") as f:
        return re.findall(pattern, f.read())


def find(session, log, width, height):
    def move(dx, dy):
        call(session, IFACE, "NotifyPointerMotionRelative", GLib.Variant("(dd)", (dx, dy)))

    enter = r"wl_pointer[@#]\d+\.enter\(\d+, wl_surface[@#]\d+, ([-\d.]+), ([-\d.]+)\)"
    move(-10 * width, -10 * height)  # to the corner, where the pointer stops
    time.sleep(0.1)
    before = len(matches(log, enter))  # the pointer may have been over the window
    x = y = 0
    # Steps smaller than the smallest window looked for: 292x116.
    for row in range(0, height, 96):
        for column in range(0, width, 128):
            move(column - x, row - y)
            x, y = column, row
            time.sleep(0.02)
            hits = matches(log, enter)
            if len(hits) == before:
                continue
            sx, sy = float(hits[-1][0]), float(hits[-1][1])
            # The pointer moves as asked, unaccelerated: a further step shows
            # in the window as the same step.
            move(7, 5)
            time.sleep(0.1)
            moved = matches(log, r"wl_pointer[@#]\d+\.motion\(\d+, ([-\d.]+), ([-\d.]+)\)")
            moved = moved[-1] if moved else None
            if moved and (float(moved[0]) - sx, float(moved[1]) - sy) == (7.0, 5.0):
                print(round(x - sx), round(y - sy))
            return


def key(session, keycode):
    # mutter 48 lets the first press of a session's new virtual keyboard pass
    # unseen (the client gets only its release): the key goes twice.
    for pressed in (True, False, True, False):
        call(session, IFACE, "NotifyKeyboardKeycode", GLib.Variant("(ub)", (keycode, pressed)))
        time.sleep(0.1)


session = call("/org/gnome/Mutter/RemoteDesktop", "org.gnome.Mutter.RemoteDesktop",
               "CreateSession", None, "(o)").unpack()[0]
call(session, IFACE, "Start")
try:
    if sys.argv[1] == "find":
        find(session, sys.argv[2], int(sys.argv[3]), int(sys.argv[4]))
    else:
        key(session, int(sys.argv[2], 0))
finally:
    call(session, IFACE, "Stop")
