#include "cdriveinfo.h"

#include "drive_summary.h"
#include "ticker.h"

namespace tarvino {

CDriveInfo::CDriveInfo(Form& form, DriveServiceFactory& drives, std::unique_ptr<SystemInfo> sysInfo,
                       std::string decimalSeparator)
    : form_(form), drives_(drives), SysInfo1(std::move(sysInfo)),
      decimalSeparator_(std::move(decimalSeparator)) {}

void CDriveInfo::ShowDriveInfo(const std::string& drvPath) {
    showDriveInfo(drives_, form_, drvPath, xs, finalStatus);
}

void CDriveInfo::ShowFreeSpace(const std::string& drvPath) {
    showFreeSpace(drives_, *SysInfo1, decimalSeparator_, form_, drvPath);
}

void CDriveInfo::Form_Load() {
    // Each call gets its own temporary, so nothing one does to it reaches the other.
    ShowDriveInfo(std::string("c:"));
    ShowFreeSpace(std::string("c:"));
}

void CDriveInfo::Form_KeyDown(int /*keyCode*/, int /*shift*/) {
    form_.unload();
}

void CDriveInfo::Timer1_Timer() {
    // Form_Load has always set the banner and position before the first tick.
    const std::string_view banner =
        finalStatus ? std::string_view(*finalStatus) : std::string_view();
    ticker::Tick tick = ticker::rotate(banner, xs.value_or(std::int16_t{1}), std::move(tickText_));
    xe = tick.length;
    form_.setText(Control::labelStatus, tick.text);
    xs = tick.next;
    tickText_ = std::move(tick.text);
}

} // namespace tarvino
