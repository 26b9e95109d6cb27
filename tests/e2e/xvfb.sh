# Sourced by the end-to-end scripts: starts a private Xvfb on a free display
# and stops it, by its PID, when the calling script exits.
start_xvfb() {
    # Xvfb picks a free display itself and writes its number to the pipe.
    local fifo number
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    read -r -t 10 number <"$fifo" || number=
    rm -f "$fifo"
    if [ -z "$number" ] || ! kill -0 "$XVFB_PID" 2>/dev/null; then
        echo "cannot start Xvfb" >&2
        return 1
    fi
    export DISPLAY=":$number"
    trap 'kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null' EXIT
}

# Waits up to 10 s for a window titled exactly $1 and prints its id.
wait_for_window() {
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
