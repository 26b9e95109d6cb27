#pragma once

#include <cstdint>
#include <oaidl.h>
#include <string>

namespace tarvino::win32 {

// Conversions of the VARIANTs the file-system object hands back. Each throws
// std::runtime_error naming `what` when the variant holds something else.
std::int32_t toInt32(const VARIANT& v, const char* what);
// Serial numbers come as signed VT_I4; the volume serial is its bit pattern.
std::uint32_t toSerial(const VARIANT& v, const char* what);
// Sizes come as VT_I4 or VT_R8, or VT_I8/VT_UI8/VT_DECIMAL.
std::uint64_t toByteCount(const VARIANT& v, const char* what);
std::string toText(const VARIANT& v, const char* what);

} // namespace tarvino::win32
