#include "error_report.h"

#include <QMessageBox>
#include <cstdio>

namespace tarvino::qt {

void reportFailure(std::string_view message, QWidget* parent) {
    std::fprintf(stderr, "%s: %.*s\n", programTitle, static_cast<int>(message.size()),
                 message.data());
    std::fflush(stderr);
    const QString text = QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size()));
    QMessageBox box(QMessageBox::Critical, QString::fromLatin1(programTitle), text, QMessageBox::Ok,
                    parent);
    box.setObjectName(QStringLiteral("errorReport"));
    box.exec();
}

} // namespace tarvino::qt
