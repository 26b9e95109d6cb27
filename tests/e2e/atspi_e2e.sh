#!/usr/bin/env bash
# The real program on a private X server and a private D-Bus session, read
# over the AT-SPI bus by a screen-reader client.
set -u
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
if ! command -v dbus-run-session >/dev/null || ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
    echo "skip: needs dbus-run-session and python3-pyatspi"
    exit 77
fi
. "$here/xvfb.sh"
start_xvfb || exit 1
export XDG_RUNTIME_DIR=$(mktemp -d)
chmod 700 "$XDG_RUNTIME_DIR"
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
dbus-run-session -- bash -c '
    "$1" 2>"$XDG_RUNTIME_DIR/stderr" &
    pid=$!
    /usr/bin/python3 "$2" "$(basename "$1")"
    status=$?
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    exit "$status"
' bash "$program" "$here/atspi_reader.py"
