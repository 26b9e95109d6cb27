#include "user_locale.h"

#include <QLocale>

namespace tarvino::qt {

std::string userDecimalSeparator() {
    return QLocale::system().decimalPoint().toStdString();
}

} // namespace tarvino::qt
