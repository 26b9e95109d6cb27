#pragma once

#include "drive_service.h"
#include "system_info.h"
#include "window_text.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvino {

// The banner scrolled by the ticker: 23 blanks, the maker's line, one blank.
std::string_view bannerText();

// The word shown for a drive-type code; empty for codes outside 0..5.
std::string_view driveTypeWord(std::int32_t code);

// Fills the drive line and the serial line for the drive holding drvPath,
// restarts the ticker (xs = 1, before anything can fail) and sets the banner.
void showDriveInfo(DriveServiceFactory& services, WindowText& window, const std::string& drvPath,
                   std::optional<std::int16_t>& xs, std::optional<std::string>& finalStatus);

// Fills the total-size, file-system and operating-system lines for the drive
// named by drvPath's drive part; numbers are written with decimalSeparator.
void showFreeSpace(DriveServiceFactory& services, SystemInfo& sysInfo,
                   std::string_view decimalSeparator, WindowText& window,
                   const std::string& drvPath);

} // namespace tarvino
