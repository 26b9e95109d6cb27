#!/usr/bin/env bash
# Installs what is missing and makes the release downloads in dist/ (or the
# directory given) from a clean tree of HEAD, never from the working tree:
#   tarvino_<version>_<arch>.deb       the Debian package of this machine's
#                                      architecture, and on amd64 the arm64 one too
#   Tarvino-<version>-win64.zip        Tarvino.exe, LICENSE, README.txt and
#                                      THIRD-PARTY-NOTICES.txt (CRLF)
#   tarvino-<version>.tar.gz           the source of HEAD
#   SHA256SUMS
# The same commit gives byte-identical files wherever, whenever and by whom
# it is built: every date is SOURCE_DATE_EPOCH, the last commit's time unless
# the caller sets it.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/deps.sh release
dist=$(realpath -m "${1:-$root/dist}")
# CPack gives the package's ar members the modes they had on disk.
umask 022
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct HEAD)}
[ -z "$(git status --porcelain --untracked-files=no)" ] ||
    echo "note: the release is made from HEAD; uncommitted changes are not in it" >&2
version=$(sed -nE 's/^project\(Tarvino VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
git archive --format=tar --prefix="tarvino-$version/" HEAD | tar -x -C "$work"
src=$work/tarvino-$version

# The shipped programs only: no tests, no benchmarks.
presets=(release)
[ "$(dpkg --print-architecture)" = amd64 ] && presets+=(release-arm64) # cross-built
for preset in "${presets[@]}"; do
    cmake -S "$src" --preset "$preset" -DBUILD_TESTING=OFF -DTARVINO_BENCHMARKS=OFF >/dev/null
    cmake --build "$src/build/$preset"
    (cd "$src" && cpack --config "build/$preset/CPackConfig.cmake" -B build/package >/dev/null)
done
cmake -S "$src" --preset windows -DBUILD_TESTING=OFF >/dev/null
cmake --build "$src/build/windows" --target Tarvino

mkdir -p "$dist"
rm -f "$dist/SHA256SUMS" "$dist"/tarvino_*.deb "$dist"/Tarvino-*-win64.zip "$dist"/tarvino-*.tar.gz
cp "$src"/build/package/tarvino_*.deb "$dist/"
git archive --format=tar.gz --prefix="tarvino-$version/" -o "$dist/tarvino-$version.tar.gz" HEAD
# The zip's members in a fixed order, each dated SOURCE_DATE_EPOCH, with fixed
# modes; the texts with Windows line ends.
python3 - "$dist/Tarvino-$version-win64.zip" "$src" <<'PY'
import os, sys, time, zipfile
out, src = sys.argv[1], sys.argv[2]
stamp = time.gmtime(max(int(os.environ["SOURCE_DATE_EPOCH"]), 315532800))[:6]  # zip dates start in 1980
members = [
    ("Tarvino.exe", open(f"{src}/build/windows/app/Tarvino.exe", "rb").read()),
    ("LICENSE", open(f"{src}/LICENSE", "rb").read()),
    ("README.txt", open(f"{src}/build/windows/app/README.txt", "rb").read().replace(b"\n", b"\r\n")),
    ("THIRD-PARTY-NOTICES.txt",
     open(f"{src}/data/THIRD-PARTY-NOTICES.txt", "rb").read().replace(b"\n", b"\r\n")),
]
with zipfile.ZipFile(out, "w") as archive:
    for name, data in members:
        info = zipfile.ZipInfo(name, stamp)
        info.compress_type = zipfile.ZIP_DEFLATED
        info.create_system = 0  # MS-DOS: no Unix modes
        info.external_attr = 0x20  # archive bit only
        archive.writestr(info, data, compresslevel=9)
PY
(cd "$dist" && sha256sum tarvino_"${version}"_*.deb "Tarvino-$version-win64.zip" \
    "tarvino-$version.tar.gz" >SHA256SUMS)
echo "release $version of $(git rev-parse --short HEAD) in $dist:"
cat "$dist/SHA256SUMS"
