#pragma once

#include <string>

namespace tarvino::qt {

// The user's decimal separator. Qt reads LC_ALL, LC_NUMERIC and LANG itself,
// so this works even where the C library has no such locale generated.
std::string userDecimalSeparator();

} // namespace tarvino::qt
