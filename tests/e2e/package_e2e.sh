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
for needed in fonts-liberation fonts-dejavu-core libqt6widgets6 libmount1 libblkid1 libudev1; do
    check "Depends names $needed" grep -q "$needed" <<<"$depends"
done
check "qt6-wayland is recommended, not required" \
    test "$(dpkg-deb -f "$deb" Recommends)" = qt6-wayland -a -z "$(grep qt6-wayland <<<"$depends")"
check "version is 1.0.0.1" test "$(dpkg-deb -f "$deb" Version)" = 1.0.0.1
lintian_clean() { lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1; }
check "lintian reports no error or warning" lintian_clean || grep -E '^[EW]:' "$work/lintian.log"

dpkg-deb -x "$deb" "$work/root"
usr=$work/root/usr
for f in bin/tarvino share/applications/com.example.tarvino.desktop \
    share/metainfo/com.example.tarvino.metainfo.xml share/doc/tarvino/copyright \
    share/doc/tarvino/changelog.gz share/man/man1/tarvino.1.gz; do
    check "installs $f" test -f "$usr/$f"
done
for size in 16 32 48 64; do
    icon=$usr/share/icons/hicolor/${size}x${size}/apps/tarvino.png
    check "installs a ${size}x${size} icon" \
        test "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x${size}"
done
launcher_valid() { test -z "$(desktop-file-validate "$1" 2>&1)"; }
check "the launcher is valid, without a hint" \
    launcher_valid "$usr/share/applications/com.example.tarvino.desktop"
appstream_valid() { appstreamcli validate --pedantic --no-net "$1" >"$work/appstream.log" 2>&1 &&
    ! grep -qE '^[EWIP]:' "$work/appstream.log"; }
check "the AppStream metadata is valid, without a pedantic hint" \
    appstream_valid "$usr/share/metainfo/com.example.tarvino.metainfo.xml"

page=$usr/share/man/man1/tarvino.1.gz
check "the man page renders with a NAME section" \
    grep -q '^NAME' <(MANWIDTH=80 man -l "$page" 2>/dev/null)
check "the man page renders without a warning" \
    test -z "$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)"
check "the copyright file names the MIT (Expat) licence" \
    grep -qx 'License: Expat' "$usr/share/doc/tarvino/copyright"

# What a distribution and a security review ask of the binary. Debian 12's C
# start files carry no CET marking, so no program linked there is marked for
# control-flow protection as a whole; that our code is built with it shows in
# its ENDBR64 landing pads.
hardening() { hardening-check --nocfprotection "$usr/bin/tarvino" >"$work/hardening.log" 2>&1; }
check "hardening-check: PIE, stack protector, fortify, RELRO, BIND_NOW" hardening ||
    sed 's/^/  /' "$work/hardening.log"
pads=$(objdump -d "$usr/bin/tarvino" | grep -c endbr64)
check "built with -fcf-protection ($pads ENDBR64 landing pads)" test "$pads" -gt 100
# A distribution's own flags, as dpkg-buildflags exports them, come after ours.
source_dir=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$build/CMakeCache.txt")
CXXFLAGS="-fno-stack-protector -DFROM_ENV" LDFLAGS="-Wl,-z,lazy" cmake -S "$source_dir" \
    -B "$work/flags" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVINO_SHIPPING=ON \
    -DBUILD_TESTING=OFF >/dev/null 2>&1
compile=$(grep -m1 '"command".*app/main.cpp' "$work/flags/compile_commands.json")
check "CXXFLAGS come after ours" grep -q -- '-fstack-protector-strong .*-fno-stack-protector -DFROM_ENV' <<<"$compile"
check "LDFLAGS come after ours" grep -q -- '-Wl,-z,relro,-z,now -Wl,-z,lazy' "$work/flags/build.ninja"

echo "# the installed program, end to end:"
bash "$here/window_e2e.sh" "$usr/bin/tarvino" || failures=$((failures + 1))
exit $((failures > 0))
