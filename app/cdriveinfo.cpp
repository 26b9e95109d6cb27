#include "cdriveinfo.h"

#include "drive_summary.h"

namespace tarvino {

CDriveInfo::CDriveInfo(Form& form, DriveServiceFactory& drives) : form_(form), drives_(drives) {}

void CDriveInfo::ShowDriveInfo(const std::string& drvPath) {
    showDriveInfo(drives_, form_, drvPath, xs, finalStatus);
}

void CDriveInfo::Form_Load() {
    // Each call gets its own temporary, so nothing one does to it reaches the other.
    ShowDriveInfo(std::string("c:"));
}

void CDriveInfo::Form_KeyDown(int /*keyCode*/, int /*shift*/) { form_.unload(); }

} // namespace tarvino
