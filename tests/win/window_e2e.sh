#!/usr/bin/env bash
# Tarvino.exe under Wine on a private X server: its window laid out at the
# display's DPI, and a key ends it. A second argument names a test program
# that needs the display too; a third, the program built to fail while it ticks.
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

# The prefix's display density, as Windows's display settings set it. Wine 10
# reads it when its server starts, so the server is let end before the next run.
set_dpi() {
    "$here/wine-run.sh" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
        /d "$1" /f >/dev/null 2>&1
    "$here/wine-run.sh" wineserver -w
}

# The longest unbroken run of the value labels' gray on any row of a
# screenshot (ImageMagick lists the pixels row by row, left to right).
gray_width() {
    convert "$1" txt:- | awk -F'[,: ]+' '/#808080/ {
        run = ($2 == y && $1 == x + 1) ? run + 1 : 1; x = $1; y = $2; if (run > m) m = run }
        END {print m + 0}'
}

run_and_close() { # key to press, DPI, client size and value label width there, screenshot or empty
    set_dpi "$2"
    "$here/wine-run.sh" "$program" &
    local pid=$! id
    if ! id=$(wait_for_window " Tarvino 1.1"); then
        echo "not ok - no window appeared"; kill "$pid"; failures=$((failures + 1)); return
    fi
    check "caption is ' Tarvino 1.1'" test "$(xdotool getwindowname "$id")" = " Tarvino 1.1"
    sleep 1
    # With no window manager, Wine's X window is the client area alone.
    local geometry size shot=${5:-$(mktemp --suffix=.png)}
    geometry=$(xwininfo -id "$id")
    size=$(awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}' <<<"$geometry")
    check "at $2 DPI the client is $3 (saw $size)" test "$size" = "$3"
    import -window "$id" "$shot"
    local gray
    gray=$(gray_width "$shot")
    check "at $2 DPI the value labels are $4 pixels wide (saw $gray)" test "$gray" = "$4"
    if [ -n "${5:-}" ]; then echo "screenshot $5"; else rm -f "$shot"; fi
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
run_and_close shift 96 292x116 97 "$shots/tarvino-wine.png"
run_and_close q 144 438x174 146
set_dpi 96

# Runs "$@" (after a name, a wait in seconds and what stderr must name), whose
# failure report, titled "Tarvino 1.1", must still be up after the wait; then
# answers it, and the program must end with status 1. Its stderr is in $err.
report_is_up() { xdotool search --onlyvisible --name "^Tarvino 1.1\$" >/dev/null; }
report_stays() {
    local name=$1 wait=$2 expected=$3 pid id status
    shift 3
    err=$(mktemp)
    "$@" 2>"$err" &
    pid=$!
    if id=$(wait_for_window "Tarvino 1.1"); then
        sleep "$wait"
        check "$name: the report is still up after $wait s" report_is_up
        xdotool windowfocus --sync "$id" 2>/dev/null
        xdotool key Return
    else
        check "$name: a report titled 'Tarvino 1.1' appears" false
    fi
    ended_status "$pid" 100
    status=$?
    check "$name: answered, it ends with status 1 (saw $status)" test "$status" = 1
    check "$name: stderr names the failure ($(grep -m1 '^Tarvino' "$err" | head -c 100))" \
        grep -q "^Tarvino 1.1: $expected" "$err"
}

# A locked-down machine without the script runtime: loading fails, and the
# report stays until it is answered.
report_stays "without the script runtime" 5 "creating Scripting.FileSystemObject failed" \
    env TARVINO_DLLOVERRIDES=scrrun=d "$here/wine-run.sh" "$program"
rm -f "$err"

# A failure while ticking, after the window is up (a test build, $3): its
# report is owned by the window, which takes no key or click while it is up.
if [ -n "${3:-}" ]; then
    report_stays "failing while ticking" 3 "cannot set" "$here/wine-run.sh" "$3"
    check "while the late report is up, the window is disabled ($(grep -m1 'while' "$err"))" \
        grep -q "the window is disabled" "$err"
    rm -f "$err"
fi

if [ -n "${2:-}" ]; then
    "$here/wine-run.sh" "$2" || failures=$((failures + 1))
fi
exit $((failures > 0))
