#pragma once

#include "drive_service.h"

class QApplication;

namespace tarvino {

// The platform services the window reads.
struct Services {
    DriveServiceFactory& drives;
};

// Creates the window, loads it, shows it centred and runs it until it closes.
// Returns the program's exit status: 0 when a key closed it, 1 when loading
// failed (after the failure has been reported).
int runInformationWindow(QApplication& app, const Services& services);

} // namespace tarvino
