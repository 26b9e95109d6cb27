// The floor for start-up and ticking: a bare Qt window with the same controls
// (7 labels, 1 text box, in the same fonts) and a 200 ms timer that rewrites
// the text box, but no drive or system reading, no icon and no logic. With
// "maximised", the window fills the screen: a neighbour for placement.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral(" Bare window"));
    window.setFixedSize(292, 116);
    const auto font = [](const char* family, qreal points, bool bold) {
        QFont f(QString::fromLatin1(family));
        f.setPointSizeF(points);
        f.setBold(bold);
        return f;
    };
    for (int i = 0; i < 7; ++i) {
        auto* label = new QLabel(QStringLiteral("Label %1").arg(i), &window);
        label->setGeometry(i < 2 ? 6 : 186, i < 2 ? 9 + 24 * i : 10 + 16 * (i - 2), 97, 16);
        if (i == 0) label->setFont(font("Times New Roman", 12, true));
        if (i == 1) label->setFont(font("Arial", 8.25, false));
    }
    auto* box = new QLineEdit(&window);
    // As the program does: the banner's face as Linux has it.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    box->setGeometry(6, 93, 277, 19);
    box->setFont(font("MS Sans Serif", 8.25, true));
    const QString banner = QStringLiteral("%1a bare banner that scrolls like the real one ")
                               .arg(QString(23, QLatin1Char(' ')));
    int position = 0;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        position = (position + 1) % (static_cast<int>(banner.size()) + 1);
        box->setText(banner.mid(position) + banner.left(position));
        box->setCursorPosition(0);
    });
    timer.start(200);
    if (argc > 1 && QByteArray(argv[1]) == "maximised") {
        window.setMinimumSize(0, 0);
        window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        window.setWindowTitle(QStringLiteral(" Maximised window"));
        window.showMaximized();
    } else {
        window.show();
    }
    return app.exec();
}
