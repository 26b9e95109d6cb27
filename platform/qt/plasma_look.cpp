#include "plasma_look.h"

#include "desktop_font.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QLineEdit>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleFactory>

namespace tarvino::qt {

namespace {

constexpr std::string_view breeze = "Breeze";

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// KConfig's files in the order it reads them: the later ones win.
QStringList kdeGlobalsFiles() {
    QStringList files;
    const QString home = qEnvironmentVariable("HOME");
    QString user = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (user.isEmpty() && !home.isEmpty()) user = home + QStringLiteral("/.config");
    QString system = qEnvironmentVariable("XDG_CONFIG_DIRS");
    if (system.isEmpty()) system = QStringLiteral("/etc/xdg");
    for (const QString& dir : system.split(u':', Qt::SkipEmptyParts))
        files.prepend(dir + QStringLiteral("/kdeglobals"));
    if (!user.isEmpty()) files << user + QStringLiteral("/kdeglobals");
    return files;
}

// Breeze answers a line edit's icon size from KDE's icon loader, and making
// that loader reads the whole icon theme: the banner's box asks as it is made
// read-only, though the size is only that of a line edit's own buttons and
// actions, of which it has none, so Qt's common answer serves. Every other
// question goes to Breeze.
class BannerStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        const auto* edit = qobject_cast<const QLineEdit*>(widget);
        if (metric == PM_LineEditIconSize && edit && edit->actions().isEmpty() &&
            !edit->isClearButtonEnabled())
            return common_.pixelMetric(metric, option, widget);
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

private:
    QCommonStyle common_;
};

} // namespace

void readKdeGlobals(std::string_view text, PlasmaLook& look) {
    std::string_view group;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == '#') continue;
        if (line.front() == '[') {
            // "[General]", or with KConfig's flags after it: "[General][$i]".
            const auto close = line.find(']');
            group =
                close == std::string_view::npos ? std::string_view() : line.substr(1, close - 1);
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view key = trimmed(line.substr(0, equals));
        const std::string value(trimmed(line.substr(equals + 1)));
        if (group == "General" && key == "font") look.font = value;
        if (group == "KDE" && key == "widgetStyle") look.widgetStyle = value;
    }
}

std::optional<PlasmaLook> takePlasmaLook() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORMTHEME") ||
        !qEnvironmentVariableIsEmpty("QT_STYLE_OVERRIDE") || !desktopNamed({"KDE"}))
        return std::nullopt;
    PlasmaLook look;
    for (const QString& name : kdeGlobalsFiles()) {
        QFile file(name);
        if (!file.exists()) continue;
        if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
        const QByteArray text = file.readAll();
        readKdeGlobals(std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
                       look);
    }
    // Another style takes the palette from Plasma's theme, which only that
    // theme computes; and where Breeze is not there for this Qt, Qt's own KDE
    // theme reads the settings.
    const QString style = QString::fromStdString(look.widgetStyle);
    const QString named = QLatin1String(breeze.data());
    if ((!style.isEmpty() && style.compare(named, Qt::CaseInsensitive) != 0) ||
        !QStyleFactory::keys().contains(named, Qt::CaseInsensitive))
        return std::nullopt;
    QGuiApplication::setDesktopSettingsAware(false);
    return look;
}

void usePlasmaLook(const PlasmaLook& look) {
    if (QStyle* style = QStyleFactory::create(QLatin1String(breeze.data()))) {
        QApplication::setStyle(new BannerStyle(style));
        QApplication::setPalette(style->standardPalette());
    }
    // Plasma's default, where its settings name none.
    QFont font(QStringLiteral("Noto Sans"), 10, QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    if (!look.font.empty()) font.fromString(QString::fromStdString(look.font));
    QApplication::setFont(font);
}

} // namespace tarvino::qt
