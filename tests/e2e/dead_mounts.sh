#!/usr/bin/env bash
# Lettering the drives and describing drive C must never touch another mount:
# a dead network server would hang the program. The real program runs under
# strace with a mount table whose other volumes are all unreachable; no file
# system call may name a path under them.
set -u
program=$(realpath "$1")
fixture=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
if [ "$(id -u)" != 0 ] || ! unshare --mount true 2>/dev/null || ! command -v strace >/dev/null; then
    echo "skip: needs root, mount namespaces and strace"
    exit 77
fi
. "$here/xvfb.sh"
start_xvfb || exit 1
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0" # LeakSanitizer cannot run under ptrace
# Within its own mount namespace the shell lays the fixture over its mount
# table; exec keeps its PID, so the program's /proc/self/mountinfo is the fixture.
unshare --mount sh -c 'mount --bind "$1" /proc/$$/mountinfo && exec strace -f -qq -o "$2" \
    -e trace=%file,%stat,statfs,fstatfs "$3"' sh "$fixture" "$work/trace" "$program" \
    2>"$work/err" &
pid=$!
if ! id=$(wait_for_window " Tarvino 1.1"); then
    echo "not ok - no window appeared"; cat "$work/err"; kill "$pid"; exit 1
fi
drive=$(xdotool getwindowname "$id")
xdotool windowfocus --sync "$id" 2>/dev/null
xdotool key shift
ended_status "$pid"
status=$?
failures=0
[ "$status" = 0 ] && echo "ok - the program ran and closed" ||
    { echo "not ok - status $status"; cat "$work/err"; failures=1; }
grep -q 'mountinfo' "$work/trace" && echo "ok - the trace saw the mount table read" ||
    { echo "not ok - the trace is empty"; failures=1; }
grep -qE 'statv?fs\("/",' "$work/trace" && echo "ok - the trace saw drive C measured" ||
    { echo "not ok - no statfs of / traced"; failures=1; }
for mount in $(awk '$5 != "/" && $5 != "/proc" {print $5}' "$fixture"); do
    if grep -F "\"$mount" "$work/trace" | grep -q .; then
        echo "not ok - $mount was touched:"; grep -F "\"$mount" "$work/trace" | head -3
        failures=1
    else
        echo "ok - $mount untouched"
    fi
done
rm -rf "$work"
exit "$failures"
