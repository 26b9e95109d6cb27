#pragma once

#include "form.h"

#include <QWidget>
#include <array>
#include <memory>

class QLabel;
class QLineEdit;
class QTimer;

namespace tarvino::qt {

class CentreOnceFramed;

// The information window's widgets: two fixed labels, five value labels and
// the banner text box, laid out on a fixed black client area of 292x116.
class QtForm : public QWidget, public Form {
public:
    explicit QtForm(QWidget* parent = nullptr);
    ~QtForm() override;

    void setText(Control control, std::string_view text) override;
    void unload() override;

    // Shows the window centred on the screen it will appear on.
    void showCentred();

    // Timer1: 200 ms, running from the window's creation. Its ticks arrive
    // through the event loop, so none is handled before loading returns.
    QTimer& timer1() { return *timer1_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fitValues();

    std::array<QLabel*, 5> values_{};
    QLineEdit* status_ = nullptr;
    QTimer* timer1_ = nullptr;
    std::unique_ptr<CentreOnceFramed> centring_;
};

} // namespace tarvino::qt
