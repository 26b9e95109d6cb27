"""A window manager that answers _NET_REQUEST_FRAME_EXTENTS with one frame and
then names another as the frame it drew, as a manager does whose estimate is
not its frame: at the map, or a while after it. It does not reparent, and
grants every configure request as asked. It prints "managing" once it is.

Usage: frame_manager.py ESTIMATE DRAWN before-map|after-map
       (ESTIMATE, DRAWN: left,right,top,bottom)
"""
import sys
import time

from Xlib import X, Xatom, display

screen = display.Display()
root = screen.screen().root
atom = screen.intern_atom
estimate, drawn = ([int(v) for v in frame.split(",")] for frame in sys.argv[1:3])
before_map = sys.argv[3] == "before-map"
extents, request = atom("_NET_FRAME_EXTENTS"), atom("_NET_REQUEST_FRAME_EXTENTS")

check = root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
for window in (root, check):
    window.change_property(atom("_NET_SUPPORTING_WM_CHECK"), Xatom.WINDOW, 32, [check.id])
root.change_property(atom("_NET_SUPPORTED"), Xatom.ATOM, 32, [request, extents, atom("_NET_WORKAREA")])
geometry = root.get_geometry()
root.change_property(atom("_NET_WORKAREA"), Xatom.CARDINAL, 32, [0, 0, geometry.width, geometry.height])
root.change_attributes(event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
screen.sync()
print("managing", flush=True)

FIELDS = ((X.CWX, "x"), (X.CWY, "y"), (X.CWWidth, "width"), (X.CWHeight, "height"),
          (X.CWBorderWidth, "border_width"), (X.CWStackMode, "stack_mode"))
while True:
    event = screen.next_event()
    if event.type == X.ClientMessage and event.client_type == request:
        event.window.change_property(extents, Xatom.CARDINAL, 32, estimate)
    elif event.type == X.ConfigureRequest:
        event.window.configure(**{name: getattr(event, name) for bit, name in FIELDS
                                  if event.value_mask & bit})
    elif event.type == X.MapRequest:
        if before_map:
            event.window.change_property(extents, Xatom.CARDINAL, 32, drawn)
        event.window.map()
        if not before_map:
            screen.sync()
            time.sleep(0.5)  # the client has handled its map by now
            event.window.change_property(extents, Xatom.CARDINAL, 32, drawn)
    screen.flush()
