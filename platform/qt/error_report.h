#pragma once

#include "product.h"

#include <string_view>

class QWidget;

namespace tarvino::qt {

inline constexpr const char* programTitle = TARVINO_TITLE;

// Reports a failure that ends the program: one line on stderr and a modal
// message box titled with the program's title.
void reportFailure(std::string_view message, QWidget* parent = nullptr);

} // namespace tarvino::qt
