#pragma once

#include "system_info.h"

#include <string>

namespace tarvino::win32 {

// The system-information control is gone from current systems; its three
// identifiers come from RtlGetVersion, which, unlike GetVersionEx, does not
// lie to programs without a compatibility manifest.
class WinSystemInfo : public SystemInfo {
public:
    double property(int dispatchId) override;
};

// The user's decimal separator (LOCALE_SDECIMAL).
std::string userDecimalSeparator();

} // namespace tarvino::win32
