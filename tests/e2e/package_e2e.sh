#!/usr/bin/env bash
# Builds the .deb, checks its metadata and contents, unpacks it into a root of
# its own and runs the installed program end to end.
set -u
build=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {
    local what=$1; shift
    if "$@"; then echo "ok - $what"; else echo "not ok - $what"; failures=$((failures + 1)); fi
}

cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; echo "not ok - cpack failed"; exit 1; }
deb=$(ls "$work"/package/tarvino_*.deb 2>/dev/null | head -n 1)
check "a .deb was built ($(basename "${deb:-none}"))" test -f "$deb"
[ -f "$deb" ] || exit 1
depends=$(dpkg-deb -f "$deb" Depends)
for needed in qt6-wayland fonts-liberation libqt6widgets6 libmount1 libblkid1 libudev1; do
    check "Depends names $needed" grep -q "$needed" <<<"$depends"
done
check "version is 1.0.0.1" test "$(dpkg-deb -f "$deb" Version)" = 1.0.0.1

dpkg-deb -x "$deb" "$work/root"
usr=$work/root/usr
for f in bin/tarvino share/applications/com.example.Tarvino.desktop \
    share/metainfo/com.example.Tarvino.metainfo.xml; do
    check "installs $f" test -f "$usr/$f"
done
for size in 16 32 48 64; do
    icon=$usr/share/icons/hicolor/${size}x${size}/apps/tarvino.png
    check "installs a ${size}x${size} icon" \
        test "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x${size}"
done
check "the launcher is valid" desktop-file-validate "$usr/share/applications/com.example.Tarvino.desktop"
appstream_valid() { appstreamcli validate --no-net "$1" >/dev/null 2>&1; }
check "the AppStream metadata is valid" \
    appstream_valid "$usr/share/metainfo/com.example.Tarvino.metainfo.xml"

echo "# the installed program, end to end:"
bash "$here/window_e2e.sh" "$usr/bin/tarvino" || failures=$((failures + 1))
exit $((failures > 0))
