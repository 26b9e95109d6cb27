#include "qt_form.h"

#include "frame_extents.h"
#include "layout.h"
#include "product.h"
#include "window_icon.h"

#include <QApplication>
#include <QCursor>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>
#include <algorithm>

namespace tarvino::qt {

namespace {

// Qt lays out in logical pixels, 96 to the inch; it scales them to the display.
QRect logical(layout::Rect twips) {
    const layout::Rect r = layout::pixels(twips, 96);
    return {r.left, r.top, r.width, r.height};
}

void colour(QWidget* w, QPalette::ColorRole groundRole, QColor ground, QPalette::ColorRole textRole,
            QColor text) {
    QPalette p = w->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, groundRole, ground);
        p.setColor(group, textRole, text);
    }
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QFont namedFont(const char* family, qreal points, bool bold) {
    QFont f(QString::fromLatin1(family));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QLabel* label(QWidget* parent, const char* name, QRect geometry, QColor ground, QColor text) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(geometry);
    colour(l, QPalette::Window, ground, QPalette::WindowText, text);
    return l;
}

} // namespace

QtForm::QtForm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("CDriveInfo"));
    setWindowTitle(QStringLiteral(" " TARVINO_TITLE));
    setWindowIcon(programIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(logical(layout::clientArea).size());
    colour(this, QPalette::Window, Qt::black, QPalette::WindowText, Qt::white);

    QLabel* maker =
        label(this, "Label1", logical(layout::label1), Qt::black, QColor(192, 192, 255));
    maker->setFont(namedFont("Times New Roman", 12, true));
    maker->setText(QStringLiteral("Orlenda"));
    maker->setAccessibleDescription(QStringLiteral("Maker"));

    QLabel* rights =
        label(this, "Label2", logical(layout::label2), Qt::black, QColor(128, 128, 128));
    rights->setFont(namedFont("Arial", 8.25, false));
    rights->setText(QStringLiteral("Copyright \u00A9 2026 Orlenda"));
    rights->setAccessibleDescription(QStringLiteral("Rights notice"));

    // A label's accessible name stays its caption, so a screen reader reads
    // the value; the description says what the value is.
    static constexpr const char* valueNames[][2] = {
        {"LabelDriveName", "Drive type and letter"},
        {"LabelDriveSerialNumber", "Volume serial number"},
        {"LabelTotalSize", "Total size in bytes"},
        {"LabelFileSystem", "File system"},
        {"LabelOS", "Operating system platform, version and build"}};
    for (std::size_t i = 0; i < values_.size(); ++i) {
        values_[i] = label(this, valueNames[i][0], logical(layout::valueLabel(static_cast<int>(i))),
                           QColor(128, 128, 128), QColor(255, 255, 0));
        values_[i]->setAccessibleDescription(QString::fromLatin1(valueNames[i][1]));
    }

    status_ = new QLineEdit(this);
    status_->setObjectName(QStringLiteral("labelStatus"));
    status_->setGeometry(logical(layout::labelStatus));
    // The old Windows bitmap face is nowhere on Linux; fontconfig would give
    // whatever it ranks first, on a minimal system a monospace face.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    status_->setFont(namedFont("MS Sans Serif", 8.25, true));
    status_->setReadOnly(true);
    status_->setAccessibleName(QStringLiteral("Banner"));
    colour(status_, QPalette::Base, Qt::black, QPalette::Text, QColor(255, 255, 192));
    status_->setFocus();

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setTimerType(Qt::PreciseTimer);
    timer1_->start(200);
}

QtForm::~QtForm() = default;

void QtForm::setText(Control control, std::string_view text) {
    const QString value = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (control == Control::labelStatus) {
        status_->setText(value);
        status_->setCursorPosition(0); // QLineEdit scrolls to the cursor, so show the left end
        return;
    }
    values_[static_cast<std::size_t>(control)]->setText(value);
    // Fitted once when shown, and again for each value written after that.
    if (isVisible()) fitValues();
}

void QtForm::showEvent(QShowEvent* event) {
    fitValues();
    QWidget::showEvent(event);
}

void QtForm::fitValues() {
    // One font for the column, so it reads evenly: the platform's, as large
    // as the widest value allows. A cut-off serial or size would mislead.
    QFont font = QApplication::font();
    // A size in pixels (a desktop font given as "Sans 20px") is fitted as the
    // points it comes to on this screen.
    if (font.pointSizeF() <= 0 && font.pixelSize() > 0)
        font.setPointSizeF(QFontInfo(font).pointSizeF());
    if (font.pointSizeF() > 0) {
        const auto widest = [&font, this](double points) {
            QFont sized = font;
            sized.setPointSizeF(points);
            const QFontMetricsF metrics(sized);
            qreal width = 0;
            for (const QLabel* value : values_)
                width = std::max(width, metrics.horizontalAdvance(value->text()));
            return width;
        };
        font.setPointSizeF(layout::fittingSize(font.pointSizeF(), layout::smallestValuePoints, 0.25,
                                               values_[0]->contentsRect().width(), widest));
    }
    for (QLabel* value : values_)
        value->setFont(font);
}

void QtForm::unload() {
    close();
}

void QtForm::showCentred() {
    nameWindowClassAfterLauncher(*this);
    // The pointer's position is a round trip to the X server: asked only
    // where there is more than one screen to choose from.
    const QScreen* screen =
        QGuiApplication::screens().size() > 1 ? QGuiApplication::screenAt(QCursor::pos()) : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) {
        // The frame is centred; the client area is placed inside it, where
        // the window manager will put the frame around it.
        const ExpectedFrame expected = expectedFrame(*this);
        const QMargins margins = expected.margins;
        QRect frame = QRect(QPoint(), size()).marginsAdded(margins);
        frame.moveCenter(screen->availableGeometry().center());
        setGeometry(QRect(frame.topLeft() + QPoint(margins.left(), margins.top()), size()));
        centring_ = std::make_unique<CentreOnceFramed>(*this, expected,
                                                       screen->availableGeometry().center());
    }
    show();
}

} // namespace tarvino::qt
