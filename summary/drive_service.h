#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace tarvino {

// A drive object handed back by the drive-information service. Each property
// is read afresh from the system on every call; values are raw, unformatted.
class Drive {
public:
    virtual ~Drive() = default;
    virtual std::int32_t driveType() = 0;     // "DriveType": 0 unknown .. 5 RAM disk
    virtual std::string driveLetter() = 0;    // "driveletter": one upper-case letter
    virtual std::uint32_t serialNumber() = 0; // "serialnumber": the volume serial
    virtual std::uint64_t totalSize() = 0;    // "totalsize": capacity in bytes
    virtual std::string fileSystem() = 0;     // "FileSystem": e.g. "NTFS", "ext4"
};

// The drive-information service. Every operation throws std::runtime_error
// with a message naming what failed.
class DriveService {
public:
    virtual ~DriveService() = default;
    virtual std::string getAbsolutePathName(const std::string& path) = 0;
    virtual std::string getDriveName(const std::string& path) = 0;
    virtual std::unique_ptr<Drive> getDrive(const std::string& driveName) = 0;
};

// Creates a fresh service object; each public method of the window makes its own.
class DriveServiceFactory {
public:
    virtual ~DriveServiceFactory() = default;
    virtual std::unique_ptr<DriveService> create() = 0;
};

} // namespace tarvino
