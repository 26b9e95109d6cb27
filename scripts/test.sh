#!/usr/bin/env bash
# Installs what is missing, builds every target and runs every test: the
# Linux program natively (release, with its Debian package); on amd64 the
# arm64 program too, cross-built and run under qemu-user; again with
# AddressSanitizer and UndefinedBehaviorSanitizer; with gcov's counts, whose
# lines covered per directory it prints; the fuzz targets briefly;
# then the Windows program and its tests under Wine; last, the release
# command twice, whose downloads must be the same byte for byte.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/deps.sh test
presets=(release)
[ "$(dpkg --print-architecture)" = amd64 ] && presets+=(release-arm64)
presets+=(asan coverage fuzz windows)
for preset in "${presets[@]}"; do
    cmake --preset "$preset"
    cmake --build --preset "$preset"
    if [ "$preset" = coverage ]; then
        # The real program runs as nobody too: its line counts must land.
        find build/coverage -name '*.gcda' -delete
        chmod -R a+rwX build/coverage
        (umask 0 && ctest --preset coverage)
        cmake --build --preset coverage --target coverage_report
        continue
    fi
    if [ "$preset" = windows ] && [ "$(dpkg --print-architecture)" != amd64 ]; then
        echo "Wine runs x86-64 Windows programs only on an x86-64 machine: the Windows tests are not run"
        continue
    fi
    ctest --preset "$preset"
done
# The Python the Windows build found, which reads its resources.
TARVINO_PYTHON=$(sed -n 's/^Python3_EXECUTABLE:[A-Z]*=//p' build/windows/CMakeCache.txt) \
    bash tests/e2e/reproducible.sh
