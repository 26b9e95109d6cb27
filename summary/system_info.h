#pragma once

#include <cstdint>

namespace tarvino {

// The system-information service, read by dispatch identifier:
// 10 the platform, 11 the version, 12 the build. Values are raw numbers;
// converting and formatting them is the caller's business.
class SystemInfo {
public:
    static constexpr int platformId = 10;
    static constexpr int versionId = 11;
    static constexpr int buildId = 12;

    virtual ~SystemInfo() = default;
    // Throws std::runtime_error naming the identifier when it cannot be read.
    virtual double property(int dispatchId) = 0;
};

// The version number read as "major.minor": 6 and 18 give 6.18, 10 and 0 give 10.
double versionNumber(std::uint64_t major, std::uint64_t minor);

} // namespace tarvino
