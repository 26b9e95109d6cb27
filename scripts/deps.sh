#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and its tests need,
# only when some are missing. Uses sudo when not run as root.
set -eu
packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-wayland libwayland-dev libmount-dev libblkid-dev libudev-dev
    libgtest-dev libgmock-dev libbenchmark-dev libxdamage-dev
    fonts-liberation
    xvfb xdotool x11-utils imagemagick strace util-linux
    dpkg-dev file unzip lintian man-db desktop-file-utils appstream weston dbus python3-pyatspi at-spi2-core
    clang-14 libfuzzer-14-dev libclang-rt-14-dev
    g++-mingw-w64-x86-64-posix googletest wine wine64 python3-pefile
    libxcb1-dev fonts-dejavu-core openbox udev xfsprogs btrfs-progs ntfs-3g devscripts
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
"${as_root[@]}" apt-get update -q
# No service a package brings (udev, dbus) is started: the tests start what
# they need themselves, in namespaces of their own.
policy=/usr/sbin/policy-rc.d
if [ ! -e "$policy" ]; then
    printf '#!/bin/sh\nexit 101\n' | "${as_root[@]}" tee "$policy" >/dev/null
    "${as_root[@]}" chmod 755 "$policy"
    trap '"${as_root[@]}" rm -f "$policy"' EXIT
fi
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
