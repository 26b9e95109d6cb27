#pragma once

#include "system_info.h"

#include <cstdint>
#include <string_view>

namespace tarvino::linux_drives {

// The first three numbers of a kernel release such as "6.1.0-28-amd64";
// missing ones are 0.
struct KernelRelease {
    std::uint64_t major = 0;
    std::uint64_t minor = 0;
    std::uint64_t patch = 0;
};
KernelRelease parseKernelRelease(std::string_view release);

// The system-information service on Linux, from uname's release: 10 is 4
// (Unix, in the platform-ID numbering), 11 major.minor, 12 the third number.
class LinuxSystemInfo : public SystemInfo {
public:
    double property(int dispatchId) override;
    // The value a release gives for an identifier; separate so it can be tested.
    static double propertyOf(std::string_view release, int dispatchId);
};

} // namespace tarvino::linux_drives
