#!/usr/bin/env bash
# The program's first frame under GNOME's Wayland session, as mutter runs it
# there: as the session's systemd unit, so that Xwayland starts only when the
# first X client connects, with XDG_CURRENT_DESKTOP=GNOME, the accessibility
# bus and the desktop portal running. Six ways, interleaved, each round in the
# other order from the last, with a fresh mutter for each run: through X with
# Xwayland started on demand (the program the first X client), through X with
# Xwayland already running, the same with the UI font published over
# XSETTINGS (as gsd-xsettings does once it has started), as a native Wayland
# client, and as the program chooses, left to itself, under
# GNOME and with no desktop named (against which GNOME's cost is judged).
# The frame is the first buffer attached after exec, in mutter's own protocol
# log, so that nothing connects before the program. Then where mutter puts a
# native window, on an empty screen and beside a maximised one, found with the
# pointer. Needs root (a cgroup named as a user unit; mutter run by nobody).
#   bench/gnome_wayland.sh [BUILD_DIR] [PAIRS]
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build/release}")
pairs=${2:-20}
program=$build/app/tarvino
bare=$build/bench/bare_window
command -v mutter >/dev/null && [ "$(id -u)" = 0 ] || { echo "GNOME on Wayland: needs root and mutter"; exit 0; }
work=$(mktemp -d)
chmod 755 "$work"
results=$work/results
unit=user.slice/user-65534.slice/user@65534.service/app.slice/tarvino-bench-$$.service
as_user() {
    setpriv --reuid=65534 --regid=65534 --clear-groups env -i PATH=/usr/bin:/bin HOME="$work/home" \
        XDG_RUNTIME_DIR="$work/run" DBUS_SESSION_BUS_ADDRESS="${bus:-}" LANG=C.UTF-8 "$@"
}
stop() {
    for p in ${app_pids:-} ${mutter_pid:-}; do kill "$p" 2>/dev/null; wait "$p" 2>/dev/null; done
    [ -n "${bus_pid:-}" ] && kill "$bus_pid" 2>/dev/null
    app_pids= mutter_pid= bus_pid=
}
# The unit's cgroup goes once its last process (an Xwayland mutter started)
# has left it.
remove_unit() {
    local h dir
    for h in systemd unified; do
        dir=/sys/fs/cgroup/$h/$unit
        [ -d "$dir" ] || continue
        for _ in $(seq 50); do [ -n "$(cat "$dir/cgroup.procs")" ] || break; sleep 0.1; done
        rmdir "$dir" 2>/dev/null
    done
}
# The document portal, started with the desktop portal, leaves its mount.
unmount_documents() {
    while findmnt -rn "$work/run/doc" >/dev/null; do umount -l "$work/run/doc" 2>/dev/null || break; done
}
trap 'stop; remove_unit; unmount_documents; rm -rf "$work"' EXIT
start_mutter() {
    stop
    unmount_documents
    rm -rf "$work/home" "$work/run"
    mkdir -m 700 "$work/home" "$work/run"
    chown 65534:65534 "$work/home" "$work/run"
    read -r bus bus_pid < <(as_user dbus-daemon --session --fork --print-address=1 --print-pid=1 | paste -sd ' ')
    # A process of a user unit, as libsystemd reads it from /proc/self/cgroup:
    # mutter then starts Xwayland on demand.
    sh -c 'for h in systemd unified; do
               [ -d /sys/fs/cgroup/$h ] || continue
               mkdir -p "/sys/fs/cgroup/$h/$1" && echo $$ >"/sys/fs/cgroup/$h/$1/cgroup.procs"
           done; shift; exec "$@"' sh "$unit" setpriv --reuid=65534 --regid=65534 --clear-groups \
        env -i PATH=/usr/bin:/bin HOME="$work/home" XDG_RUNTIME_DIR="$work/run" \
        DBUS_SESSION_BUS_ADDRESS="$bus" WAYLAND_DEBUG=server \
        mutter --wayland --headless --virtual-monitor 1280x800 -- \
        sh -c 'echo "$WAYLAND_DISPLAY $DISPLAY $XAUTHORITY" >"$XDG_RUNTIME_DIR/displays"; exec tail --pid=$PPID -f /dev/null' \
        >"$work/mutter.log" 2>&1 &
    mutter_pid=$!
    for _ in $(seq 100); do [ -s "$work/run/displays" ] && break; sleep 0.1; done
    read -r wl_display x_display xauthority <"$work/run/displays" || return 1
}
xwayland_running() { pgrep -u 65534 -x Xwayland >/dev/null; }
# libwayland stamps each line with the wall clock's microseconds, modulo 2^32.
stamp() { echo $((($(date +%s%N) / 1000) % 4294967296)); }
first_attach_ms() { # after stamp $1, in mutter's log
    grep -aE '^\[ *[0-9]+\.[0-9]+\] wl_surface[@#][0-9]+\.attach\(wl_buffer' "$work/mutter.log" |
        sed -E 's/^\[ *([0-9]+)\.([0-9]+)\].*/\1\2/' | awk -v t0="$1" '{
            d = $1 - t0; if (d < 0) d += 4294967296
            if (d < 600000000) { printf "%.1f\n", d / 1000; exit } }'
}
run_way() { # way; adds its first frame's ms, or "failed", to the results
    local way=$1 t0 ms= env=(DISPLAY="$x_display" WAYLAND_DISPLAY="$wl_display" XAUTHORITY="$xauthority"
        XDG_CURRENT_DESKTOP=GNOME)
    # GNOME's session has the accessibility bus and the desktop portal up
    # before any program starts.
    as_user gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
        --method org.a11y.Bus.GetAddress >/dev/null 2>&1
    as_user gdbus call --session --dest org.freedesktop.portal.Desktop \
        --object-path /org/freedesktop/portal/desktop --method org.freedesktop.DBus.Peer.Ping >/dev/null 2>&1
    [ "$way" = running ] && as_user "${env[@]}" xdpyinfo >/dev/null 2>&1
    if [ "$way" = published ]; then
        printf 'Gtk/FontName "Cantarell 11"\n' >"$work/xsettings.conf"
        as_user "${env[@]}" xsettingsd -c "$work/xsettings.conf" 2>"$work/xsettings.log" &
        app_pids=$!
        for _ in $(seq 100); do grep -q 'Took ownership' "$work/xsettings.log" && break; sleep 0.05; done
    fi
    case $way in
    native) env+=(QT_QPA_PLATFORM=wayland) ;;
    on-demand | running | published) env+=(QT_QPA_PLATFORM=xcb) ;;
    unnamed) env+=(XDG_CURRENT_DESKTOP=) ;;
    esac # "chosen" and "unnamed": as the program chooses
    [ "$way" = on-demand ] && xwayland_running && { echo "$way failed" >>"$results"; return; }
    : >"$work/mutter.log"
    t0=$(stamp)
    as_user "${env[@]}" "$program" >/dev/null 2>&1 &
    app_pids="${app_pids:-} $!"
    local pid=$!
    for _ in $(seq 100); do
        ms=$(first_attach_ms "$t0")
        [ -n "$ms" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    echo "$way ${ms:-failed}" >>"$results"
}

. "$root/bench/sessions.sh"
for i in $(seq "$pairs"); do
    for way in $(in_turn "$i" on-demand running published native chosen unnamed); do
        if start_mutter; then run_way "$way"; else echo "$way failed" >>"$results"; fi
    done
done
stop
median() { sort -n | awk '{v[NR] = $1} END {if (NR) print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
echo "GNOME on Wayland (mutter $(mutter --version | awk '{print $2}'), Xwayland on demand), first frame, medians of $pairs runs each:"
for way in on-demand running published native chosen unnamed; do
    printf '  %-28s %8s ms   (%s of %s runs failed)\n' "$way" \
        "$(grep "^$way [0-9]" "$results" | awk '{print $2}' | median)" \
        "$(grep -c "^$way failed" "$results")" "$pairs"
done

# Where mutter puts a native window: the top-left of its surface.
place() { # $1: "empty" or "beside a maximised window"
    start_mutter || { echo "  $1: mutter did not start"; return; }
    local env=(WAYLAND_DISPLAY="$wl_display" QT_QPA_PLATFORM=wayland) where
    if [ "$1" != empty ]; then
        as_user "${env[@]}" "$bare" maximised >/dev/null 2>&1 &
        app_pids=$!
        for _ in $(seq 100); do grep -q 'attach(wl_buffer' "$work/mutter.log" && break; sleep 0.05; done
        sleep 0.5
    fi
    as_user "${env[@]}" WAYLAND_DEBUG=client "$program" 2>"$work/client.log" &
    app_pids="$app_pids $!"
    for _ in $(seq 100); do grep -qE 'xdg_toplevel[@#][0-9]+\.configure' "$work/client.log" && break; sleep 0.05; done
    sleep 0.3
    where=$(as_user python3 "$root/tests/e2e/remote_desktop.py" find "$work/client.log" 1280 800)
    local size
    size=$(grep -m1 -oE 'set_window_geometry\([0-9]+, [0-9]+, [0-9]+, [0-9]+' "$work/client.log" |
        sed -E 's/.*\(([0-9]+), ([0-9]+), ([0-9]+), ([0-9]+)/\3x\4 at \1,\2 in the surface/')
    if [ -n "$where" ]; then
        read -r x y <<<"$where"
        echo "  $1: surface at $x,$y${size:+ (window geometry $size)}; a 292x116 window centred would be at 494,342"
    else
        echo "  $1: not found"
    fi
    stop
}
echo "Where mutter puts a native window on a 1280x800 screen:"
place empty
place "beside a maximised window"
