#!/usr/bin/env bash
# The program as a native Wayland client, under weston's headless backend:
# it starts, loads its values without a failure, maps its window and keeps
# repainting the ticking banner until it is told to close, with no GL driver.
# Then, with an X server beside this compositor, which draws no title bars,
# it opens its window through X instead.
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
weston --backend=headless-backend.so --socket="$socket" --idle-time=0 \
    >"$XDG_RUNTIME_DIR/weston.log" 2>&1 &
weston_pid=$!
trap 'kill "$weston_pid" "$XVFB_PID" 2>/dev/null; wait "$weston_pid" "$XVFB_PID" 2>/dev/null
      rm -rf "$XDG_RUNTIME_DIR"' EXIT
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/$socket" ] && break; sleep 0.1; done
[ -S "$XDG_RUNTIME_DIR/$socket" ] || { echo "not ok - weston did not start"; cat "$XDG_RUNTIME_DIR/weston.log"; exit 1; }

failures=0
check() {
    local what=$1; shift
    if "$@"; then echo "ok - $what"; else echo "not ok - $what"; failures=$((failures + 1)); fi
}
log=$XDG_RUNTIME_DIR/client.log
# WAYLAND_DEBUG logs the protocol the client speaks, which shows what it draws.
WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client "$program" 2>"$log" &
pid=$!
sleep 3
check "still running after 3 s" kill -0 "$pid"
drivers=$(gl_drivers_mapped "$pid")
check "no GL driver is mapped (saw: ${drivers:-none})" test -z "$drivers"
# No keyboard reaches a headless compositor; the session's request to end
# closes the window as a key would.
kill -TERM "$pid" 2>/dev/null
wait "$pid"
status=$?
check "told to close, it ends with status 0 (saw $status)" test "$status" = 0

check "no failure reported" test -z "$(grep -E '^(Tarvino 1.1|tarvino):' "$log")"
check "a toplevel titled ' Tarvino 1.1'" grep -q 'xdg_toplevel@[0-9]*\.set_title(" Tarvino 1.1")' "$log"
check "the compositor configured it" grep -q 'xdg_surface@[0-9]*\.configure' "$log"
frames=$(grep -c 'wl_surface@[0-9]*\.attach(wl_buffer' "$log")
# The first frame, then a repaint for each 200 ms tick.
check "it keeps drawing: $frames frames in 3 s" test "$frames" -ge 8
[ "$failures" -gt 0 ] && grep -vE '^\[' "$log" | head -n 20

# Left to choose, it shows its title bar through the X server (XWayland on a
# desktop), still with no GL driver; an explicit choice of platform stays.
DISPLAY=$x_display WAYLAND_DISPLAY=$socket "$program" 2>"$log" &
pid=$!
if id=$(DISPLAY=$x_display wait_for_window " Tarvino 1.1"); then
    drivers=$(gl_drivers_mapped "$pid")
    check "beside X, no GL driver is mapped (saw: ${drivers:-none})" test -z "$drivers"
    DISPLAY=$x_display xdotool windowfocus --sync "$id" key q 2>/dev/null
else
    check "beside X, the window opens on the X server" false
fi
ended_status "$pid"
status=$?
check "beside X, a key ends it with status 0 (saw $status)" test "$status" = 0
[ "$failures" -gt 0 ] && sed 's/^/  stderr: /' "$log"
exit $((failures > 0))
