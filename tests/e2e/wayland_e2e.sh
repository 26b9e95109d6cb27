#!/usr/bin/env bash
# The program as a native Wayland client, under weston's headless backend:
# it starts, loads its values without a failure, maps its window and keeps
# repainting the ticking banner until it is told to close, with no GL driver.
# This compositor draws no title bars: Qt 6.8 draws the window's own, with its
# raster engine; Qt 6.4 cannot without GL. With an X server beside the
# compositor the program opens its window through X instead, with either.
set -u
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
command -v weston >/dev/null || { echo "skip: weston is not installed"; exit 77; }
. "$here/xvfb.sh"
start_xvfb || exit 1
x_display=$DISPLAY
unset DISPLAY
export XDG_RUNTIME_DIR=$(mktemp -d)
chmod 700 "$XDG_RUNTIME_DIR"
socket=tarvino-test
trap 'kill "$WESTON_PID" "$XVFB_PID" 2>/dev/null; wait "$WESTON_PID" "$XVFB_PID" 2>/dev/null
      rm -rf "$XDG_RUNTIME_DIR"' EXIT
start_weston "$socket" || { echo "not ok - weston did not start"; exit 1; }

failures=0
check() {
    local what=$1; shift
    if "$@"; then echo "ok - $what"; else echo "not ok - $what"; failures=$((failures + 1)); fi
}
log=$XDG_RUNTIME_DIR/client.log
# WAYLAND_DEBUG logs the protocol the client speaks, which shows what it draws.
WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client "$program" 2>"$log" &
pid=$!
# The first frame, then a repaint for each tick, as late as a busy machine
# makes them.
frames() { grep -cE 'wl_surface[@#][0-9]+\.attach\(wl_buffer' "$log"; }
for _ in $(seq 300); do [ "$(frames)" -ge 8 ] && break; kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
check "still running after $(frames) frames" kill -0 "$pid"
drivers=$(gl_drivers_mapped "$pid")
check "no GL driver is mapped (saw: ${drivers:-none})" test -z "$drivers"
# No keyboard reaches a headless compositor; the session's request to end
# closes the window as a key would.
kill -TERM "$pid" 2>/dev/null
ended_status "$pid"
status=$?
check "told to close, it ends with status 0 (saw $status)" test "$status" = 0
# Qt 6.4 can hang for good tearing its Wayland display down; the program
# ends without it, once its own objects are released.
check "it ends without Qt's Wayland teardown (no xdg_wm_base.destroy)" \
    test -z "$(grep -E 'xdg_wm_base[@#][0-9]+\.destroy' "$log")"

check "no failure reported" test -z "$(grep -E '^(Tarvino 1.1|tarvino):' "$log")"
# libwayland 1.22 writes interface#id where 1.21 wrote interface@id.
check "a toplevel titled ' Tarvino 1.1'" grep -qE 'xdg_toplevel[@#][0-9]+\.set_title\(" Tarvino 1.1"\)' "$log"
check "the compositor configured it" grep -qE 'xdg_surface[@#][0-9]+\.configure' "$log"
check "it keeps drawing: $(frames) frames" test "$(frames)" -ge 8

# Its first buffer: the window alone, or with the title bar Qt draws around it.
buffer=$(grep -m1 -oE 'create_buffer\(new id wl_buffer[@#][0-9]+, 0, [0-9]+, [0-9]+' "$log" |
    awk -F', ' '{print $3 "x" $4}')
own_title_bar=false
[ "$(printf '%s\n' 6.8 "$(pkg-config --modversion Qt6Gui)" | sort -V | head -n 1)" = 6.8 ] &&
    own_title_bar=true
if $own_title_bar; then
    check "Qt draws its title bar: its buffer ($buffer) is larger than the window" \
        test "${buffer%x*}" -gt 292 -a "${buffer#*x}" -gt 116
else
    check "Qt 6.4 draws no title bar of its own: its buffer ($buffer) is the window's" test "$buffer" = 292x116
fi
[ "$failures" -gt 0 ] && grep -vE '^\[' "$log" | head -n 20

# Left to choose, with an X server beside it (XWayland on a desktop): a
# compositor that draws no title bars places Wayland windows itself, so the
# program opens its window through X, to be centred, still with no GL driver.
# An explicit choice of platform stays, as above. So does a WAYLAND_DISPLAY
# left behind by a session that has ended (a terminal multiplexer's).
for wayland in "$socket" tarvino-gone; do
    beside="beside X, with WAYLAND_DISPLAY $wayland"
    DISPLAY=$x_display WAYLAND_DISPLAY=$wayland WAYLAND_DEBUG=client "$program" 2>"$log" &
    pid=$!
    if id=$(DISPLAY=$x_display wait_for_window " Tarvino 1.1"); then
        drivers=$(gl_drivers_mapped "$pid")
        check "$beside, no GL driver is mapped (saw: ${drivers:-none})" test -z "$drivers"
        check "$beside, no Wayland window" test -z "$(grep -E 'xdg_toplevel[@#][0-9]+\.set_title' "$log")"
        DISPLAY=$x_display xdotool windowfocus --sync "$id" key q 2>/dev/null
    else
        check "$beside, the window opens on the X server" false
    fi
    ended_status "$pid"
    status=$?
    check "$beside, it ends with status 0 (saw $status)" test "$status" = 0
done

# A DISPLAY that refuses (a crashed Xwayland's, ssh -X's): the compositor
# still shows the window.
DISPLAY=:9999 WAYLAND_DISPLAY=$socket WAYLAND_DEBUG=client "$program" 2>"$log" &
pid=$!
for _ in $(seq 300); do [ "$(frames)" -ge 1 ] && break; kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
check "with a DISPLAY that refuses, the window opens on Wayland ($(frames) frames)" \
    grep -qE 'xdg_toplevel[@#][0-9]+\.set_title\(" Tarvino 1.1"\)' "$log"
kill -TERM "$pid" 2>/dev/null
ended_status "$pid"
status=$?
check "with a DISPLAY that refuses, it ends with status 0 (saw $status)" test "$status" = 0
[ "$failures" -gt 0 ] && grep -vE '^\[' "$log" | head -n 20
exit $((failures > 0))
