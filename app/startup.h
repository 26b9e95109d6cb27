#pragma once

#include "drive_service.h"
#include "system_info.h"

#include <functional>
#include <memory>

class QApplication;

namespace tarvino {

// The platform services the window reads.
struct Services {
    DriveServiceFactory& drives;
    std::unique_ptr<SystemInfo> sysInfo; // handed to the window as its SysInfo1
};

// Creates the window, loads it, shows it centred and runs it until it closes;
// beforeLoad, where given, is called once the window is made, just before it
// is loaded. Returns the program's exit status: 0 when a key closed it, 1
// when loading failed (after the failure has been reported).
int runInformationWindow(QApplication& app, Services services,
                         const std::function<void()>& beforeLoad = {});

} // namespace tarvino
