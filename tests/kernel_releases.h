#pragma once

// Kernel releases as distributions and boards name them, and the version and
// build the OS line shows for each.

#include <cstdint>

namespace tarvino::testing {

struct KernelReleaseCase {
    const char* release;
    const char* version; // as the OS line shows it, with a point
    std::int32_t build;
};

inline constexpr KernelReleaseCase kernelReleases[] = {
    {"6.6.31+rpt-rpi-v8", "6.6", 31},    // Raspberry Pi OS
    {"6.8.0+", "6.8", 0},                // a kernel built from a tree with changes
    {"6.12.48+deb13-amd64", "6.12", 48}, // Debian 13
    {"5.15.0-91-generic", "5.15", 0},    // Ubuntu 22.04: its own ABI number, not the patch
    {"6.1.0-28-amd64", "6.1", 0},        // Debian 12: likewise
    {"4.19.0", "4.19", 0},
    {"6.18.44-fc-v1300", "6.18", 44}, // this project's machines
    {"6.18.44-fc-v1272", "6.18", 44},
    {"6.10", "6.1", 0}, // the known limit: a single-precision version has no trailing zero
    {"6.18-rc3", "6.18", 0},
    {"5.4.290-1.el8.elrepo.x86_64", "5.4", 290},
};

} // namespace tarvino::testing
