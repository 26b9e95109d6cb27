#pragma once

#include <string>
#include <string_view>

namespace tarvino::win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

} // namespace tarvino::win32
