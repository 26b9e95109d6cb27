#!/usr/bin/env bash
# The real program's failure paths: each ends with status 1 and a message that
# names the failure, on stderr and, where a display exists, in a report titled
# "Tarvino 1.1".
set -u
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb.sh"
work=$(mktemp -d)
failures=0
check() {
    local what=$1; shift
    if "$@"; then echo "ok - $what"; else echo "not ok - $what"; failures=$((failures + 1)); fi
}

# No display at all: one clear line, no core dump.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" 2>"$work/err"
status=$?
check "no display: status 1 (saw $status)" test "$status" = 1
check "no display: one line naming it ($(head -c 100 "$work/err"))" \
    test "$(wc -l <"$work/err")" = 1 -a -n "$(grep 'no display' "$work/err")"
DISPLAY=:9999 "$program" 2>"$work/err"
status=$?
check "unreachable display: status 1, one line ($(head -c 100 "$work/err"))" \
    test "$status" = 1 -a "$(wc -l <"$work/err")" = 1

start_xvfb || exit 1
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Runs the program as "$@", expects the failure report naming $1's text, closes it.
expect_report() {
    local name=$1 expected=$2; shift 2
    "$@" 2>"$work/err" &
    local pid=$! id
    if ! id=$(wait_for_window "Tarvino 1.1"); then
        echo "not ok - $name: no report titled 'Tarvino 1.1'"; failures=$((failures + 1))
        kill "$pid" 2>/dev/null; wait "$pid"; return
    fi
    xdotool windowfocus --sync "$id" 2>/dev/null
    xdotool key Return
    ended_status "$pid"
    local status=$?
    check "$name: status 1 (saw $status)" test "$status" = 1
    check "$name: stderr names it ($(head -c 120 "$work/err"))" grep -q "$expected" "$work/err"
}

# A mount table that cannot be read: in a private mount namespace, a file
# nobody may read lies over it, and the program runs without root's
# capabilities, so that root too is refused.
if [ "$(id -u)" = 0 ] && unshare --mount true 2>/dev/null && command -v setpriv >/dev/null; then
    : >"$work/unreadable"
    chmod 000 "$work/unreadable"
    unreadable=(unshare --mount sh -c 'mount --bind "$1" /proc/$$/mountinfo &&
            exec setpriv --bounding-set=-all --inh-caps=-all "$2"' sh "$work/unreadable" "$program")
    message="cannot read the mount table /proc/self/mountinfo"
    expect_report "unreadable mount table" "$message" "${unreadable[@]}"

    # On Wayland the report is a toplevel of its own. No key reaches a
    # headless compositor: the session's request to end closes it instead.
    if command -v weston >/dev/null && start_weston tarvino-failure; then
        WAYLAND_DISPLAY=tarvino-failure QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client \
            "${unreadable[@]}" 2>"$work/err" &
        pid=$!
        report='xdg_toplevel[@#][0-9]+\.set_title\("Tarvino 1\.1"\)'
        for _ in $(seq 300); do grep -qE "$report" "$work/err" && break; sleep 0.1; done
        check "Wayland: a report titled 'Tarvino 1.1'" grep -qE "$report" "$work/err"
        check "Wayland: no main window" test -z "$(grep -E 'set_title\(" Tarvino' "$work/err")"
        kill -TERM "$pid"
        ended_status "$pid"
        status=$?
        check "Wayland: status 1 (saw $status)" test "$status" = 1
        check "Wayland: stderr names it" grep -q "^Tarvino 1.1: $message" "$work/err"
        kill "$WESTON_PID"
        wait "$WESTON_PID"
    else
        check "Wayland: weston starts" false
    fi
else
    echo "skip - unreadable mount table: needs root and mount namespaces"
fi

rm -rf "$work"
exit $((failures > 0))
