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
title="Tarvino 1.1" version=1.0.0.1
check "version is $version" test "$(dpkg-deb -f "$deb" Version)" = $version
lintian_clean() { lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1; }
check "lintian reports no error or warning" lintian_clean || grep -E '^[EW]:' "$work/lintian.log"

dpkg-deb -x "$deb" "$work/root"
usr=$work/root/usr
for f in bin/tarvino share/applications/com.example.tarvino.desktop \
    share/metainfo/com.example.tarvino.metainfo.xml share/doc/tarvino/copyright \
    share/doc/tarvino/changelog.gz share/doc/tarvino/values.md.gz share/man/man1/tarvino.1.gz; do
    check "installs $f" test -f "$usr/$f"
done
# The name and the version, as every installed text spells them.
while IFS='|' read -r file text; do
    check "$file says '$text'" grep -qF -- "$text" <(zcat -f "$usr/$file")
done <<EOF
share/applications/com.example.tarvino.desktop|Name=$title
share/metainfo/com.example.tarvino.metainfo.xml|<name>$title</name>
share/metainfo/com.example.tarvino.metainfo.xml|<release version="$version"
share/man/man1/tarvino.1.gz|"Tarvino $version" "User Commands"
share/man/man1/tarvino.1.gz|.RB \\(dq " $title" \\(dq
EOF
for size in 16 32 48 64; do
    icon=$usr/share/icons/hicolor/${size}x${size}/apps/tarvino.png
    check "installs a ${size}x${size} icon" \
        test "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x${size}"
done
launcher_valid() { test -z "$(desktop-file-validate "$1" 2>&1)"; }
check "the launcher is valid, without a hint" \
    launcher_valid "$usr/share/applications/com.example.tarvino.desktop"
# Debian 12's validator predates the developer element, which Debian 13's asks for.
appstream_valid() { appstreamcli validate --pedantic --no-net "$1" >"$work/appstream.log" 2>&1 &&
    ! grep -E '^[EWIP]:' "$work/appstream.log" | grep -qv ': unknown-tag developer$'; }
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
# start files carry no CET or BTI marking, so no program linked there is
# marked for control-flow protection as a whole; that our code is built with
# it shows in its landing pads: ENDBR64 on x86-64, BTI and PACIASP on arm64.
arch=$(dpkg-deb -f "$deb" Architecture)
triplet=$(dpkg-architecture -a "$arch" -qDEB_HOST_GNU_TYPE 2>/dev/null)
check "an $arch package holds an $arch program ($(file -b "$usr/bin/tarvino" | cut -d, -f2))" \
    test "$(dpkg-architecture -a "$arch" -qDEB_HOST_GNU_CPU 2>/dev/null)" = \
    "$(file -b "$usr/bin/tarvino" | sed -n 's/.*, x86-64,.*/x86_64/p; s/.*, ARM aarch64,.*/aarch64/p')"
skip=(--nocfprotection)
hardening-check --help 2>&1 | grep -q nobranchprotection && skip+=(--nobranchprotection)
hardening() { hardening-check "${skip[@]}" "$usr/bin/tarvino" >"$work/hardening.log" 2>&1; }
check "hardening-check: PIE, stack protector, fortify, RELRO, BIND_NOW" hardening ||
    sed 's/^/  /' "$work/hardening.log"
"$triplet-objdump" -d "$usr/bin/tarvino" >"$work/code.s"
pads() { grep -cE "$1" "$work/code.s"; }
case $arch in
amd64) check "built with -fcf-protection ($(pads endbr64) ENDBR64 landing pads)" \
    test "$(pads endbr64)" -gt 100 ;;
arm64) check "built with -mbranch-protection=standard ($(pads $'\tbti\tc') BTI landing pads, \
$(pads $'\tpaciasp') PACIASP)" test "$(pads $'\tbti\tc')" -gt 10 -a "$(pads $'\tpaciasp')" -gt 50 ;;
esac
rm -f "$work/code.s"
if [ "$arch" != "$(dpkg --print-architecture)" ]; then
    exit $((failures > 0)) # built for another machine: the emulated program is read elsewhere
fi

# A distribution's own flags win, through the release preset itself: a
# fortify level and an optimisation of the environment's, then all that
# dpkg-buildflags exports for hardening=+all. The program builds with no
# warning, its compile lines carry the environment's level and end with its
# -O, and its link lines end with the environment's LDFLAGS.
source_dir=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$build/CMakeCache.txt")
flags_case() { # name, the fortify option and -O its compile lines must end with, the environment
    local name=$1 fortify=$2 level=$3 dir=$work/$1 built warnings compile last
    shift 3
    (cd "$source_dir" && env "$@" cmake --preset release -B "$dir" -DBUILD_TESTING=OFF \
        -DTARVINO_BENCHMARKS=OFF && env "$@" cmake --build "$dir" --target tarvino) >"$dir.log" 2>&1
    built=$?
    warnings=$(grep -cE 'warning:|error:|CMake Warning' "$dir.log")
    check "$name: the program builds (status $built) with no warning ($warnings)" \
        test "$built" = 0 -a "$warnings" = 0 || grep -E -m5 'warning:|error:|CMake Warning' "$dir.log"
    compile=$(grep -m1 '"command".*app/main.cpp' "$dir/compile_commands.json")
    last=$(grep -oE -- ' -O[^ ]*' <<<"$compile" | tail -n 1)
    check "$name: its $fortify alone, and its $level last (saw:$last)" test "$last" = " $level" -a \
        "$(grep -oE -- '-D_FORTIFY_SOURCE=?[0-9]*' <<<"$compile" | sort -u)" = "$fortify"
}
flags_case fortify3 -D_FORTIFY_SOURCE=3 -O2 CPPFLAGS=-D_FORTIFY_SOURCE=3 CXXFLAGS="-O2 -g" \
    LDFLAGS=-Wl,-z,lazy
check "fortify3: LDFLAGS come after ours" grep -q -- '-Wl,-z,relro,-z,now -Wl,-z,lazy' "$work/fortify3/build.ninja"
exported=()
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh | sed 's/^export /exported+=(/; s/$/)/')"
flags_case dpkg-buildflags "$(printf '%s\n' "${exported[@]}" | grep '^CPPFLAGS=' |
    grep -oE -- '-D_FORTIFY_SOURCE=?[0-9]*')" -O2 "${exported[@]}"
rm -rf "$work/fortify3" "$work/dpkg-buildflags"

echo "# the installed program, end to end:"
bash "$here/window_e2e.sh" "$usr/bin/tarvino" "$build/bench/first_frame" || failures=$((failures + 1))
exit $((failures > 0))
