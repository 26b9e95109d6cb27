#include "error_report.h"

#include "termination.h"

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
    // Ended by the session while it is up (where no key may reach it, too),
    // the program still ends as failed.
    const CloseOnTermination termination(box);
    box.exec();
}

} // namespace tarvino::qt
