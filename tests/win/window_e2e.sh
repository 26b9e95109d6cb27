#!/usr/bin/env bash
# Tarvino.exe under Wine on a private X server: its window, and a key ends it.
set -u
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../e2e/xvfb.sh"
start_xvfb || exit 1
"$here/wine-run.sh" cmd /c exit >/dev/null 2>&1 # a new prefix takes a while; not the program's time
failures=0
check() {
    local what=$1; shift
    if "$@"; then echo "ok - $what"; else echo "not ok - $what"; failures=$((failures + 1)); fi
}

run_and_close() { # key to press, screenshot file or empty
    "$here/wine-run.sh" "$program" &
    local pid=$! id
    if ! id=$(wait_for_window " Tarvino 1.1"); then
        echo "not ok - no window appeared"; kill "$pid"; failures=$((failures + 1)); return
    fi
    check "caption is ' Tarvino 1.1'" test "$(xdotool getwindowname "$id")" = " Tarvino 1.1"
    if [ -n "$2" ]; then
        sleep 1
        import -window root "$2"
        local geometry left top
        geometry=$(xwininfo -id "$id")
        left=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$geometry")
        top=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$geometry")
        echo "window at $left,$top; screenshot $2"
    fi
    xdotool windowfocus --sync "$id" 2>/dev/null
    xdotool key "$1"
    local waited=0
    while kill -0 "$pid" 2>/dev/null && [ $waited -lt 100 ]; do sleep 0.1; waited=$((waited + 1)); done
    if kill -0 "$pid" 2>/dev/null; then
        echo "not ok - still running after $1"; kill "$pid"; failures=$((failures + 1)); return
    fi
    wait "$pid"
    local status=$?
    check "$1 ends it with status 0 (saw $status)" test "$status" = 0
}

shots=${TARVINO_SCREENSHOT_DIR:-$(dirname "$program")}
run_and_close shift "$shots/tarvino-wine.png"
run_and_close q ""
exit $((failures > 0))
