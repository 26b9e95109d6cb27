#!/usr/bin/env bash
# Gives drive C a known serial with the top bit set and checks the summary
# shows it unsigned. Wine reads the serial from drive_c/.windows-serial when
# its server starts, so the server is restarted around the change.
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
export WINEPREFIX=${TARVINO_WINEPREFIX:-$root/build/windows/wineprefix}
"$here/wine-run.sh" cmd /c exit >/dev/null 2>&1 # make sure the prefix exists
serial_file=$WINEPREFIX/drive_c/.windows-serial
saved=$(cat "$serial_file" 2>/dev/null)
restore() {
    wineserver -k 2>/dev/null
    if [ -n "$saved" ]; then printf '%s\n' "$saved" >"$serial_file"; else rm -f "$serial_file"; fi
}
trap restore EXIT
wineserver -k 2>/dev/null
printf '8badf00d\n' >"$serial_file"
TARVINO_EXPECT_SERIAL=2343432205 "$here/wine-run.sh" "$1" \
    --gtest_filter='Fso.TheDriveSummaryShowsTheSerialUnsigned' 2>&1 |
    tee /dev/stderr | grep -q '^\[  PASSED  \] 1 test'
