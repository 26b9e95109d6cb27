#!/usr/bin/env bash
# The real program under the window managers and compositors people log into,
# each started headless by an unprivileged user (nobody) with a session bus, a
# home and a runtime directory of its own. For each: the window appears with
# its caption, its client area is 292x116 and not stretched, where its frame
# sits against the work area, its lines over AT-SPI against the system's
# tools, a key ends it with status 0, and whether it is a Wayland or an X11
# client. One summary line a desktop; a desktop this release cannot run is
# skipped with its reason. Needs root, to become nobody.
set -u
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
[ "$(id -u)" = 0 ] || { echo "skip: needs root, to run each desktop as nobody"; exit 77; }
# In a PID namespace of its own, whose processes all end with this script:
# the desktops start helpers and services (their children, the accessibility
# bus) that no PID of ours names. And a shared-memory directory of its own, as
# a login session has: compositors hand keymaps and buffers to clients
# through it, and a chroot's /dev may lack a writable one.
if [ -z "${TARVINO_OWN_SESSION:-}" ]; then
    if ! unshare --mount --pid --fork true 2>/dev/null; then
        echo "skip: this system refuses the test mount and PID namespaces of its own"
        exit 77
    fi
    exec env TARVINO_OWN_SESSION=1 unshare --mount --propagation private --pid --fork --mount-proc \
        bash -c 'mount -t tmpfs -o mode=1777 tarvino-shm /dev/shm && exec bash "$0" "$@"' "$0" "$@"
fi
. "$here/xvfb.sh"
work=$(mktemp -d)
chmod 755 "$work"
on_exit() { stop_desktop; rm -rf "$work"; }
trap on_exit EXIT
failures=0 skipped=0 summary=()

# The launcher the dock must match the window to: its id, which is also the
# class it names for X11 windows.
desktop_file=$(dirname "$program")/../data/com.example.tarvino.desktop
launcher=$(sed -n 's/^StartupWMClass=//p' "$desktop_file" 2>/dev/null)
if [ "$launcher" != com.example.tarvino ]; then
    echo "not ok - the launcher's StartupWMClass (${launcher:-none}) is not its id, com.example.tarvino"
    exit 1
fi

# What the lines must read, from the system's own tools.
size=$(df -B1 --output=size / | tail -n 1 | tr -d ' ')
fstype=$(findmnt -no FSTYPE / | tail -n 1)
# The OS line's rule is held by the kernel release table; here, its form.
major=$(uname -r | cut -d. -f1)
expected=("Total size in bytes=TS. $size" "Operating system platform, version and build~OS\. 4/$major(\.[0-9]+)?/[0-9]+")
[ "$fstype" = fuseblk ] || expected+=("File system=FS. $fstype")
# On ext2, 3 and 4 the kernel's own statfs id is the fold of the volume's
# UUID, which is the serial; elsewhere the serial is read only for its form.
case $fstype in ext2 | ext3 | ext4)
    expected+=("Volume serial number=SN. $(((0x$(stat -f -c %i /) >> 32) & 0xFFFFFFFF))") ;;
esac

# Runs a command as nobody in the desktop's session. In the background, as
# "as_user exec COMMAND &", $! is the command's own PID.
as_user() {
    local exec=
    [ "$1" = exec ] && { exec=exec; shift; }
    $exec setpriv --reuid=65534 --regid=65534 --clear-groups --pdeathsig KILL env -i PATH=/usr/bin:/bin \
        HOME="$work/home" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/home/.config" \
        DBUS_SESSION_BUS_ADDRESS="${bus:-}" DISPLAY="${x_display:-}" \
        WAYLAND_DISPLAY="${wl_display:-}" ${swaysock:+SWAYSOCK="$swaysock"} ${xauthority:+XAUTHORITY="$xauthority"} LANG=C.UTF-8 \
        QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 ASAN_OPTIONS="${ASAN_OPTIONS:-}" \
        LSAN_OPTIONS="${LSAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" "$@"
}

# A fresh home, runtime directory and session bus for each desktop.
start_session() {
    rm -rf "$work/home" "$work/run"
    mkdir -m 700 "$work/home" "$work/run"
    chown 65534:65534 "$work/home" "$work/run"
    read -r bus bus_pid < <(as_user dbus-daemon --session --fork --print-address=1 --print-pid=1 |
        paste -sd ' ')
    desktop_pid= x_display= wl_display= swaysock= xauthority=
}

stop_desktop() {
    [ -n "${pid:-}" ] && { kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; }
    [ -n "${desktop_pid:-}" ] && { kill "$desktop_pid" 2>/dev/null; wait "$desktop_pid" 2>/dev/null; }
    [ -n "${bus_pid:-}" ] && kill "$bus_pid" 2>/dev/null
    [ -n "${XVFB_PID:-}" ] && { kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null; }
    pid= desktop_pid= bus_pid= XVFB_PID=
}

# Waits up to 10 s for command $@ to succeed.
wait_until() { for _ in $(seq 100); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done; return 1; }
has_x_manager() { as_user xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }

start_x11() { # the manager's command on a fresh Xvfb
    start_xvfb || return 1
    trap on_exit EXIT
    x_display=$DISPLAY
    as_user exec "$@" >"$work/desktop.log" 2>&1 &
    desktop_pid=$!
    wait_until has_x_manager
}
start_sway() {
    printf 'output HEADLESS-1 resolution 1280x800\nxwayland enable\n' >"$work/sway.conf"
    as_user exec env WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
        sway -c "$work/sway.conf" >"$work/desktop.log" 2>&1 &
    desktop_pid=$!
    wait_until compgen -G "$work/run/sway-ipc.*" || return 1
    swaysock=$(compgen -G "$work/run/sway-ipc.*")
    wl_display=wayland-1
}

start_mutter_wayland() { # headless, with Xwayland; its child writes the displays
    as_user exec mutter --wayland --headless --virtual-monitor 1280x800 -- \
        sh -c 'echo "$WAYLAND_DISPLAY $DISPLAY $XAUTHORITY" >"$XDG_RUNTIME_DIR/displays"; exec tail --pid=$PPID -f /dev/null' \
        >"$work/desktop.log" 2>&1 &
    desktop_pid=$!
    wait_until test -s "$work/run/displays" || return 1
    read -r wl_display x_display xauthority <"$work/run/displays"
}

start_kwin_wayland() { # virtual outputs, with Xwayland; its child writes the displays
    local kwin=/usr/bin/kwin_wayland
    # Its file capability (CAP_SYS_RESOURCE, for real-time limits) cannot be
    # granted where the bounding set lacks it, as in containers: a copy has none.
    if ! as_user "$kwin" --version >/dev/null 2>&1; then
        cp "$kwin" "$work/kwin_wayland"
        kwin=$work/kwin_wayland
    fi
    printf '#!/bin/sh\necho "$WAYLAND_DISPLAY $DISPLAY $XAUTHORITY" >"$XDG_RUNTIME_DIR/displays"\nexec tail --pid=$PPID -f /dev/null\n' \
        >"$work/child.sh"
    chmod 755 "$work/child.sh"
    as_user exec "$kwin" --virtual --width 1280 --height 800 --xwayland --socket tarvino-kwin \
        "$work/child.sh" >"$work/desktop.log" 2>&1 &
    desktop_pid=$!
    wait_until test -s "$work/run/displays" || return 1
    read -r wl_display x_display xauthority <"$work/run/displays"
}

# Runs JavaScript $1 in KWin, whose print()s it logs as "js: ..."; waits, up
# to 5 s, for a line that starts with $2 and prints what follows it. Scripts
# print such a line whatever they find, so that the wait ends once KWin ran it.
kwin_script() {
    local script=$work/script-$RANDOM.js
    printf '%s\n' "$1" >"$script"
    chmod 644 "$script"
    as_user gdbus call --session --dest org.kde.KWin --object-path /Scripting \
        --method org.kde.kwin.Scripting.loadScript "$script" "${script##*/}" >/dev/null &&
        as_user gdbus call --session --dest org.kde.KWin --object-path /Scripting \
            --method org.kde.kwin.Scripting.start >/dev/null || return 1
    local deadline=$((SECONDS + 5))
    while [ "$SECONDS" -lt "$deadline" ]; do
        grep -m1 "^js: $2 " "$work/desktop.log" | sed "s/^js: $2 //" | grep . && return 0
        sleep 0.1
    done
    return 1
}
windows_js='var all = workspace.windowList ? workspace.windowList() : workspace.clientList();
var ours = all.filter(function (w) { return w.caption.trim() == "Tarvino 1.1"; });'
measure_kwin() { # from KWin's own window list
    local tag=M$RANDOM platform=wayland
    [ -n "$(as_user xdotool search --name '^ Tarvino 1\.1$' 2>/dev/null)" ] && platform=x11
    kwin_script "$windows_js
var a = workspace.clientArea(KWin.PlacementArea, workspace.activeScreen, workspace.currentDesktop);
ours.forEach(function (w) {
    var f = w.frameGeometry, c = w.clientGeometry || w.bufferGeometry;
    print(\"$tag \" + [f.x, f.y, f.width, f.height, c.width, c.height, a.x, a.y, a.width, a.height].join(\" \")
        + \" \" + (w.tile ? \"tiled\" : \"floating\") + \" $platform \" + (w.desktopFileName || \"none\"));
});
if (ours.length == 0) print(\"$tag -\");" "$tag" | grep -v '^-$'
}

# Prints "frame-x frame-y frame-w frame-h client-w client-h area-x area-y
# area-w area-h floating|tiled wayland|x11 identity", the frame being what
# the manager drew around the client, the area what it is to be centred in,
# and the identity what the dock matches to a launcher: the Wayland app_id
# (KWin's desktopFileName), or the X11 class.
measure_sway() { # from sway's own tree
    as_user swaymsg -t get_tree | python3 -c '
import json, sys
def walk(n):
    yield n
    for c in n.get("nodes", []) + n.get("floating_nodes", []):
        yield from walk(c)
tree = json.load(sys.stdin)
out = next(n["rect"] for n in walk(tree) if n.get("type") == "output" and n["name"] != "__i3")
for n in walk(tree):
    if n.get("name") == " Tarvino 1.1" and n.get("pid"):
        r, w, d = n["rect"], n["window_rect"], n["deco_rect"]
        top = d["height"] if n.get("border") == "normal" else 0
        print(r["x"], r["y"] - top, r["width"], r["height"] + top, w["width"], w["height"],
              out["x"], out["y"], out["width"], out["height"],
              "floating" if n["type"] == "floating_con" else "tiled",
              "wayland" if n.get("shell") == "xdg_shell" else "x11",
              n.get("app_id") or n.get("window_properties", {}).get("class") or "none")
'
}
sway_focused() {
    as_user swaymsg -t get_tree | python3 -c '
import json, sys
def walk(n):
    yield n
    for c in n.get("nodes", []) + n.get("floating_nodes", []):
        yield from walk(c)
sys.exit(not any(n.get("focused") and n.get("name") == " Tarvino 1.1" for n in walk(json.load(sys.stdin))))'
}
sway_has_keyboard() { as_user swaymsg -t get_inputs | grep -q '"type": "keyboard"'; }
measure_x11() { # from the X server: the frame the manager says it drew, or
    # the outermost window that holds the client
    local id geometry left right top bottom frame parent cx cy cw ch area
    # The program's own window, not a frame that bears its title, as those
    # of mutter 48's frames client do.
    id=$(as_user xdotool search --all --onlyvisible --pid "$pid" --name '^ Tarvino 1\.1$' 2>/dev/null | head -n 1)
    [ -n "$id" ] || return 1
    geometry=$(as_user xwininfo -id "$id")
    cx=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$geometry")
    cy=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$geometry")
    cw=$(awk '/Width:/ {print $2}' <<<"$geometry")
    ch=$(awk '/Height:/ {print $2}' <<<"$geometry")
    read -r left right top bottom < <(as_user xprop -id "$id" _NET_FRAME_EXTENTS |
        sed -n 's/.*= //p' | tr -d ,)
    if [ -z "${bottom:-}" ]; then
        frame=$id
        while parent=$(as_user xwininfo -id "$frame" -tree | sed -nE 's/.*Parent window id: (0x[0-9a-f]+).*/\1/p') &&
            [ -n "$parent" ] && ! as_user xwininfo -id "$parent" | grep -q '(the root window)'; do
            frame=$parent
        done
        geometry=$(as_user xwininfo -id "$frame")
        left=$((cx - $(awk '/Absolute upper-left X:/ {print $4}' <<<"$geometry")))
        top=$((cy - $(awk '/Absolute upper-left Y:/ {print $4}' <<<"$geometry")))
        right=$(($(awk '/Width:/ {print $2}' <<<"$geometry") - cw - left))
        bottom=$(($(awk '/Height:/ {print $2}' <<<"$geometry") - ch - top))
    fi
    area=$(as_user xprop -root _NET_WORKAREA 2>/dev/null | sed -n 's/.*= //p' | tr -d , | cut -d' ' -f1-4)
    # A tiling manager's tile fills its area; a floating window does not.
    local placement=floating
    [ $((cw + left + right)) -ge 1280 ] && placement=tiled
    local class
    class=$(as_user xprop -id "$id" WM_CLASS | sed -n 's/.*= "[^"]*", "\([^"]*\)".*/\1/p')
    echo $((cx - left)) $((cy - top)) $((cw + left + right)) $((ch + top + bottom)) "$cw" "$ch" \
        ${area:-0 0 1280 800} $placement x11 "${class:-none}"
}

# Under mutter's Wayland session: the program's X11 window as any other; a
# native one is found with the pointer, through mutter's remote desktop, in
# its protocol log: where its surface is, the window geometry it gave (the
# frame, which Qt draws), its app_id, and its client area as it tells AT-SPI.
measure_mutter() {
    if [ -n "$(as_user xdotool search --all --onlyvisible --pid "$pid" --name '^ Tarvino 1\.1$' 2>/dev/null)" ]; then
        measure_x11
        return
    fi
    grep -qE 'xdg_toplevel[@#][0-9]+\.configure' "$work/stderr" 2>/dev/null || return 1
    local at frame client app_id
    at=$(as_user python3 "$here/remote_desktop.py" find "$work/stderr" 1280 800)
    frame=$(grep -oE 'set_window_geometry\([0-9]+, [0-9]+, [0-9]+, [0-9]+' "$work/stderr" | tail -n 1 |
        grep -oE '[0-9]+' | paste -sd ' ')
    app_id=$(grep -oE 'set_app_id\("[^"]*"\)' "$work/stderr" | tail -n 1 | sed -E 's/.*\("(.*)"\)/\1/')
    client=$(as_user python3 -c '
import sys, pyatspi
for app in pyatspi.Registry.getDesktop(0):
    if app is not None and app.name == "tarvino":
        for window in app:
            e = window.queryComponent().getExtents(pyatspi.WINDOW_COORDS)
            sys.exit(print(e.width, e.height))' 2>/dev/null)
    [ -n "$at" ] && [ -n "$frame" ] && [ -n "$client" ] || return 1
    local sx sy gx gy gw gh
    read -r sx sy <<<"$at"
    read -r gx gy gw gh <<<"$frame"
    echo $((sx + gx)) $((sy + gy)) "$gw" "$gh" $client 0 0 1280 800 floating wayland "${app_id:-none}"
}

# The five lines over AT-SPI, against the system's tools: the reader prints
# ok or not ok for each.
read_lines() {
    as_user python3 "$here/atspi_reader.py" tarvino "${expected[@]}" >"$work/atspi.log" 2>&1
}

# One desktop: its name, how its window is measured (sway or x11), how a key
# is sent (wtype or xdotool), then the function that starts it and its words.
try_desktop() {
    local name=$1 measure=$2 key=$3 m=() status notes=() ok=true
    shift 3
    if ! command -v "${name%% *}" >/dev/null; then
        echo "skip - $name: not installed"; summary+=("$name: skipped, not installed")
        skipped=$((skipped + 1)); return
    fi
    start_session
    if ! "$@"; then
        echo "not ok - $name did not start"; tail -n 5 "$work/desktop.log" | sed 's/^/  /'
        summary+=("$name: did not start"); failures=$((failures + 1)); stop_desktop; return
    fi
    # Left to choose its platform, as the desktop's own launcher leaves it.
    as_user exec env ${TRACE_WAYLAND:+WAYLAND_DEBUG=client} "$program" 2>"$work/stderr" &
    pid=$!
    # Waits are bounded, not judged: how long the test took to find the
    # window through the desktop's own tools is a figure.
    local started appeared
    started=$(date +%s%N)
    # 30 s, whatever one measurement takes (KWin's scripts answer late).
    local deadline=$((SECONDS + 30))
    while [ "$SECONDS" -lt "$deadline" ]; do
        read -r -a m < <("measure_$measure" 2>/dev/null | head -n 1)
        [ -n "${m[0]:-}" ] && break
        sleep 0.1
    done
    appeared=$((($(date +%s%N) - started) / 1000000))
    if [ -z "${m[0]:-}" ]; then
        echo "not ok - $name: no window titled ' Tarvino 1.1' in 30 s"; grep -v '^\[' "$work/stderr" | sed 's/^/  /'
        summary+=("$name: no window in 30 s"); failures=$((failures + 1)); stop_desktop; return
    fi
    # The manager frames, places and may move what it has just mapped, and
    # the program may move it once framed: measured until centred, or until
    # it stays where it is.
    local last= fx fy fw fh cw ch ax ay aw ah placement platform identity dx dy
    local next=()
    for _ in $(seq 40); do
        # A measurement that comes back empty (the window in between two
        # states) keeps the last one.
        read -r -a next < <("measure_$measure" 2>/dev/null | head -n 1)
        [ -n "${next[11]:-}" ] && m=("${next[@]}")
        fx=${m[0]} fy=${m[1]} fw=${m[2]} fh=${m[3]} cw=${m[4]} ch=${m[5]}
        ax=${m[6]} ay=${m[7]} aw=${m[8]} ah=${m[9]} placement=${m[10]} platform=${m[11]}
        identity=${m[12]:-none}
        dx=$((2 * fx + fw - 2 * ax - aw)) dy=$((2 * fy + fh - 2 * ay - ah))
        [ "${dx#-}" -le 4 ] && [ "${dy#-}" -le 4 ] && [ $((fh - ch)) -gt 0 ] && break
        [ -n "${NOT_CENTRABLE:-}" ] && [ "${m[*]}" = "$last" ] && break
        last="${m[*]}"
        sleep 0.25
    done
    [ "$cw"x"$ch" = 292x116 ] || { ok=false; notes+=("client ${cw}x${ch}"); }
    [ "$placement" = floating ] || { ok=false; notes+=("tiled"); }
    local id_kind=app_id
    [ "$platform" = x11 ] && id_kind=WM_CLASS
    [ "$identity" = "$launcher" ] || { ok=false; notes+=("matched to no launcher"); }
    [ $((fh - ch)) -gt 0 ] || { ok=false; notes+=("no title bar"); }
    [ "$fx" -ge "$ax" ] && [ "$fy" -ge "$ay" ] && [ $((fx + fw)) -le $((ax + aw)) ] &&
        [ $((fy + fh)) -le $((ay + ah)) ] || { ok=false; notes+=("not whole on screen"); }
    local centred=yes
    [ "${dx#-}" -le 4 ] && [ "${dy#-}" -le 4 ] || centred=no
    if [ "$centred" = no ] && [ -z "${NOT_CENTRABLE:-}" ]; then
        ok=false; notes+=("not centred")
    fi
    local placed="centred by the program"
    [ "$platform" = wayland ] && placed="centred by the compositor"
    [ "$centred" = no ] && placed="not centrable${NOT_CENTRABLE:+: $NOT_CENTRABLE}"
    # Under a Wayland compositor, an X11 window is an XWayland one.
    [ -n "$wl_display" ] && [ "$platform" = x11 ] && platform="XWayland (no title bars from the compositor)"
    local native=false
    [ "$platform" = wayland ] && native=true platform="native Wayland (${TITLE_BAR_BY:-the compositor} draws the title bar)"
    read_lines || { ok=false; notes+=("lines: $(grep -c '^not ok' "$work/atspi.log") wrong"); }
    # A key typed before the window has the keyboard goes elsewhere: typed
    # again until the program ends.
    for _ in $(seq 10); do
        if [ "$key" = kwin ]; then
            local tag=C$RANDOM
            kwin_script "$windows_js ours.forEach(function (w) { w.closeWindow(); }); print(\"$tag \" + ours.length);" \
                "$tag" >/dev/null
        elif [ "$key" = mutter ] && $native; then
            as_user python3 "$here/remote_desktop.py" key 16
        elif [ "$key" = wtype ]; then
            # Typed once the window has the keyboard: sway 1.7 can crash when
            # virtual keyboards come and go while it moves the focus. A
            # keyboard held from the first try on gives the seat one, so that
            # the client has bound its own before a key comes: else a key
            # pressed as the seat gains its first keyboard reaches the client
            # only as held at enter, and its press is never seen.
            wait_until sway_focused
            if [ -z "${held:-}" ]; then
                as_user exec wtype -s 60000 &
                held=$!
                wait_until sway_has_keyboard
            fi
            as_user wtype q
        else
            as_user xdotool search --all --pid "$pid" --name '^ Tarvino 1\.1$' windowactivate --sync key q 2>/dev/null ||
                as_user xdotool key q
        fi
        for _ in $(seq 10); do kill -0 "$pid" 2>/dev/null || break 2; sleep 0.1; done
    done
    # A program that outlives the key: was the key lost, or did it hang on
    # its way out?
    # Either fails it, whatever the status the signal that ends it then gives.
    local outlived=false
    if kill -0 "$pid" 2>/dev/null; then
        ok=false outlived=true
        if [ -n "$("measure_$measure" 2>/dev/null | head -n 1)" ]; then
            notes+=("the key was lost: its window stayed open")
        else
            notes+=("its window closed, but the process went on")
        fi
    fi
    [ -n "${held:-}" ] && { kill "$held" 2>/dev/null; wait "$held" 2>/dev/null; held=; }
    ended_status "$pid"
    status=$?
    pid=
    [ "$status" = 0 ] || { ok=false; notes+=("key: status $status"); }
    local ended="a key ends it with status $status"
    [ "$key" = kwin ] && ended="no key can be sent (no virtual keyboard); KWin's close ends it with status $status"
    $outlived && ended="no key ended it; a signal did, with status $status"
    local line="$name: $platform, found in $appeared ms, client ${cw}x${ch} $placement, frame ${fw}x${fh} at $fx,$fy in ${aw}x${ah}+$ax+$ay, $placed, $id_kind $identity, off centre by $(awk -v x="$dx" -v y="$dy" 'BEGIN {printf "%.1f/%.1f", x / 2, y / 2}') px, lines $(grep -c '^ok' "$work/atspi.log") ok, $ended"
    local why
    why=$(printf '%s; ' "${notes[@]}")
    if $ok; then echo "ok - $line"; else echo "not ok - $line (${why%; })"; grep '^not ok' "$work/atspi.log" | sed 's/^/  /'; failures=$((failures + 1)); fi
    summary+=("$line")
    stop_desktop
}

i3_config=$work/i3.conf
printf 'font pango:DejaVu Sans 8\n' >"$i3_config"

try_desktop xfwm4 x11 xdotool start_x11 xfwm4 --replace
try_desktop kwin_x11 x11 xdotool start_x11 kwin_x11 --replace
try_desktop "mutter (X11)" x11 xdotool start_x11 mutter --x11 --replace
NOT_CENTRABLE="i3 puts its frame where the client area was asked for, and names no frame" \
    try_desktop i3 x11 xdotool start_x11 i3 -c "$i3_config"
NOT_CENTRABLE="sway centres the window without its title bar, and places Wayland and X windows alike" \
    try_desktop sway sway wtype start_sway
# Where Qt draws the title bar (6.8), the program is a native client: mutter
# 48 centres it. Keys reach it through mutter's remote desktop.
TRACE_WAYLAND=1 TITLE_BAR_BY=Qt try_desktop "mutter (Wayland)" mutter mutter start_mutter_wayland
# KWin offers no virtual keyboard to clients: it is asked to close the window,
# as its title bar's button would.
try_desktop "kwin_wayland" kwin kwin start_kwin_wayland
printf '%s\n' "${summary[@]}"
[ "$failures" -gt 0 ] && exit 1
[ "$skipped" -gt 0 ] && exit 77
exit 0
