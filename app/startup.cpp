#include "startup.h"

#include "cdriveinfo.h"
#include "error_report.h"
#include "key_filter.h"
#include "qt_form.h"
#include "termination.h"
#include "user_locale.h"

#include <QApplication>
#include <QTimer>
#include <exception>

namespace tarvino {

int runInformationWindow(QApplication& app, Services services) {
    qt::QtForm form;
    CDriveInfo window(form, services.drives, std::move(services.sysInfo),
                      qt::userDecimalSeparator());
    qt::KeyDownFilter keys(
        form, [&window](int keyCode, int shift) { window.Form_KeyDown(keyCode, shift); });
    app.installEventFilter(&keys);
    QObject::connect(&form.timer1(), &QTimer::timeout, &form, [&window, &app, &form] {
        // An exception must not cross Qt's event loop: report it and end here.
        try {
            window.Timer1_Timer();
        } catch (const std::exception& e) {
            form.timer1().stop();
            qt::reportFailure(e.what());
            app.exit(1);
        }
    });

    try {
        window.Form_Load();
    } catch (const std::exception& e) {
        qt::reportFailure(e.what());
        return 1;
    }
    const qt::CloseOnTermination termination(form);
    form.showCentred();
    return app.exec();
}

} // namespace tarvino
