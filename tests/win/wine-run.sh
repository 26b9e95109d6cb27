#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private prefix
# (TARVINO_WINEPREFIX, else build/windows/wineprefix beside this script's
# project), creating the prefix on first use.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX=${TARVINO_WINEPREFIX:-$root/build/windows/wineprefix}
export WINEDEBUG=-all
# No Mono or Gecko installers: the program needs neither. A test may add its
# own overrides in TARVINO_DLLOVERRIDES.
export WINEDLLOVERRIDES="mscoree,mshtml=${TARVINO_DLLOVERRIDES:+;$TARVINO_DLLOVERRIDES}"
mkdir -p "$WINEPREFIX"
(
    flock 9
    if [ ! -f "$WINEPREFIX/.ready-2" ]; then
        wineboot -i >/dev/null 2>&1
        # As on Windows, the window's font families exist: fonts-liberation's
        # metric-compatible faces stand in for them.
        for pair in "Times New Roman=Liberation Serif" "Arial=Liberation Sans"; do
            wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${pair%%=*}" \
                /d "${pair#*=}" /f >/dev/null 2>&1
        done
        # The message font as wide as Windows 10 and 11's Segoe UI 9 pt, not
        # Wine's narrow Tahoma 8 pt: Liberation Sans 9 pt, 12 pixels at 96 DPI.
        # A LOGFONTW: height -12, weight 400, DEFAULT_CHARSET, the face name.
        face=$(printf 'Liberation Sans' | iconv -t UTF-16LE | od -An -tx1 | tr -d ' \n')
        logfont=f4ffffff000000000000000000000000900100000000000100000000$face
        logfont=$logfont$(printf '%0*d' $((184 - ${#logfont})) 0)
        wine reg add 'HKCU\Control Panel\Desktop\WindowMetrics' /v MessageFont \
            /t REG_BINARY /d "$logfont" /f >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.ready-2"
    fi
) 9>"$WINEPREFIX.lock"
# "wine-run.sh wineserver ..." speaks to this prefix's server.
[ "${1:-}" = wineserver ] && { shift; exec wineserver "$@"; }
exec wine "$@"
