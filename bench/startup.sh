#!/usr/bin/env bash
# Start-up and ticking of the real program against a bare Qt window with the
# same controls and timer, both built on this machine: on a private Xvfb,
# A B, B A, ... (20 pairs by default, each pair's order the other way round
# from the last), then two 20 s ticking runs of each, then
# the program under GNOME against the same with GTK's theme; under each
# desktop's session against none (GNOME, KDE Plasma and Xfce on X11, a
# session with the desktop portal, and Plasma on Wayland); the program after
# a window manager died against none at all; then
# start-up again as native Wayland clients of a private headless weston;
# last, under GNOME's Wayland session (bench/gnome_wayland.sh).
# Fontconfig's cache is made afresh first, so that neither pays for it.
# Prints the machine, medians and ratios.
#   bench/startup.sh [BUILD_DIR] [PAIRS]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build/release}")
pairs=${2:-20}
. "$root/tests/e2e/xvfb.sh"
start_xvfb
export XDG_RUNTIME_DIR=$(mktemp -d)
probe=$build/bench/first_frame
fc-cache -f >/dev/null
echo "machine: $(nproc) cores of $(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -n 1)," \
    "Debian $(cat /etc/debian_version), Qt $(pkg-config --modversion Qt6Core), $(uname -r)"
real=$build/app/tarvino
bare=$build/bench/bare_window
results=$XDG_RUNTIME_DIR/results

. "$root/bench/sessions.sh"
# One run of the program or of the bare window: WHO SECONDS_OF_TICKING.
run() {
    if [ "$1" = bare ]; then
        echo "bare $("$probe" " Bare window" "$2" "$bare")"
    else
        echo "tarvino $("$probe" " Tarvino 1.1" "$2" "$real")"
    fi
}
for i in $(seq "$pairs"); do
    for who in $(in_turn "$i" tarvino bare); do run "$who" 0 >>"$results"; done
done
for i in 1 2; do
    for who in $(in_turn "$i" tarvino bare); do run "$who" 20 >>"$results.cpu"; done
done

# Under GNOME, whose settings daemon publishes the UI font: the program as it
# starts there, against the same with Qt's GTK theme named, which loads GTK 3.
printf 'Gtk/FontName "DejaVu Sans 10"\n' >"$XDG_RUNTIME_DIR/xsettings.conf"
xsettingsd -c "$XDG_RUNTIME_DIR/xsettings.conf" 2>"$XDG_RUNTIME_DIR/xsettings.log" &
xsettings=$!
for _ in $(seq 100); do grep -q 'Took ownership' "$XDG_RUNTIME_DIR/xsettings.log" && break; sleep 0.1; done
for i in $(seq "$pairs"); do
    for who in $(in_turn "$i" gnome gtk); do
        theme=
        [ "$who" = gtk ] && theme=QT_QPA_PLATFORMTHEME=gtk3
        echo "$who $(env XDG_CURRENT_DESKTOP=GNOME $theme "$probe" " Tarvino 1.1" 0 "$real")" \
            >>"$results.desktop"
    done
done
kill "$xsettings"

# Each desktop's session as it makes one: its name, its settings (the font
# over XSETTINGS, Plasma's kdeglobals), and a session bus on which
# xdg-desktop-portal runs with the backend it picks for that desktop. Each
# against no desktop named, interleaved.
[ -x /usr/libexec/xdg-desktop-portal ] || { echo "bench: needs xdg-desktop-portal" >&2; exit 1; }
plasma_session "$XDG_RUNTIME_DIR/kde"
sessions=(gnome-x11 kde-x11 kde-full xfce portal)
declare -A made=([gnome-x11]="XDG_CURRENT_DESKTOP=GNOME" [xfce]="XDG_CURRENT_DESKTOP=XFCE"
    [kde-x11]="$PLASMA_SESSION"
    [portal]="XDG_CURRENT_DESKTOP=")
made[kde-full]="${made[kde-x11]} QT_QPA_PLATFORMTHEME=kde" # Plasma's whole theme, as before
buses=()
for name in "${sessions[@]}"; do
    read -r address bus < <(env ${made[$name]} dbus-daemon --session --fork --print-address=1 \
        --print-pid=1 | paste -sd ' ')
    buses+=("$bus")
    made[$name]="${made[$name]} DBUS_SESSION_BUS_ADDRESS=$address"
    env ${made[$name]} gdbus call --session --dest org.freedesktop.portal.Desktop \
        --object-path /org/freedesktop/portal/desktop --method org.freedesktop.DBus.Peer.Ping >/dev/null
done
xsettingsd -c "$XDG_RUNTIME_DIR/xsettings.conf" 2>/dev/null &
xsettings=$!
sleep 1
made[none]=""
for i in $(seq "$pairs"); do
    for name in $(in_turn "$i" none "${sessions[@]}"); do
        echo "$name $(env ${made[$name]} "$probe" " Tarvino 1.1" 0 "$real")" >>"$results.sessions"
    done
done
kill "$xsettings"

# A window manager killed outright leaves _NET_SUPPORTED behind: the program's
# first frame then, against the same screen with those properties removed.
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
for _ in $(seq 100); do xprop -root _OB_THEME 2>/dev/null | grep -q = && break; sleep 0.1; done
kill -KILL "$wm"
wait "$wm" 2>/dev/null || true
for i in $(seq "$pairs"); do echo "stale $("$probe" " Tarvino 1.1" 0 "$real")" >>"$results.wm"; done
xprop -root -remove _NET_SUPPORTED -remove _NET_SUPPORTING_WM_CHECK
for i in $(seq "$pairs"); do echo "none $("$probe" " Tarvino 1.1" 0 "$real")" >>"$results.wm"; done

weston --backend=headless-backend.so --socket=tarvino-bench --idle-time=0 >/dev/null 2>&1 &
weston_pid=$!
trap 'kill "$weston_pid" "$XVFB_PID" 2>/dev/null' EXIT
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/tarvino-bench" ] && break; sleep 0.1; done
for i in $(seq "$pairs"); do
    for who in $(in_turn "$i" tarvino bare kde); do
        title=" Tarvino 1.1" program=$real session=
        [ "$who" = bare ] && title=" Bare window" program=$bare
        [ "$who" = kde ] && session=${made[kde-x11]}
        echo "$who $(env -u DISPLAY $session WAYLAND_DISPLAY=tarvino-bench QT_QPA_PLATFORM=wayland \
            "$probe" "$title" 0 "$program")" >>"$results.wayland"
    done
done
kill "${buses[@]}"
# The document portal, started with each session's desktop portal, leaves
# its mount, one over the other.
sleep 1
while findmnt -rn "$XDG_RUNTIME_DIR/doc" >/dev/null; do umount "$XDG_RUNTIME_DIR/doc" || break; done

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
field() { grep "^$1 " "$3" | sed -E "s/.*$2=([0-9.-]+).*/\1/" | median; }
report() { # label, key, file, and the two runs compared (tarvino and bare)
    local a b
    a=$(field "${4:-tarvino}" "$2" "$3")
    b=$(field "${5:-bare}" "$2" "$3")
    printf '%-22s %s %10s   %s %10s   ratio %s\n' "$1" "${4:-tarvino}" "$a" "${5:-bare}" "$b" \
        "$(awk -v a="$a" -v b="$b" 'BEGIN {printf "%.3f", a / b}')"
}
echo "X11, medians of $pairs interleaved runs each:"
report "first frame (ms)" first_frame_ms "$results"
report "peak RSS (KiB)" peak_rss_kib "$results"
echo "X11, medians of 2 runs each, 20 s of ticking:"
report "CPU (ms)" cpu_ms "$results.cpu"
echo "X11, the manager dead against none, medians of $pairs runs each:"
report "first frame (ms)" first_frame_ms "$results.wm" stale none
echo "GNOME's font published, the program against Qt's GTK theme named, medians of $pairs runs each:"
report "first frame (ms)" first_frame_ms "$results.desktop" gnome gtk
report "peak RSS (KiB)" peak_rss_kib "$results.desktop" gnome gtk
echo "Each desktop's session against none named, X11, medians of $pairs interleaved runs each:"
for name in "${sessions[@]}"; do
    report "$name first frame" first_frame_ms "$results.sessions" "$name" none
    report "$name peak RSS" peak_rss_kib "$results.sessions" "$name" none
done
echo "Wayland (weston, headless), medians of $pairs interleaved runs each:"
report "first frame (ms)" first_frame_ms "$results.wayland"
report "peak RSS (KiB)" peak_rss_kib "$results.wayland"
report "kde first frame" first_frame_ms "$results.wayland" kde tarvino
report "kde peak RSS" peak_rss_kib "$results.wayland" kde tarvino
rm -rf "$XDG_RUNTIME_DIR"
bash "$root/bench/gnome_wayland.sh" "$build" "$pairs"
