#!/usr/bin/env bash
# Installs what is missing, builds every target and runs every test.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/deps.sh
cmake --preset debug
cmake --build --preset debug
ctest --preset debug
