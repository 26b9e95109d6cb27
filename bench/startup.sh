#!/usr/bin/env bash
# Start-up and ticking of the real program against a bare Qt window with the
# same controls and timer, both built on this machine: on a private Xvfb,
# A B A B ... (20 pairs by default), then two 20 s ticking runs of each, then
# the program under GNOME against the same with GTK's theme; the program after
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

for i in $(seq "$pairs"); do
    echo "tarvino $("$probe" " Tarvino 1.1" 0 "$real")" >>"$results"
    echo "bare $("$probe" " Bare window" 0 "$bare")" >>"$results"
done
for i in 1 2; do
    echo "tarvino $("$probe" " Tarvino 1.1" 20 "$real")" >>"$results.cpu"
    echo "bare $("$probe" " Bare window" 20 "$bare")" >>"$results.cpu"
done

# Under GNOME, whose settings daemon publishes the UI font: the program as it
# starts there, against the same with Qt's GTK theme named, which loads GTK 3.
printf 'Gtk/FontName "DejaVu Sans 10"\n' >"$XDG_RUNTIME_DIR/xsettings.conf"
xsettingsd -c "$XDG_RUNTIME_DIR/xsettings.conf" 2>"$XDG_RUNTIME_DIR/xsettings.log" &
xsettings=$!
for _ in $(seq 100); do grep -q 'Took ownership' "$XDG_RUNTIME_DIR/xsettings.log" && break; sleep 0.1; done
for i in $(seq "$pairs"); do
    echo "gnome $(XDG_CURRENT_DESKTOP=GNOME "$probe" " Tarvino 1.1" 0 "$real")" >>"$results.desktop"
    echo "gtk $(XDG_CURRENT_DESKTOP=GNOME QT_QPA_PLATFORMTHEME=gtk3 "$probe" " Tarvino 1.1" 0 "$real")" \
        >>"$results.desktop"
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
    for who in tarvino bare; do
        title=" Tarvino 1.1" program=$real
        [ "$who" = bare ] && title=" Bare window" program=$bare
        echo "$who $(env -u DISPLAY WAYLAND_DISPLAY=tarvino-bench QT_QPA_PLATFORM=wayland \
            "$probe" "$title" 0 "$program")" >>"$results.wayland"
    done
done

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
echo "Wayland (weston, headless), medians of $pairs interleaved runs each:"
report "first frame (ms)" first_frame_ms "$results.wayland"
report "peak RSS (KiB)" peak_rss_kib "$results.wayland"
rm -rf "$XDG_RUNTIME_DIR"
bash "$root/bench/gnome_wayland.sh" "$build" "$pairs"
