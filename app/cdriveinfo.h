#pragma once

#include "drive_service.h"
#include "form.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tarvino {

// The information window's logic: its variables and event handlers. The
// toolkit's widgets stay behind the Form interface.
class CDriveInfo {
public:
    CDriveInfo(Form& form, DriveServiceFactory& drives);

    // Window-level variables; all start empty.
    std::optional<std::string> finalStatus;
    std::optional<std::int16_t> xs;
    std::optional<std::int32_t> xe;

    void ShowDriveInfo(const std::string& drvPath);

    void Form_Load();
    void Form_KeyDown(int keyCode, int shift);

private:
    Form& form_;
    DriveServiceFactory& drives_;
};

} // namespace tarvino
