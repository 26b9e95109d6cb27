#pragma once

#include "drive_service.h"
#include "form.h"
#include "system_info.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tarvino {

// The information window's logic: its variables and event handlers. The
// toolkit's widgets stay behind the Form interface.
class CDriveInfo {
public:
    // sysInfo becomes the window's SysInfo1; decimalSeparator is the user's.
    CDriveInfo(Form& form, DriveServiceFactory& drives, std::unique_ptr<SystemInfo> sysInfo,
               std::string decimalSeparator);

    // Window-level variables; all start empty.
    std::optional<std::string> finalStatus;
    std::optional<std::int16_t> xs;
    std::optional<std::int32_t> xe;

    void ShowDriveInfo(const std::string& drvPath);
    void ShowFreeSpace(const std::string& drvPath);

    void Form_Load();
    void Form_KeyDown(int keyCode, int shift);
    void Timer1_Timer();

private:
    Form& form_;
    DriveServiceFactory& drives_;
    std::unique_ptr<SystemInfo> SysInfo1;
    std::string decimalSeparator_;
    std::string tickText_; // storage reused from tick to tick
};

} // namespace tarvino
