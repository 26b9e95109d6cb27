# Sourced by the benchmarks: the order of interleaved runs, and KDE Plasma's
# session as Plasma makes one for a program, in a home of its own.
#
# in_turn N WHO...: the runs of round N, in the order given when N is odd and
# the other way round when it is even. In a fixed order the first place runs
# faster, even with the same program in both (the figures are in
# docs/performance.md).
in_turn() {
    local round=$1
    shift
    if [ $((round % 2)) = 1 ]; then printf '%s\n' "$@"; else printf '%s\n' "$@" | tac; fi
}

# plasma_session DIR writes DIR/.config/kdeglobals
# (a UI font and Breeze) and sets PLASMA_SESSION to the environment Plasma
# gives its programs, with HOME=DIR.
plasma_session() {
    local version=5 # Debian 12's Plasma; 6 from Qt 6.6 on, as Debian 13 has it
    [ "$(printf '%s\n' 6.6 "$(pkg-config --modversion Qt6Core)" | sort -V | head -n 1)" = 6.6 ] &&
        version=6
    mkdir -p "$1/.config"
    printf '[General]\nfont=Noto Sans,10,-1,5,400,0,0,0,0,0,0,0,0,0,0,1\n[KDE]\nwidgetStyle=Breeze\n' \
        >"$1/.config/kdeglobals"
    PLASMA_SESSION="XDG_CURRENT_DESKTOP=KDE KDE_FULL_SESSION=true KDE_SESSION_VERSION=$version HOME=$1"
}
