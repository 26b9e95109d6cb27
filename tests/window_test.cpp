// The Qt window, offscreen: layout, colours, fonts, keys and the failure report.

#include "cdriveinfo.h"
#include "drive_summary.h"
#include "error_report.h"
#include "fakes.h"
#include "linux_drive_service.h"
#include "linux_system_info.h"
#include "number_text.h"
#include "qt_form.h"
#include "startup.h"
#include "system_tools.h"
#include "user_locale.h"

#include <QAbstractEventDispatcher>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>
#include <csignal>
#include <cstring>

using tarvino::Control;
using tarvino::testing::FakeDriveFactory;

namespace {

QWidget* findWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("CDriveInfo") && w->isVisible()) return w;
    return nullptr;
}

std::unique_ptr<tarvino::SystemInfo> fakeSysInfo(FakeDriveFactory& drives) {
    return std::make_unique<tarvino::testing::FakeSysInfo>(
        std::map<int, double>{{10, 4}, {11, 6.18}, {12, 44}}, drives.log);
}

// Runs the start-up sequence with fake services; `whileRunning` is called once
// the event loop turns and must end it.
int runWithFakes(FakeDriveFactory& drives, std::function<void()> whileRunning) {
    QTimer::singleShot(0, qApp, std::move(whileRunning));
    return tarvino::runInformationWindow(*qApp, {drives, fakeSysInfo(drives)});
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void controlsSitAtTheirTwipGeometryWithTheirColoursAndFonts_data();
    void controlsSitAtTheirTwipGeometryWithTheirColoursAndFonts();
    void theWindowIsFixedBlackAndTitled();
    void shiftAloneClosesTheWindowWhileTheTextBoxHasFocus();
    void aLetterTypedAnywhereClosesTheWindow();
    void aFailedLoadIsReportedAndEndsWithStatusOne();
    void valuesShareOneFontAsLargeAsTheWidestAllows();
    void theRealProvidersAgreeWithTheSystemsOwnTools();
    void theDecimalSeparatorIsTheUsers();
    void ticksScrollTheBannerAndShowItsLeftEnd();
    void screenReadersReadEachValueAndWhatItIs();
    void everythingScalesWithTheDisplay();
    void theTimerScrollsTheBannerFiveTimesASecond();
};

void WindowTest::controlsSitAtTheirTwipGeometryWithTheirColoursAndFonts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QColor>("ground");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QString>("family"); // requested family; empty: the default font
    QTest::addColumn<QString>("resolved");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("startsEmpty");

    const QColor gray(128, 128, 128), yellow(255, 255, 0);
    QTest::newRow("Label1") << "Label1" << QRect(6, 9, 139, 19) << QColor(Qt::black)
                            << QColor(192, 192, 255) << "Times New Roman"
                            << "Liberation Serif" << true << false;
    QTest::newRow("Label2") << "Label2" << QRect(6, 33, 148, 16) << QColor(Qt::black) << gray
                            << "Arial"
                            << "Liberation Sans" << false << false;
    const char* values[] = {"LabelDriveName", "LabelDriveSerialNumber", "LabelTotalSize",
                            "LabelFileSystem", "LabelOS"};
    for (int i = 0; i < 5; ++i)
        QTest::newRow(values[i]) << values[i] << QRect(186, 10 + 16 * i, 97, 16) << gray << yellow
                                 << ""
                                 << "" << false << true;
    QTest::newRow("labelStatus") << "labelStatus" << QRect(6, 93, 277, 19) << QColor(Qt::black)
                                 << QColor(255, 255, 192) << "MS Sans Serif"
                                 << "Liberation Sans" << true << true;
}

void WindowTest::controlsSitAtTheirTwipGeometryWithTheirColoursAndFonts() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QColor, ground);
    QFETCH(QColor, text);
    QFETCH(QString, family);
    QFETCH(QString, resolved);
    QFETCH(bool, bold);
    QFETCH(bool, startsEmpty);

    tarvino::qt::QtForm form;
    auto* control = form.findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), geometry);

    const auto* edit = qobject_cast<QLineEdit*>(control);
    const QPalette::ColorRole groundRole = edit ? QPalette::Base : QPalette::Window;
    const QPalette::ColorRole textRole = edit ? QPalette::Text : QPalette::WindowText;
    QCOMPARE(control->palette().color(textRole), text);
    QCOMPARE(control->palette().color(groundRole), ground);
    // What is painted, not only what is asked: sample the middle of the control.
    const QImage painted = control->grab().toImage();
    const QPoint middle(painted.width() / 2, painted.height() / 2);
    if (startsEmpty) QCOMPARE(painted.pixelColor(middle).rgb(), ground.rgb());

    QCOMPARE(control->font().family(), family.isEmpty() ? QApplication::font().family() : family);
    QCOMPARE(control->font().bold(), bold);
    if (!resolved.isEmpty()) QCOMPARE(QFontInfo(control->font()).family(), resolved);
    // Whatever fontconfig has: a monospace face here would misalign every line.
    QVERIFY2(!QFontInfo(control->font()).fixedPitch(),
             qPrintable(QFontInfo(control->font()).family()));

    const QString shown = edit ? edit->text() : qobject_cast<QLabel*>(control)->text();
    QCOMPARE(shown.isEmpty(), startsEmpty);
}

void WindowTest::theWindowIsFixedBlackAndTitled() {
    tarvino::qt::QtForm form;
    QCOMPARE(form.windowTitle(), QStringLiteral(" Tarvino 1.1"));
    QCOMPARE(form.size(), QSize(292, 116));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QCOMPARE(form.grab().toImage().pixelColor(150, 110).rgb(), QColor(Qt::black).rgb());
    const QList<QSize> sizes = form.windowIcon().availableSizes();
    QVERIFY(sizes.contains(QSize(32, 32)));
    QVERIFY(sizes.contains(QSize(16, 16)));
    const QImage icon = form.windowIcon().pixmap(QSize(32, 32)).toImage();
    QCOMPARE(icon.pixelColor(0, 0).rgb(), QColor(128, 128, 128).rgb()); // frame
    QCOMPARE(icon.pixelColor(24, 24).rgb(), QColor(Qt::black).rgb());   // right half: ground
    QCOMPARE(icon.pixelColor(9, 20).rgb(), QColor(255, 0, 0).rgb());    // the palm
}

void WindowTest::shiftAloneClosesTheWindowWhileTheTextBoxHasFocus() {
    FakeDriveFactory drives;
    QString driveLine;
    bool focused = false;
    const int status = runWithFakes(drives, [&] {
        QWidget* window = findWindow();
        if (!window) return qApp->exit(99);
        driveLine = window->findChild<QLabel*>("LabelDriveName")->text();
        auto* box = window->findChild<QLineEdit*>("labelStatus");
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window)) return qApp->exit(98);
        focused = QApplication::focusWidget() == box;
        QTest::keyPress(box, Qt::Key_Shift);
    });
    QCOMPARE(status, 0);
    QVERIFY(focused);
    QCOMPARE(driveLine, QStringLiteral("Fixed C:"));
    QVERIFY(!findWindow());
}

void WindowTest::aLetterTypedAnywhereClosesTheWindow() {
    // The handlers the host had for the session's signals (here QtTest's) are
    // back once the window has closed; while it is open, they leave errno be.
    const int handled[] = {SIGTERM, SIGINT, SIGHUP};
    struct sigaction before[3]{}, after[3]{};
    for (int i = 0; i < 3; ++i)
        sigaction(handled[i], nullptr, &before[i]);
    FakeDriveFactory drives;
    int errnoAfterSignals = 0;
    const int status = runWithFakes(drives, [&] {
        QWidget* window = findWindow();
        if (!window) return qApp->exit(99);
        // More hangups than the handler's pipe holds, so that its writes
        // fail: the code they interrupt still sees its own errno.
        errno = EDOM;
        for (int i = 0; i < 70000 && errno == EDOM; ++i)
            raise(SIGHUP);
        errnoAfterSignals = errno;
        QTest::keyPress(window->findChild<QLabel*>("Label1"), Qt::Key_Q);
    });
    QCOMPARE(status, 0);
    QCOMPARE(errnoAfterSignals, EDOM);
    for (int i = 0; i < 3; ++i) {
        sigaction(handled[i], nullptr, &after[i]);
        QVERIFY2(after[i].sa_handler == before[i].sa_handler, strsignal(handled[i]));
    }
}

void WindowTest::aFailedLoadIsReportedAndEndsWithStatusOne() {
    FakeDriveFactory drives;
    drives.script.failAt = "GetDrive";
    QString title, text;
    QTimer::singleShot(0, qApp, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        title = box->windowTitle();
        text = box->text();
        box->accept();
    });
    const int status = tarvino::runInformationWindow(*qApp, {drives, fakeSysInfo(drives)});
    QCOMPARE(status, 1);
    QCOMPARE(title, QStringLiteral("Tarvino 1.1"));
    QVERIFY2(text.contains(QStringLiteral("GetDrive(C:) failed")), qPrintable(text));
    QVERIFY(!findWindow());
}

void WindowTest::valuesShareOneFontAsLargeAsTheWidestAllows() {
    const QFont platform = QApplication::font();
    const struct {
        const char* serial;
        const char* size;
        const char* fileSystem;
        bool smaller;        // than the platform font
        bool pixels = false; // the platform font sized in pixels ("Sans 13px")
    } cases[] = {
        {"SN. 1", "TS. 1", "FS. xfs", false},
        {"SN. 4294967295", "TS. 270553174016", "FS. ext4", true},        // a 270 GB disk
        {"SN. 4294967295", "TS. 18000207937536", "FS. ext4", true},      // an 18 TB disk
        {"SN. 1", "TS. 1", "FS. fuse.some-very-long-helper-name", true}, // cut at the right
        {"SN. 4294967295", "TS. 18000207937536", "FS. ext4", true, true},
    };
    for (const auto& c : cases) {
        QFont inPixels = platform;
        inPixels.setPixelSize(QFontInfo(platform).pixelSize());
        QApplication::setFont(c.pixels ? inPixels : platform);
        tarvino::qt::QtForm form;
        form.setText(Control::LabelDriveName, "Fixed C:");
        form.setText(Control::LabelDriveSerialNumber, c.serial);
        form.setText(Control::LabelTotalSize, c.size);
        form.setText(Control::LabelFileSystem, c.fileSystem);
        form.setText(Control::LabelOS, "OS. 4/6.18/44");
        form.show();
        const QList<QLabel*> values = {form.findChild<QLabel*>("LabelDriveName"),
                                       form.findChild<QLabel*>("LabelDriveSerialNumber"),
                                       form.findChild<QLabel*>("LabelTotalSize"),
                                       form.findChild<QLabel*>("LabelFileSystem"),
                                       form.findChild<QLabel*>("LabelOS")};
        const QFont font = values[0]->font();
        QCOMPARE(font.family(), platform.family());
        QCOMPARE(font.pointSizeF() < platform.pointSizeF(), c.smaller);
        QVERIFY(font.pointSizeF() >= 6);
        qreal widest = 0;
        for (const QLabel* value : values) {
            QCOMPARE(value->font(), font);
            QVERIFY(!value->wordWrap());
            widest = std::max(widest, QFontMetricsF(font).horizontalAdvance(value->text()));
        }
        const int width = values[0]->contentsRect().width();
        if (font.pointSizeF() > 6) QVERIFY2(widest <= width, c.size);
        // Not made smaller than needed: a quarter point larger would not fit.
        QFont larger = font;
        larger.setPointSizeF(font.pointSizeF() + 0.25);
        const auto fits = [&](const QFont& f) {
            for (const QLabel* value : values)
                if (QFontMetricsF(f).horizontalAdvance(value->text()) > width) return false;
            return true;
        };
        if (c.smaller) QVERIFY2(!fits(larger), c.size);
    }
    QApplication::setFont(platform);
}

namespace {
// The output of a system tool, as the live tests read them all.
QString command(const char* line) {
    return QString::fromStdString(tarvino::testing::commandOutput(line)).trimmed();
}
} // namespace

void WindowTest::theRealProvidersAgreeWithTheSystemsOwnTools() {
    tarvino::linux_drives::LinuxDriveServiceFactory drives;
    QStringList lines;
    QString report;
    QTimer::singleShot(0, qApp, [&] {
        if (QWidget* window = findWindow()) {
            for (const char* name : {"LabelDriveName", "LabelTotalSize", "LabelFileSystem",
                                     "LabelOS", "LabelDriveSerialNumber"})
                lines << window->findChild<QLabel*>(name)->text();
            window->close();
        } else if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            report = box->text(); // the load failed: end, not wait for a user
            box->accept();
        }
    });
    QCOMPARE(tarvino::runInformationWindow(
                 *qApp, {drives, std::make_unique<tarvino::linux_drives::LinuxSystemInfo>()}),
             0);
    QVERIFY2(report.isEmpty(), qPrintable(report));
    QCOMPARE(lines.size(), 5);
    const auto type = tarvino::testing::expectedDriveType();
    if (type)
        QCOMPARE(lines[0],
                 QString::fromStdString(std::string(tarvino::driveTypeWord(*type))) + " C:");
    else
        QVERIFY2(lines[0].endsWith(QStringLiteral(" C:")), qPrintable(lines[0]));
    QCOMPARE(lines[4], "SN. " + QString::number(tarvino::testing::expectedSerial()));
    const QString size = command("df -B1 --output=size /").split('\n').last().trimmed();
    QCOMPARE(lines[1], "TS. " + size);
    const QString fstype = command("findmnt -no FSTYPE /").split('\n').last();
    if (fstype != QLatin1String("fuseblk") && !fstype.isEmpty())
        QCOMPARE(lines[2], "FS. " + fstype);
    // uname's release, by the rule that the kernel release table holds.
    const std::string release = command("uname -r").toStdString();
    const auto version =
        static_cast<float>(tarvino::linux_drives::LinuxSystemInfo::propertyOf(release, 11));
    const auto build = tarvino::linux_drives::LinuxSystemInfo::propertyOf(release, 12);
    const std::string sep = tarvino::qt::userDecimalSeparator();
    QCOMPARE(lines[3], QString::fromStdString("OS. 4/" + tarvino::singleToText(version, sep) + "/" +
                                              std::to_string(static_cast<int>(build))));
}

void WindowTest::theDecimalSeparatorIsTheUsers() {
    const QByteArray expected = qgetenv("TARVINO_EXPECT_SEPARATOR");
    if (expected.isEmpty()) QSKIP("run by the locale tests, which set the locale");
    QCOMPARE(QString::fromStdString(tarvino::qt::userDecimalSeparator()),
             QString::fromUtf8(expected));
}

void WindowTest::ticksScrollTheBannerAndShowItsLeftEnd() {
    tarvino::qt::QtForm form;
    form.timer1().stop(); // ticks are driven by hand here
    FakeDriveFactory drives;
    tarvino::CDriveInfo window(form, drives, fakeSysInfo(drives), ".");
    window.Form_Load();
    form.show();
    auto* box = form.findChild<QLineEdit*>("labelStatus");
    const QString banner = QString::fromStdString(*window.finalStatus);
    for (int tick = 1; tick <= banner.size() + 3; ++tick) {
        window.Timer1_Timer();
        const int p = (tick - 1) % (static_cast<int>(banner.size()) + 1) + 1;
        const QString expected = p > banner.size() ? banner : banner.mid(p - 1) + banner.left(p);
        QCOMPARE(box->text(), expected);
        QCOMPARE(box->cursorPosition(), 0);
    }
    window.ShowDriveInfo("c:");
    window.Timer1_Timer();
    QCOMPARE(box->text(), banner + banner.left(1));
}

void WindowTest::theTimerScrollsTheBannerFiveTimesASecond() {
    // The rate is what the event loop was asked for; its punctuality under
    // load is not this program's, and is measured in bench/ instead.
    FakeDriveFactory drives;
    QStringList asked;
    bool ticksArrived = false;
    QStringList seen;
    int cursor = -1;
    const int status = runWithFakes(drives, [&] {
        QWidget* window = findWindow();
        if (!window) return qApp->exit(99);
        auto* box = window->findChild<QLineEdit*>("labelStatus");
        QT_WARNING_PUSH
        QT_WARNING_DISABLE_DEPRECATED
        const QList<QObject*> objects = window->findChildren<QObject*>() << window;
        for (QObject* object : objects)
            for (const auto& timer : QAbstractEventDispatcher::instance()->registeredTimers(object))
                asked << QStringLiteral("%1 ms%2")
                             .arg(timer.interval)
                             .arg(timer.timerType == Qt::PreciseTimer ? " precise" : "");
        QT_WARNING_POP
        // Ticks as they come, however late: each moves the banner by one.
        seen << box->text();
        ticksArrived = QTest::qWaitFor(
            [&] {
                if (seen.last() != box->text()) seen << box->text();
                return seen.size() >= 4;
            },
            30000);
        cursor = box->cursorPosition();
        QTest::keyPress(box, Qt::Key_Control);
    });
    QCOMPARE(status, 0);
    QCOMPARE(asked, QStringList{"200 ms precise"});
    QVERIFY2(ticksArrived, qPrintable(seen.join(" | ")));
    QCOMPARE(cursor, 0);
    // Each text a tick shows is the banner turned on by some places, more
    // with each tick: a late tick may be one of several the loop ran together.
    const QString banner = QString::fromStdString(std::string(tarvino::bannerText()));
    qsizetype last = 0;
    for (const QString& text : seen.mid(1)) {
        qsizetype p = 1;
        while (p <= banner.size() && text != banner.mid(p - 1) + banner.left(p))
            ++p;
        QVERIFY2(p <= banner.size() && p > last, qPrintable(text));
        last = p;
    }
}

void WindowTest::screenReadersReadEachValueAndWhatItIs() {
    tarvino::qt::QtForm form;
    form.setText(Control::LabelDriveName, "Fixed C:");
    form.setText(Control::LabelOS, "OS. 4/6.18/44");
    const struct {
        const char* control;
        QString name;
        QString description;
    } cases[] = {
        {"Label1", "Orlenda", "Maker"},
        {"Label2", QStringLiteral("Copyright \u00A9 2026 Orlenda"), "Rights notice"},
        {"LabelDriveName", "Fixed C:", "Drive type and letter"},
        {"LabelDriveSerialNumber", "", "Volume serial number"},
        {"LabelTotalSize", "", "Total size in bytes"},
        {"LabelFileSystem", "", "File system"},
        {"LabelOS", "OS. 4/6.18/44", "Operating system platform, version and build"},
        {"labelStatus", "Banner", ""},
    };
    for (const auto& c : cases) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(
            form.findChild<QWidget*>(QString::fromLatin1(c.control)));
        QVERIFY2(a, c.control);
        QCOMPARE(a->text(QAccessible::Name), c.name);
        QCOMPARE(a->text(QAccessible::Description), c.description);
    }
}

void WindowTest::everythingScalesWithTheDisplay() {
    const double scale = qEnvironmentVariableIntValue("QT_SCALE_FACTOR");
    if (scale < 2) QSKIP("run by the HiDPI test, which sets QT_SCALE_FACTOR=2");
    tarvino::qt::QtForm form;
    form.show();
    QCOMPARE(form.grab().size(), QSize(584, 232)); // device pixels
    for (QWidget* control : form.findChildren<QWidget*>())
        QCOMPARE(control->grab().size(), control->size() * 2);
    // Text is drawn at the scale too: the maker's name covers four times the pixels.
    const QImage maker = form.findChild<QLabel*>("Label1")->grab().toImage();
    int lit = 0;
    for (int y = 0; y < maker.height(); ++y)
        for (int x = 0; x < maker.width(); ++x)
            lit += maker.pixelColor(x, y) != Qt::black;
    QVERIFY2(lit > 400, qPrintable(QString::number(lit)));
}

QTEST_MAIN(WindowTest)
#include "window_test.moc"
