# Cross-compiles for 64-bit Arm on an amd64 Debian, with its multiarch
# packages: g++-aarch64-linux-gnu and the :arm64 -dev packages.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
# pkg-config would otherwise take the build machine's .pc files, silently.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
# Tests, and GoogleTest's discovery of them, run under user-mode emulation;
# the arm64 loader and libraries are where multiarch installs them.
find_program(TARVINO_QEMU qemu-aarch64)
if(TARVINO_QEMU)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${TARVINO_QEMU})
endif()
