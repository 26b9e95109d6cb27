# Sourced by the end-to-end scripts: starts a private Xvfb on a free display
# and stops it, by its PID, when the calling script exits; finds windows and
# the drivers a process has mapped; waits for a process to end, or for the
# window to draw its values; compares shots.
start_xvfb() {
    # Xvfb picks a free display itself and writes its number to the pipe. A
    # server that has just ended on the same number can still take the new
    # one's socket with it, so the display is checked, and tried afresh if dead.
    local fifo number attempt
    for attempt in 1 2 3; do
        fifo=$(mktemp -u)
        mkfifo "$fifo"
        # Dies with this script, even when a test runner kills the script outright.
        setpriv --pdeathsig TERM Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset \
            3>"$fifo" >/dev/null 2>&1 &
        XVFB_PID=$!
        read -r -t 10 number <"$fifo" || number=
        rm -f "$fifo"
        if [ -n "$number" ] && kill -0 "$XVFB_PID" 2>/dev/null &&
            xdpyinfo -display ":$number" >/dev/null 2>&1; then
            export DISPLAY=":$number"
            unset WAYLAND_DISPLAY # the desktop's compositor is not the one under test
            # No session bus: libdbus would otherwise start one of its own through
            # X11 autolaunch, and leave it running after the test.
            export DBUS_SESSION_BUS_ADDRESS=disabled:
            trap 'kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null' EXIT
            return 0
        fi
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
    done
    echo "cannot start Xvfb" >&2
    return 1
}

# Starts weston's headless compositor, as WESTON_PID, on socket $1 in
# XDG_RUNTIME_DIR, and waits up to 10 s for it to listen; its log is weston.log
# there. It dies with the caller.
start_weston() {
    setpriv --pdeathsig TERM weston --backend=headless-backend.so --socket="$1" --idle-time=0 \
        >"$XDG_RUNTIME_DIR/weston.log" 2>&1 &
    WESTON_PID=$!
    for _ in $(seq 100); do
        [ -S "$XDG_RUNTIME_DIR/$1" ] && return 0
        kill -0 "$WESTON_PID" 2>/dev/null || break
        sleep 0.1
    done
    echo "weston did not start:" >&2
    cat "$XDG_RUNTIME_DIR/weston.log" >&2
    return 1
}

# Waits up to 30 s for a window titled exactly $1 and prints its id.
wait_for_window() {
    local id
    for _ in $(seq 300); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# Waits up to $2 tenths of a second (50 by default) for process $1 to end and
# returns its exit status; 124 where it had not ended by then, and was ended
# (killed outright 2 s after the request to end, so that a hang cannot hold
# the test): the status the program gives a signal must not pass for its own.
ended_status() {
    for _ in $(seq "${2:-50}"); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$1" 2>/dev/null; then
        kill "$1"
        for _ in $(seq 20); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
        kill -KILL "$1" 2>/dev/null
        wait "$1"
        return 124
    fi
    wait "$1"
}

# Prints the OpenGL, EGL, DRI and Vulkan drivers mapped into process $1, on one
# line; prints nothing when there are none. The vendor-neutral dispatch
# libraries (libEGL.so.1, libGLX.so.0, libOpenGL.so.0) are not drivers.
gl_drivers_mapped() {
    awk '{print $6}' "/proc/$1/maps" | sed 's|.*/||' | sort -u |
        grep -E '_dri\.so|^libEGL_mesa|^libGLX_mesa|swrast|^libvulkan_' | paste -sd ' '
}

# Waits up to 5 s for window $1 to draw its values (yellow text in the value
# column), whose crop it keeps as $2.
wait_for_values() {
    for _ in $(seq 50); do
        import -window "$1" -crop 97x80+186+10 +repage "$2"
        [ "$(convert "$2" -fill black +opaque "rgb(255,255,0)" \
            -format "%[fx:int(mean*w*h*3)]" info:)" -gt 0 ] && return 0
        sleep 0.1
    done
    return 1
}

# How many pixels differ between the shots $1.png and $2.png in XDG_RUNTIME_DIR.
differing() { compare -metric AE "$XDG_RUNTIME_DIR/$1.png" "$XDG_RUNTIME_DIR/$2.png" null: 2>&1; }
