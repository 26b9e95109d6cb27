#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private prefix
# (TARVINO_WINEPREFIX, else build/windows/wineprefix beside this script's
# project), creating the prefix on first use.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX=${TARVINO_WINEPREFIX:-$root/build/windows/wineprefix}
export WINEDEBUG=-all
# No Mono or Gecko installers: the program needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
(
    flock 9
    if [ ! -f "$WINEPREFIX/.ready" ]; then
        wineboot -i >/dev/null 2>&1
        # As on Windows, the window's font families exist: fonts-liberation's
        # metric-compatible faces stand in for them.
        for pair in "Times New Roman=Liberation Serif" "Arial=Liberation Sans"; do
            wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${pair%%=*}" \
                /d "${pair#*=}" /f >/dev/null 2>&1
        done
        wineserver -w
        touch "$WINEPREFIX/.ready"
    fi
) 9>"$WINEPREFIX.lock"
exec wine "$@"
