#pragma once

#include "drive_service.h"

namespace tarvino::win32 {

// The drive-information service of Windows: the script runtime's
// Scripting.FileSystemObject, created afresh for each service object and
// called late-bound, by name.
class FsoDriveServiceFactory : public DriveServiceFactory {
public:
    std::unique_ptr<DriveService> create() override;
};

} // namespace tarvino::win32
