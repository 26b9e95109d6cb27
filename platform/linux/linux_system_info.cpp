#include "linux_system_info.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <stdexcept>
#include <string>
#include <sys/utsname.h>

namespace tarvino::linux_drives {

namespace {
constexpr double unixPlatform = 4;
}

KernelRelease parseKernelRelease(std::string_view release) {
    std::uint64_t numbers[3] = {0, 0, 0};
    const char* p = release.data();
    const char* const end = release.data() + release.size();
    for (std::uint64_t& n : numbers) {
        const auto [next, ec] = std::from_chars(p, end, n);
        if (ec != std::errc() || next == p) {
            n = 0;
            break;
        }
        p = next;
        if (p == end || *p != '.') break;
        ++p;
    }
    return {numbers[0], numbers[1], numbers[2]};
}

double LinuxSystemInfo::propertyOf(std::string_view release, int dispatchId) {
    const KernelRelease k = parseKernelRelease(release);
    switch (dispatchId) {
    case platformId:
        return unixPlatform;
    case versionId:
        return versionNumber(k.major, k.minor);
    case buildId:
        return static_cast<double>(k.patch);
    default:
        throw std::runtime_error("SysInfo: no property with dispatch identifier " +
                                 std::to_string(dispatchId));
    }
}

double LinuxSystemInfo::property(int dispatchId) {
    utsname names{};
    if (uname(&names) != 0) {
        const int err = errno; // before the message is built, which may allocate
        throw std::runtime_error(std::string("SysInfo: uname failed: ") + std::strerror(err));
    }
    return propertyOf(names.release, dispatchId);
}

} // namespace tarvino::linux_drives
