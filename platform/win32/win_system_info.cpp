#include "win_system_info.h"

#include "utf.h"

#include <stdexcept>
#include <string>
#include <windows.h>

namespace tarvino::win32 {

namespace {

OSVERSIONINFOW osVersion() {
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto rtlGetVersion = ntdll ? reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(
                                           GetProcAddress(ntdll, "RtlGetVersion")))
                                     : nullptr;
    if (!rtlGetVersion) throw std::runtime_error("SysInfo: RtlGetVersion is not available");
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (rtlGetVersion(&info) != 0) throw std::runtime_error("SysInfo: RtlGetVersion failed");
    return info;
}

} // namespace

double WinSystemInfo::property(int dispatchId) {
    const OSVERSIONINFOW v = osVersion();
    switch (dispatchId) {
    case platformId:
        return v.dwPlatformId;
    case versionId:
        return versionNumber(v.dwMajorVersion, v.dwMinorVersion);
    case buildId:
        return v.dwBuildNumber;
    default:
        throw std::runtime_error("SysInfo: no property with dispatch identifier " +
                                 std::to_string(dispatchId));
    }
}

std::string userDecimalSeparator() {
    wchar_t buffer[8] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) <= 1) return ".";
    return narrow(buffer);
}

} // namespace tarvino::win32
