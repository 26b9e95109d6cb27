#pragma once

#include "drive_service.h"
#include "system_info.h"

#include <memory>

class QApplication;

namespace tarvino {

// The platform services the window reads.
struct Services {
    DriveServiceFactory& drives;
    std::unique_ptr<SystemInfo> sysInfo; // handed to the window as its SysInfo1
};

// Creates the window, loads it, shows it centred and runs it until it closes.
// Returns the program's exit status: 0 when a key closed it, 1 when loading
// failed (after the failure has been reported).
int runInformationWindow(QApplication& app, Services services);

} // namespace tarvino
