#!/usr/bin/env bash
# The release command, run twice on HEAD in different directories, at
# different times, under another umask, time zone and locale, makes the same
# files byte for byte; and what it makes is what a user is promised.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {
    local what=$1; shift
    if "$@"; then echo "ok - $what"; else echo "not ok - $what"; failures=$((failures + 1)); fi
}

start=$(date +%s)
(umask 022; TZ=UTC LC_ALL=C.UTF-8 bash "$root/scripts/release.sh" "$work/one") >"$work/one.log" 2>&1 ||
    { tail -n 20 "$work/one.log"; echo "not ok - the first release failed"; exit 1; }
(umask 077; TZ=XYZ-14 LC_ALL=C bash "$root/scripts/release.sh" "$work/two") >"$work/two.log" 2>&1 ||
    { tail -n 20 "$work/two.log"; echo "not ok - the second release failed"; exit 1; }
echo "# two releases in $(($(date +%s) - start)) s"

version=$(sed -nE 's/^project\(Tarvino VERSION ([0-9.]+).*/\1/p' "$root/CMakeLists.txt")
debs=("tarvino_${version}_$(dpkg --print-architecture).deb")
[ "$(dpkg --print-architecture)" = amd64 ] && debs+=("tarvino_${version}_arm64.deb")
files=("${debs[@]}" "Tarvino-$version-win64.zip" "tarvino-$version.tar.gz")
for f in "${files[@]}" SHA256SUMS; do
    check "$f is the same both times" cmp -s "$work/one/$f" "$work/two/$f"
done
check "SHA256SUMS lists the ${#files[@]} files and matches them" \
    test "$(cd "$work/one" && sha256sum -c SHA256SUMS 2>/dev/null | grep -c ': OK$')" = ${#files[@]}

zip=$work/one/Tarvino-$version-win64.zip
unzip -Z1 "$zip" >"$work/members" 2>/dev/null
check "the zip holds Tarvino.exe, LICENSE, README.txt and THIRD-PARTY-NOTICES.txt" \
    test "$(paste -sd ' ' "$work/members")" = "Tarvino.exe LICENSE README.txt THIRD-PARTY-NOTICES.txt"
for text in README.txt THIRD-PARTY-NOTICES.txt; do
    unzip -p "$zip" "$text" >"$work/$text"
    lines=$(wc -l <"$work/$text")
    check "$text has Windows line ends only ($lines lines)" \
        test "$lines" -gt 0 -a "$(grep -c $'\r$' "$work/$text")" = "$lines"
done
# What the program links statically, whose licences ask for their notices.
for notice in "the mingw-w64 project" "2. winpthreads" "Lockless Inc." "GCC Runtime Library Exception"; do
    check "the notices name $notice" grep -q "$notice" "$work/THIRD-PARTY-NOTICES.txt"
done
unzip -p "$zip" Tarvino.exe >"$work/Tarvino.exe"
resources() { "${TARVINO_PYTHON:-python3}" "$root/tests/win/check_resource.py" "$work/Tarvino.exe" >"$work/check.log"; }
check "the zip's Tarvino.exe passes the resource and hardening check" resources ||
    grep '^not ok' "$work/check.log"
check "the source tarball is HEAD" \
    cmp -s <(git -C "$root" archive --format=tar --prefix="tarvino-$version/" HEAD) \
    <(gzip -dc "$work/one/tarvino-$version.tar.gz")
exit $((failures > 0))
