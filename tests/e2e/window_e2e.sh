#!/usr/bin/env bash
# The real program on a private X server: its window, its look, and a key ends
# it; started from a working directory that has since been deleted. Then under
# a window manager that frames it: the frame is what is centred. Then, with the
# manager dead, with its properties left behind: nothing is asked of it.
set -u
program=$(realpath "$1")
probe=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb.sh"
start_xvfb || exit 1
export XDG_RUNTIME_DIR=$(mktemp -d)
failures=0
check() { # description, then a command that must succeed
    local what=$1; shift
    if "$@"; then echo "ok - $what"; else echo "not ok - $what"; failures=$((failures + 1)); fi
}

# A terminal left in a folder that was then removed: drive C needs no working directory.
mkdir "$XDG_RUNTIME_DIR/gone"
(cd "$XDG_RUNTIME_DIR/gone" && rmdir "$XDG_RUNTIME_DIR/gone" && exec "$program") \
    2>"$XDG_RUNTIME_DIR/stderr" &
pid=$!
if ! id=$(wait_for_window " Tarvino 1.1"); then
    echo "not ok - no window appeared (program $(kill -0 "$pid" 2>/dev/null && echo running || echo gone))"
    xdotool search --name . 2>/dev/null | while read -r w; do echo "  window $w: '$(xdotool getwindowname "$w")'"; done
    sed 's/^/  stderr: /' "$XDG_RUNTIME_DIR/stderr"
    kill "$pid"
    exit 1
fi
geometry=$(xwininfo -id "$id")
width=$(awk '/Width:/ {print $2}' <<<"$geometry")
height=$(awk '/Height:/ {print $2}' <<<"$geometry")
left=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$geometry")
top=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$geometry")
check "window is 292x116 (saw ${width}x${height})" test "$width" = 292 -a "$height" = 116
check "window is centred on the 1280x800 screen (saw $left,$top)" \
    test $((left + width / 2 - 640)) -ge -1 -a $((left + width / 2 - 640)) -le 1 \
    -a $((top + height / 2 - 400)) -ge -1 -a $((top + height / 2 - 400)) -le 1
drivers=$(gl_drivers_mapped "$pid")
check "no GL driver is mapped (saw: ${drivers:-none})" test -z "$drivers"
check "caption is ' Tarvino 1.1'" test "$(xdotool getwindowname "$id")" = " Tarvino 1.1"

sleep 0.5
shot=${TARVINO_SCREENSHOT:-$XDG_RUNTIME_DIR/window.png}
import -window "$id" "$shot"
pixel() { convert "$shot" -format "%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]" \
    -crop "1x1+$1+$2" info:; }
check "ground is black (saw $(pixel 150 70))" test "$(pixel 150 70)" = "0,0,0"
check "value column is gray (saw $(pixel 280 80))" test "$(pixel 280 80)" = "128,128,128"
yellow=$(convert "$shot" -crop 97x16+186+10 +repage -fill black +opaque "rgb(255,255,0)" \
    -format "%[fx:int(mean*w*h*3)]" info:)
check "drive line carries yellow text" test "${yellow:-0}" -gt 0
# As drawn, not as measured: no value reaches the last pixel column of its
# label, where one too wide for its font would be cut.
edge=$(convert "$shot" -crop 1x80+282+10 +repage -fill black -opaque "rgb(128,128,128)" \
    -fill white +opaque black -format "%[fx:int(mean*w*h)]" info:)
check "no value is cut at the right ($edge pixels of text in the last column)" test "${edge:-1}" = 0

box() { import -window "$id" -crop 277x19+6+93 +repage "$1"; }
box "$XDG_RUNTIME_DIR/box1.png"
for _ in $(seq 50); do # ticks as late as a busy machine makes them
    sleep 0.2
    box "$XDG_RUNTIME_DIR/box2.png"
    changed=$(compare -metric AE "$XDG_RUNTIME_DIR/box1.png" "$XDG_RUNTIME_DIR/box2.png" null: 2>&1)
    [ "${changed%% *}" -gt 0 ] 2>/dev/null && break
done
check "the banner moves: $changed pixels differ" test "${changed%% *}" -gt 0 2>/dev/null
lit=$(convert "$XDG_RUNTIME_DIR/box2.png" -fill black +opaque "rgb(255,255,192)" \
    -format "%[fx:int(mean*w*h*3)]" info:)
check "the banner is drawn in its light yellow" test "${lit:-0}" -gt 0

# What the kernel holds for the session's signals: hex masks, bit n-1 for signal n.
signal_mask() { printf '%d' "0x$(awk -v m="$1:" '$1 == m {print $2}' "/proc/$2/status")"; }
caught=$(signal_mask SigCgt "$pid")
check "hangup, interrupt and terminate close it, as the session asks" test $((caught & 0x4003)) = $((0x4003))

xdotool windowfocus --sync "$id" 2>/dev/null; xdotool key shift
ended_status "$pid"
status=$?
check "shift ends it with status 0 (saw $status)" test "$status" = 0
[ -s "$XDG_RUNTIME_DIR/stderr" ] && sed 's/^/  stderr: /' "$XDG_RUNTIME_DIR/stderr"

# "nohup tarvino &", or a background job: the signals ignored on entry stay
# ignored, so that the window outlives its terminal; terminate is still heard.
sh -c "trap '' HUP INT; exec \"\$0\"" "$program" 2>/dev/null &
pid=$!
if wait_for_window " Tarvino 1.1" >/dev/null; then
    kill -HUP "$pid"
    kill -INT "$pid"
    ignored=$(signal_mask SigIgn "$pid") caught=$(signal_mask SigCgt "$pid")
    check "under nohup, hangup and interrupt stay ignored and terminate is caught" \
        test $((ignored & 3)) = 3 -a $((caught & 0x4003)) = $((0x4000))
    kill -TERM "$pid"
else
    check "under nohup the window appears" false
fi
ended_status "$pid"
status=$?
check "under nohup terminate ends it with status 0 (saw $status)" test "$status" = 0

# The start-up benchmark's probe, once, so that it cannot rot unseen: it
# must see the program's first frame. No time is judged here.
if [ -n "$probe" ]; then
    seen=$("$probe" " Tarvino 1.1" 0 "$program" 2>&1)
    check "the first-frame probe sees the first frame ($seen)" grep -q '^first_frame_ms=' <<<"$seen"
fi

# Under GNOME, whose settings daemon publishes the UI font over XSETTINGS:
# $1 names the run, the rest is its environment. Prints how many of GTK 3's
# mappings the program has; its drawn value column is kept as $1.png.
gnome_run() {
    local name=$1 id pid gtk=none
    shift
    env XDG_CURRENT_DESKTOP=GNOME "$@" "$program" 2>"$XDG_RUNTIME_DIR/$name.err" &
    pid=$!
    if id=$(wait_for_window " Tarvino 1.1"); then
        wait_for_values "$id" "$XDG_RUNTIME_DIR/$name.png"
        gtk=$(grep -c 'libgtk-3' "/proc/$pid/maps")
    fi
    kill "$pid"
    wait "$pid" 2>/dev/null
    echo "$gtk"
}
printf 'Gtk/FontName "DejaVu Serif 13"\n' >"$XDG_RUNTIME_DIR/xsettings.conf"
xsettingsd -c "$XDG_RUNTIME_DIR/xsettings.conf" 2>"$XDG_RUNTIME_DIR/xsettings.log" &
xsettings=$!
for _ in $(seq 100); do grep -q 'Took ownership' "$XDG_RUNTIME_DIR/xsettings.log" && break; sleep 0.1; done
themed=$(gnome_run themed QT_QPA_PLATFORMTHEME=gtk3)
published=$(gnome_run published XDG_CURRENT_DESKTOP=ubuntu:GNOME) # as Ubuntu names it
plain=$(gnome_run plain XDG_CURRENT_DESKTOP=)
check "under GNOME with its font published, GTK is not loaded ($published mappings; $themed when the user names Qt's GTK theme)" \
    test "$published" = 0 -a "$themed" != none -a "$themed" != 0
check "under GNOME the values are drawn as under Qt's GTK theme ($(differing themed published) pixels differ; $(differing plain published) from no desktop's)" \
    test "$(differing themed published)" = 0 -a "$(differing plain published)" != 0
check "under GNOME with its font published, nothing is said on stderr ($(head -c 80 "$XDG_RUNTIME_DIR/published.err"))" \
    test ! -s "$XDG_RUNTIME_DIR/published.err"
kill "$xsettings"
wait "$xsettings" 2>/dev/null
# Before gsd-xsettings publishes it (Xwayland started for this very program),
# the font GNOME keeps in GSettings, here in GIO's keyfile backend, gives it.
mkdir -p "$XDG_RUNTIME_DIR/config/glib-2.0/settings"
printf "[org/gnome/desktop/interface]\nfont-name='DejaVu Serif 13'\n" \
    >"$XDG_RUNTIME_DIR/config/glib-2.0/settings/keyfile"
kept=$(gnome_run kept GSETTINGS_BACKEND=keyfile XDG_CONFIG_HOME="$XDG_RUNTIME_DIR/config")
check "under GNOME with no font published, its setting gives it without GTK ($kept mappings; \
$(differing themed kept) pixels differ from GTK's theme's; stderr: $(head -c 80 "$XDG_RUNTIME_DIR/kept.err"))" \
    test "$kept" = 0 -a "$(differing themed kept)" = 0 -a ! -s "$XDG_RUNTIME_DIR/kept.err"
unpublished=$(gnome_run unpublished XDG_DATA_DIRS="$XDG_RUNTIME_DIR/none")
check "under GNOME with no font published nor GNOME's settings, Qt's GTK theme gives it ($unpublished mappings)" \
    test "$unpublished" != none -a "$unpublished" != 0

# On a session bus of its own, watched: the program asks nothing of the
# desktop portal, which the bus would start for it where it is not running.
read -r bus bus_pid < <(dbus-daemon --session --fork --print-address=1 --print-pid=1 | paste -sd ' ')
DBUS_SESSION_BUS_ADDRESS=$bus dbus-monitor --session >"$XDG_RUNTIME_DIR/bus.log" 2>&1 &
monitor=$!
for _ in $(seq 50); do grep -q 'member=NameAcquired' "$XDG_RUNTIME_DIR/bus.log" && break; sleep 0.1; done
DBUS_SESSION_BUS_ADDRESS=$bus "$program" 2>/dev/null &
pid=$!
id=$(wait_for_window " Tarvino 1.1") && { xdotool windowfocus --sync "$id" 2>/dev/null; xdotool key q; }
ended_status "$pid"
kill "$monitor" "$bus_pid"
wait "$monitor" 2>/dev/null
heard() { grep -c "$1" "$XDG_RUNTIME_DIR/bus.log"; }
check "on a session bus ($(heard 'member=Hello') connected), it asks nothing of the desktop portal \
($(heard 'destination=org.freedesktop.portal.Desktop') calls)" \
    test "$(heard 'member=Hello')" -ge 1 -a "$(heard 'destination=org.freedesktop.portal.Desktop')" = 0

# What the program asks of the window manager, as a listener on the root
# window sees it: the request for frame extents is a client message sent there.
# It listens from the moment a property it sees set on the root window shows.
listen_to_root() {
    stdbuf -oL xev -root -event substructure -event property >"$XDG_RUNTIME_DIR/root.log" 2>&1 &
    listener=$!
    for _ in $(seq 100); do
        xprop -root -f _TARVINO_LISTENING 8s -set _TARVINO_LISTENING yes
        grep -q '(_TARVINO_LISTENING)' "$XDG_RUNTIME_DIR/root.log" && return 0
        sleep 0.1
    done
    return 1
}
# Stops the listener once it has printed all it heard: a property set now
# comes after every event before it. Then counts the requests for frame
# extents it heard. Not in a subshell, which could not wait for it.
stop_listener() {
    xprop -root -f _TARVINO_HEARD 8s -set _TARVINO_HEARD yes
    for _ in $(seq 100); do grep -q '(_TARVINO_HEARD)' "$XDG_RUNTIME_DIR/root.log" && break; sleep 0.1; done
    kill "$listener" 2>/dev/null
    wait "$listener" 2>/dev/null
    requests=$(grep -c '(_NET_REQUEST_FRAME_EXTENTS)' "$XDG_RUNTIME_DIR/root.log")
}
# The program started while the listener hears: $pid is the program, $id its
# window once it shows.
start_listened() {
    check "a listener on the root window hears it" listen_to_root
    env ${STARTUP_ID:+DESKTOP_STARTUP_ID=$STARTUP_ID} "$program" 2>"$XDG_RUNTIME_DIR/stderr" &
    pid=$!
    id=$(wait_for_window " Tarvino 1.1")
}

# How far the frame that the manager names around window $1 is off the centre
# of the work area, doubled, and its top: "dx dy top". Nothing while unnamed.
frame_off() {
    local geometry left right top bottom area_x area_y area_w area_h x y
    read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS | tr -d , |
        awk '/=/ {print $3, $4, $5, $6}')
    [ -n "$bottom" ] || return 1
    read -r area_x area_y area_w area_h < <(xprop -root _NET_WORKAREA | tr -d , | awk '{print $3, $4, $5, $6}')
    geometry=$(xwininfo -id "$1")
    x=$(($(awk '/Absolute upper-left X:/ {print $4}' <<<"$geometry") - left))
    y=$(($(awk '/Absolute upper-left Y:/ {print $4}' <<<"$geometry") - top))
    echo "$((2 * x + 292 + left + right - 2 * area_x - area_w)) $((2 * y + 116 + top + bottom - 2 * area_y - area_h)) $top"
}
centred() { [ "${1#-}" -le 2 ] && [ "${2#-}" -le 2 ]; } 2>/dev/null

# Openbox reparents the window into a frame with a title bar, as the big
# desktops' X11 sessions do. It has started once it names its theme.
openbox --sm-disable >"$XDG_RUNTIME_DIR/openbox.log" 2>&1 &
wm=$!
for _ in $(seq 100); do xprop -root _OB_THEME 2>/dev/null | grep -q = && break; sleep 0.1; done
# Started from a launcher, which named the start-up (and shows a busy cursor
# until it ends): the program ends it once its window shows.
if STARTUP_ID=tarvino-launch-1 start_listened; then
    stop_listener
    check "under openbox it asks for its frame once ($requests requests)" test "$requests" = 1
    check "it ends the launcher's start-up notification" \
        grep -q '(_NET_STARTUP_INFO_BEGIN)' "$XDG_RUNTIME_DIR/root.log"
    for _ in $(seq 50); do xprop -id "$id" _NET_FRAME_EXTENTS | grep -q = && break; sleep 0.1; done
    read -r dx dy top < <(frame_off "$id")
    check "under openbox the frame, with its title bar of $top px, is centred (off by $dx/2, $dy/2 px)" \
        centred "$dx" "$dy"
    xdotool windowfocus --sync "$id" 2>/dev/null; xdotool key q
else
    stop_listener
    check "under openbox the window appears" false
fi
ended_status "$pid"
status=$?
check "under openbox a key ends it with status 0 (saw $status)" test "$status" = 0
# A manager that died leaves _NET_SUPPORTED on the root window, but no check
# window that names itself: nothing is asked of it, so nothing is waited for,
# and the window is centred as with no manager.
exec 3>&2 2>/dev/null # not the shell's word on how it ended
kill -KILL "$wm"
wait "$wm"
exec 2>&3 3>&-
if xprop -root _NET_SUPPORTED | grep -q _NET_REQUEST_FRAME_EXTENTS; then
    if start_listened; then
        stop_listener
        check "after the manager died, nothing is asked of it ($requests requests)" test "$requests" = 0
        geometry=$(xwininfo -id "$id")
        left=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$geometry")
        top=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$geometry")
        check "after the manager died, the window is centred (saw $left,$top)" \
            test $((left + 146 - 640)) -ge -1 -a $((left + 146 - 640)) -le 1 \
            -a $((top + 58 - 400)) -ge -1 -a $((top + 58 - 400)) -le 1
        xdotool key q
    else
        stop_listener
        check "after the manager died, the window appears" false
    fi
    ended_status "$pid"
else
    check "the killed manager left _NET_SUPPORTED behind" false
fi

# Managers whose estimate is not the frame they draw, naming the one drawn as
# they map the window or a while after: the window is moved once, to centre it.
for when in before-map after-map; do
    "${TARVINO_PYTHON:-python3}" "$here/frame_manager.py" 2,2,10,2 6,6,30,6 "$when" \
        >"$XDG_RUNTIME_DIR/manager.log" 2>&1 &
    wm=$!
    for _ in $(seq 100); do grep -q managing "$XDG_RUNTIME_DIR/manager.log" && break; sleep 0.1; done
    "$program" 2>"$XDG_RUNTIME_DIR/stderr" &
    pid=$!
    if id=$(wait_for_window " Tarvino 1.1"); then
        dx= dy= top=
        for _ in $(seq 50); do # until the frame drawn is named, and the window moved
            read -r dx dy top < <(frame_off "$id")
            [ "$top" = 30 ] && centred "$dx" "$dy" && break
            sleep 0.1
        done
        check "a frame drawn other than estimated, named $when, is centred (off by $dx/2, $dy/2 px; top $top px)" \
            test "$top" = 30 -a "${dx#-}" -le 2 -a "${dy#-}" -le 2
        xdotool windowfocus --sync "$id" 2>/dev/null; xdotool key q
    else
        check "under a manager that names the frame drawn $when, the window appears" false
        sed 's/^/  manager: /' "$XDG_RUNTIME_DIR/manager.log"
    fi
    ended_status "$pid"
    kill "$wm"
    wait "$wm" 2>/dev/null
done
rm -rf "$XDG_RUNTIME_DIR"
exit $((failures > 0))
