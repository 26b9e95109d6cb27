#pragma once

#include "drive_service.h"

#include <cstdint>
#include <string>

namespace tarvino::linux_drives {

struct LinuxDriveConfig {
    std::string mountTable = "/proc/self/mountinfo";
    std::string sysRoot = "/sys";
};

// The drive-information service on Linux: drives are lettered from the mount
// table, and each property reads the system only when asked.
class LinuxDriveServiceFactory : public DriveServiceFactory {
public:
    explicit LinuxDriveServiceFactory(LinuxDriveConfig config = {});
    std::unique_ptr<DriveService> create() override;

private:
    LinuxDriveConfig config_;
};

// A volume's size in bytes from statvfs's f_blocks, f_frsize and f_bsize:
// the blocks are counted in fragments, which NFS and XFS can make smaller
// than the preferred block; in blocks where no fragment size is given.
std::uint64_t totalBytes(std::uint64_t blocks, std::uint64_t fragmentSize, std::uint64_t blockSize);

} // namespace tarvino::linux_drives
