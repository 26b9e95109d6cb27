#!/usr/bin/env bash
# Installs, with apt-get and only when some are missing, the Debian 12 or 13
# packages one of the three commands needs (through sudo when not root):
#   deps.sh run      build the program and open its window; Xvfb, xdotool and
#                    ImageMagick too when there is no display to open it on
#   deps.sh test     build everything and run every test
#   deps.sh release  make the release downloads
# On amd64, test and release also cross-build for arm64: they add the arm64
# architecture to dpkg and take the arm64 -dev packages beside the amd64 ones.
set -eu
what=${1:-test}
build=(cmake ninja-build g++ pkg-config python3
    qt6-base-dev libwayland-dev libxcb1-dev libmount-dev libblkid-dev libudev-dev)
run=(qt6-wayland fonts-liberation fonts-dejavu-core)
on_xvfb=(xvfb xdotool x11-utils imagemagick)
windows=(g++-mingw-w64-x86-64-posix)
# The release's own clang, whose runtime carries libFuzzer: no version named.
tests=(libgtest-dev libgmock-dev libbenchmark-dev libxdamage-dev googletest
    strace util-linux dpkg-dev file unzip lintian man-db desktop-file-utils appstream devscripts
    weston openbox dbus python3-pyatspi python3-xlib at-spi2-core udev xfsprogs btrfs-progs ntfs-3g fuse-overlayfs
    clang libclang-rt-dev wine wine64 python3-pefile gcovr
    xfwm4 kwin-x11 kwin-wayland kwin-style-breeze mutter sway i3-wm xwayland wtype libglib2.0-bin
    qt6-gtk-platformtheme xsettingsd gsettings-desktop-schemas python3-gi gir1.2-pango-1.0)
# Plasma 6's integration for Qt 6, which Debian 12's Plasma 5 has only for Qt
# 5, and the icons' SVG reader, which every Plasma desktop has.
. /etc/os-release
[ "${VERSION_CODENAME:-}" = bookworm ] || tests+=(plasma-integration qt6-svg-plugins)
arm64_libs=(qt6-base-dev libwayland-dev libxcb1-dev libmount-dev libblkid-dev libudev-dev)

packages=("${build[@]}")
cross=false
[ "$(dpkg --print-architecture)" = amd64 ] && [ "$what" != run ] && cross=true
case $what in
run)
    packages+=("${run[@]}")
    [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || packages+=("${on_xvfb[@]}")
    ;;
test)
    packages+=("${run[@]}" "${on_xvfb[@]}" "${windows[@]}" "${tests[@]}")
    if $cross; then
        packages+=(g++-aarch64-linux-gnu qemu-user)
        for p in "${arm64_libs[@]}" libgtest-dev libgmock-dev; do packages+=("$p:arm64"); done
    fi
    ;;
release)
    packages+=(dpkg-dev file "${windows[@]}")
    if $cross; then
        packages+=(g++-aarch64-linux-gnu)
        for p in "${arm64_libs[@]}"; do packages+=("$p:arm64"); done
    fi
    ;;
*)
    echo "usage: deps.sh run|test|release" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
if $cross && ! dpkg --print-foreign-architectures | grep -qx arm64; then
    "${as_root[@]}" dpkg --add-architecture arm64
fi
"${as_root[@]}" apt-get update -q
if [ "$what" = test ] && [ ! -e /usr/sbin/policy-rc.d ]; then
    # No service a package brings (udev, dbus) is started: the tests start
    # what they need themselves, in namespaces of their own.
    printf '#!/bin/sh\nexit 101\n' | "${as_root[@]}" tee /usr/sbin/policy-rc.d >/dev/null
    "${as_root[@]}" chmod 755 /usr/sbin/policy-rc.d
    trap '"${as_root[@]}" rm -f /usr/sbin/policy-rc.d' EXIT
fi
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
