#pragma once

#include <QIcon>

namespace tarvino::qt {

// The program's icon, 32x32 and 16x16, from the shared pixel source.
QIcon programIcon();

} // namespace tarvino::qt
