# The Debian package: its library dependencies come from dpkg-shlibdeps; the
# fonts the window asks for are added, with Debian's default interface face,
# without which fontconfig's sans-serif can be a monospace face. The Wayland
# platform plugin is recommended: X11 sessions do without it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvino)
set(CPACK_PACKAGE_VENDOR Orlenda)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Summary of drive C and the operating system in one window")
set(CPACK_PACKAGE_DESCRIPTION
    "Tarvino shows the type, serial number, total size and file system of drive C\n(the root file system) and the operating system's platform, version and build,\nabove a scrolling banner. Any key closes it.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Orlenda <tarvino@example.com>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.example.com/tarvino)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# CPack would name the build machine's architecture, not the program's.
if(CMAKE_CROSSCOMPILING AND CMAKE_LIBRARY_ARCHITECTURE)
    execute_process(COMMAND dpkg-architecture -t ${CMAKE_LIBRARY_ARCHITECTURE} -qDEB_HOST_ARCH
        OUTPUT_VARIABLE CPACK_DEBIAN_PACKAGE_ARCHITECTURE OUTPUT_STRIP_TRAILING_WHITESPACE
        ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)
endif()
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_STRIP_FILES ON)
# The package's directories are the same whatever the umask of who builds it.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
