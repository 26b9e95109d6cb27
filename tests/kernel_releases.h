#pragma once

// Kernel releases as distributions and boards name them, and the version and
// build the OS line shows for each. The live tests derive this machine's by a
// rule of their own, which the table holds to as well.

#include <cstdint>
#include <optional>
#include <regex>
#include <string>
#include <string_view>

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

struct DerivedRelease {
    std::string version;
    std::int32_t build;
};

// The version and build the OS line must show for any release: the leading
// "major.minor", shown as a single-precision number shows it (no trailing
// zero), and the third number where it follows at once. Nothing where the
// release does not start with two numbers.
inline std::optional<DerivedRelease> derivedFrom(std::string_view release) {
    static const std::regex rule(R"(^([0-9]{1,4})\.([0-9]{1,4})(\.([0-9]{1,9}))?)");
    std::match_results<std::string_view::const_iterator> m;
    if (!std::regex_search(release.begin(), release.end(), m, rule)) return std::nullopt;
    std::string minor = m[2].str();
    while (!minor.empty() && minor.back() == '0')
        minor.pop_back();
    std::string version = std::to_string(std::stoi(m[1].str()));
    if (!minor.empty()) version += "." + minor;
    return DerivedRelease{version, m[4].matched ? std::stoi(m[4].str()) : 0};
}

} // namespace tarvino::testing
