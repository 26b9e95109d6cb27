# The builds that are shipped, the release program (and its package) and the
# Windows program, are hardened and reproducible. Our flags go first: those
# from the environment (CPPFLAGS, CXXFLAGS, LDFLAGS, as dpkg-buildflags
# exports them) are already in CMAKE_CXX_FLAGS and CMAKE_EXE_LINKER_FLAGS, and
# so come after ours and win.
option(TARVINO_SHIPPING "Harden the build and make it reproducible" OFF)
if(NOT TARVINO_SHIPPING)
    return()
endif()

# No build directory in the output: __FILE__ and any debug information name
# paths relative to the source and build trees.
set(compile -fstack-protector-strong
    -ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
    -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)
# A level the environment sets, or unsets, is its own; and glibc warns of
# fortification without optimisation.
if(NOT CMAKE_CXX_FLAGS MATCHES "_FORTIFY_SOURCE" AND NOT tarvino_environment_optimisation STREQUAL "-O0")
    list(APPEND compile -D_FORTIFY_SOURCE=2)
endif()
if(WIN32)
    # Stack protection links libssp, statically. ASLR with 64-bit entropy and
    # DEP are binutils' defaults, stated here so that they stay. No link time
    # in the header, and no debug information (most of it is the static C++
    # library's) in what users download.
    set(link "-Wl,--dynamicbase,--high-entropy-va,--nxcompat,--no-insert-timestamp -s")
else()
    # Control-flow protection as Debian's hardening=+all gives it: CET's
    # landing pads on x86-64, BTI and pointer authentication on arm64.
    if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|amd64|AMD64)$")
        list(APPEND compile -fstack-clash-protection -fcf-protection)
    elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^(aarch64|arm64)$")
        list(APPEND compile -fstack-clash-protection -mbranch-protection=standard)
    endif()
    set(link "-Wl,-z,relro,-z,now")
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
    include(CheckPIESupported)
    check_pie_supported()
endif()
list(JOIN compile " " compile)
# Installed directories, and so the package's, are the same whatever the umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
string(PREPEND CMAKE_CXX_FLAGS "${compile} ")
string(PREPEND CMAKE_EXE_LINKER_FLAGS "${link} ")
