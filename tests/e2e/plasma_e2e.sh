#!/usr/bin/env bash
# The real program under KDE Plasma, on a private X server, with a font and
# the style named in kdeglobals: drawn pixel for pixel as under Plasma's full
# integration, and, where Plasma's theme for this Qt is installed, without it.
set -u
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb.sh"
start_xvfb || exit 1
export XDG_RUNTIME_DIR=$(mktemp -d) HOME=$(mktemp -d) XDG_CONFIG_DIRS=/nonexistent
trap 'kill "$XVFB_PID" 2>/dev/null; rm -rf "$XDG_RUNTIME_DIR" "$HOME"' EXIT
failures=0
check() { # description, then a command that must succeed
    local what=$1; shift
    if "$@"; then echo "ok - $what"; else echo "not ok - $what"; failures=$((failures + 1)); fi
}
mkdir -p "$HOME/.config"
# Plasma 6 gives its theme for Qt 6; Debian 12's Plasma 5 only for Qt 5, and
# there Qt's own KDE theme reads kdeglobals.
qt=$(pkg-config --modversion Qt6Core)
plasma=5
[ "$(printf '%s\n' 6.6 "$qt" | sort -V | head -n 1)" = 6.6 ] && plasma=6
# The environment Plasma gives its programs, and the same with no desktop named.
kde=(XDG_CURRENT_DESKTOP=KDE KDE_FULL_SESSION=true KDE_SESSION_VERSION=$plasma)
no_desktop=(XDG_CURRENT_DESKTOP= KDE_FULL_SESSION= KDE_SESSION_VERSION=)
settings() { printf '[General]\nfont=DejaVu Serif,11,-1,5,400,0,0,0,0,0,0,0,0,0,0,1\n\n[KDE]\nwidgetStyle=%s\n' \
    "$1" >"$HOME/.config/kdeglobals"; }

# $1 names the run, the rest is its environment. Once the values are drawn,
# keeps 12 shots of the window, 0.1 s apart, as $1-N.png, the banner moving
# between them; prints how many mappings of Plasma's theme the program has.
plasma_run() {
    local name=$1 id pid theme=none n
    shift
    env "${kde[@]}" "$@" "$program" 2>>"$XDG_RUNTIME_DIR/plasma.err" &
    pid=$!
    if id=$(wait_for_window " Tarvino 1.1"); then
        wait_for_values "$id" "$XDG_RUNTIME_DIR/values.png"
        for n in $(seq 12); do
            import -window "$id" "$XDG_RUNTIME_DIR/$name-$n.png"
            sleep 0.1
        done
        theme=$(grep -c 'KDEPlasmaPlatformTheme' "/proc/$pid/maps")
    fi
    kill "$pid"
    wait "$pid" 2>/dev/null
    echo "$theme"
}
# How many of run $2's shots are drawn as one of run $1's, pixel for pixel.
# Where the two draw the banner's box or the values differently, at most one
# or two are, at a place in the banner where the box shows little of it
# (seen with Fusion against Breeze: 1 of 12); where they draw alike, most are.
same_shots() {
    local a b n=0
    for b in "$XDG_RUNTIME_DIR/$2"-*.png; do
        for a in "$XDG_RUNTIME_DIR/$1"-*.png; do
            [ "$(compare -metric AE "$a" "$b" null: 2>&1)" = 0 ] && { n=$((n + 1)); break; }
        done
    done
    echo "$n"
}

# How often the program, until its values are drawn, looks into KDE's icon
# theme, which only KDE's icon loader reads as it is made.
icon_theme_reads() {
    local id pid
    env "${kde[@]}" "$@" \
        strace -f -qq -e trace=%file -o "$XDG_RUNTIME_DIR/files" "$program" >/dev/null 2>&1 &
    pid=$!
    id=$(wait_for_window " Tarvino 1.1") && wait_for_values "$id" "$XDG_RUNTIME_DIR/values.png"
    # strace leaves its program running when it is stopped itself.
    kill "$(xdotool getwindowpid "$id")" 2>/dev/null || kill "$pid"
    wait "$pid" 2>/dev/null
    [ -n "$id" ] && grep -c '/icons/breeze' "$XDG_RUNTIME_DIR/files"
}

settings Breeze
full=$(plasma_run full QT_QPA_PLATFORMTHEME=kde) # the user's theme named: Plasma's, all of it
light=$(plasma_run light)
[ "$plasma" = 6 ] && reads=$(icon_theme_reads) full_reads=$(icon_theme_reads QT_QPA_PLATFORMTHEME=kde)
plain=$(plasma_run plain "${no_desktop[@]}")
overridden=$(plasma_run overridden QT_STYLE_OVERRIDE=Windows)
settings Fusion
fusion=$(plasma_run fusion)
check "under KDE the window is drawn as under Plasma's full integration ($(same_shots full light) of 12 shots alike; $(same_shots plain light) alike with no desktop named)" \
    test "$(same_shots full light)" -gt 6 -a "$(same_shots plain light)" -le 2
check "nothing is said of kdeglobals, of which the user's alone is there" \
    test -z "$(grep kdeglobals "$XDG_RUNTIME_DIR/plasma.err")"
check "the user's QT_STYLE_OVERRIDE wins ($(same_shots light overridden) of 12 shots as with Breeze)" \
    test "$(same_shots light overridden)" -le 2 -a "$overridden" != none

if [ "$plasma" = 6 ]; then
    check "with Breeze, Plasma's theme is not loaded ($light mappings; $full with the theme named)" \
        test "$light" = 0 -a "$full" != none -a "$full" -gt 0
    check "with Breeze alone, KDE's icon theme is not read before the values are drawn ($reads reads; $full_reads with Plasma's theme)" \
        test "$reads" = 0 -a "${full_reads:-0}" -gt 0
    check "with the style named by the user or another in kdeglobals, Plasma's theme is loaded ($overridden and $fusion mappings)" \
        test "$overridden" -gt 0 -a "$fusion" -gt 0
else
    check "with Qt $qt, no Plasma theme for it is loaded ($light, $full mappings)" \
        test "$light" = 0 -a "$full" = 0
fi
# The failure report too, whose icon is the icon theme's: as the failure tests
# make it, with the mount table unreadable to the program.
report_shot() { # $1 names the shot, the rest is the environment
    local name=$1 id pid n
    shift
    env "${kde[@]}" "$@" \
        unshare --mount sh -c 'mount --bind "$1" /proc/$$/mountinfo &&
        exec setpriv --bounding-set=-all --inh-caps=-all "$2"' sh "$XDG_RUNTIME_DIR/unreadable" \
        "$program" 2>>"$XDG_RUNTIME_DIR/plasma.err" &
    pid=$!
    if id=$(wait_for_window "Tarvino 1.1"); then
        for n in $(seq 20); do # until drawn: two shots alike
            import -window "$id" "$XDG_RUNTIME_DIR/$name-$((n % 2)).png"
            [ "$n" -gt 1 ] && [ "$(differing "$name-0" "$name-1")" = 0 ] && break
            sleep 0.2
        done
    fi
    kill "$pid"
    wait "$pid" 2>/dev/null
}
if [ "$(id -u)" = 0 ] && unshare --mount true 2>/dev/null; then
    settings Breeze
    : >"$XDG_RUNTIME_DIR/unreadable"
    chmod 000 "$XDG_RUNTIME_DIR/unreadable"
    report_shot report-full QT_QPA_PLATFORMTHEME=kde
    report_shot report-light
    report_shot report-plain "${no_desktop[@]}"
    check "the failure report is drawn as under Plasma's full integration ($(differing report-full-0 report-light-0) pixels differ; $(differing report-plain-0 report-light-0) from no desktop's)" \
        test "$(differing report-full-0 report-light-0)" = 0 -a "$(differing report-plain-0 report-light-0)" != 0
else
    echo "skip - the failure report: needs root and mount namespaces"
fi
[ "$failures" -eq 0 ] || sed 's/^/  stderr: /' "$XDG_RUNTIME_DIR/plasma.err" | sort -u | head -n 20
exit $((failures > 0))
