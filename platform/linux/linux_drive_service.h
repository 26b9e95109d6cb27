#pragma once

#include "drive_service.h"

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

} // namespace tarvino::linux_drives
