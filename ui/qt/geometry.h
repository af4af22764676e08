// Positions in twips, as the window's layout is given, turned into pixels:
// 15 twips to the pixel at 96 dots per inch, scaled with the screen's DPI.
#pragma once

#include <QSize>
#include <QWidget>
#include <cmath>

namespace ftvb::ui::qt {

class Twips {
public:
    explicit Twips(const QWidget* widget) : scale_(widget->logicalDpiX() / 96.0 / 15.0) {}

    int x(int twips) const { return int(std::lround(twips * scale_)); }
    int y(int twips) const { return x(twips); }
    QSize size(int width, int height) const { return QSize(x(width), y(height)); }
    void place(QWidget* widget, int left, int top, int width, int height) const {
        widget->setGeometry(x(left), y(top), x(width), y(height));
    }

private:
    double scale_;
};

}  // namespace ftvb::ui::qt
