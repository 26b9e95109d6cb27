#!/usr/bin/env bash
# Installs what is missing, builds every target and runs every test: the
# Linux program natively (release, with its Debian package), again with
# AddressSanitizer and UndefinedBehaviorSanitizer, the fuzz targets briefly,
# then the Windows program and its tests under Wine; last, the release
# command twice, whose downloads must be the same byte for byte.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/deps.sh
for preset in release asan fuzz windows; do
    cmake --preset "$preset"
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done
bash tests/e2e/reproducible.sh
