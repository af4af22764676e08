#include "ui/qt/pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace ftvb::ui::qt {
namespace {

QPixmap blank(QSize size, qreal pixelRatio) {
    QPixmap pixmap(size * pixelRatio);
    pixmap.setDevicePixelRatio(pixelRatio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// Flags keep their own proportions inside the square picture.
QRectF flagArea(QSize size, qreal heightOverWidth) {
    const qreal width = size.width() - 2.0;
    const qreal height = width * heightOverWidth;
    return QRectF(1.0, (size.height() - height) / 2.0, width, height);
}

void frame(QPainter& painter, const QRectF& area) {
    painter.setPen(QPen(QColor(60, 60, 60), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(0.5, 0.5, -0.5, -0.5));
}

}  // namespace

QPixmap unitedStatesFlag(QSize size, qreal pixelRatio) {
    QPixmap pixmap = blank(size, pixelRatio);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = flagArea(size, 10.0 / 19.0);
    const qreal stripe = area.height() / 13.0;
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 13; ++i) {
        painter.setBrush(i % 2 == 0 ? QColor(178, 34, 52) : QColor(Qt::white));
        painter.drawRect(QRectF(area.left(), area.top() + i * stripe, area.width(), stripe + 0.05));
    }
    const QRectF canton(area.left(), area.top(), area.width() * 0.4, stripe * 7);
    painter.setBrush(QColor(60, 59, 110));
    painter.drawRect(canton);
    painter.setBrush(Qt::white);
    const qreal dot = qMax(0.6, canton.height() / 14.0);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 5; ++column) {
            const qreal x = canton.left() + canton.width() * (column + 0.5 + (row % 2) * 0.25) / 5.5;
            const qreal y = canton.top() + canton.height() * (row + 0.5) / 4.0;
            painter.drawEllipse(QPointF(x, y), dot, dot);
        }
    }
    frame(painter, area);
    return pixmap;
}

QPixmap frenchFlag(QSize size, qreal pixelRatio) {
    QPixmap pixmap = blank(size, pixelRatio);
    QPainter painter(&pixmap);
    const QRectF area = flagArea(size, 2.0 / 3.0);
    const qreal band = area.width() / 3.0;
    const QColor colours[3] = {QColor(0, 85, 164), QColor(Qt::white), QColor(239, 65, 53)};
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        painter.setBrush(colours[i]);
        painter.drawRect(QRectF(area.left() + i * band, area.top(), band + 0.05, area.height()));
    }
    frame(painter, area);
    return pixmap;
}

QPixmap logo(QSize size, qreal pixelRatio) {
    QPixmap pixmap = blank(size, pixelRatio);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    QLinearGradient gradient(area.topLeft(), area.bottomRight());
    gradient.setColorAt(0.0, QColor(22, 52, 102));
    gradient.setColorAt(1.0, QColor(20, 122, 140));
    painter.setPen(QPen(QColor(12, 30, 60), 1.0));
    painter.setBrush(gradient);
    painter.drawRoundedRect(area, 6, 6);

    QFont word = painter.font();
    word.setBold(true);
    word.setPixelSize(qMax(8, int(size.height() * 0.55)));
    painter.setFont(word);
    painter.setPen(Qt::white);
    const QRectF left(area.left() + 8, area.top(), area.width() * 0.38, area.height());
    painter.drawText(left, Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("ftvb"));

    QFont small = painter.font();
    small.setBold(false);
    small.setPixelSize(qMax(6, int(size.height() * 0.24)));
    painter.setFont(small);
    painter.setPen(QColor(220, 236, 255));
    const QRectF right(left.right(), area.top() + 2, area.right() - left.right() - 6, area.height() - 4);
    painter.drawText(right, Qt::AlignVCenter | Qt::AlignRight, QStringLiteral("FORTRAN 77\n\u2192 BASIC"));
    return pixmap;
}

QIcon appIcon() {
    QIcon icon;
    for (const int side : {16, 32, 48, 64, 128}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal unit = side / 64.0;
        QLinearGradient gradient(0, 0, side, side);
        gradient.setColorAt(0.0, QColor(22, 52, 102));
        gradient.setColorAt(1.0, QColor(20, 122, 140));
        painter.setPen(Qt::NoPen);
        painter.setBrush(gradient);
        painter.drawRoundedRect(QRectF(2 * unit, 2 * unit, 60 * unit, 60 * unit), 10 * unit, 10 * unit);
        // An F turning into a B: two strokes and an arrow between them.
        painter.setPen(QPen(Qt::white, 6 * unit, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        QPainterPath f;
        f.moveTo(12 * unit, 48 * unit);
        f.lineTo(12 * unit, 16 * unit);
        f.lineTo(26 * unit, 16 * unit);
        f.moveTo(12 * unit, 31 * unit);
        f.lineTo(23 * unit, 31 * unit);
        painter.drawPath(f);
        QPainterPath b;
        b.moveTo(40 * unit, 16 * unit);
        b.lineTo(40 * unit, 48 * unit);
        b.lineTo(47 * unit, 48 * unit);
        b.cubicTo(56 * unit, 48 * unit, 56 * unit, 32 * unit, 47 * unit, 32 * unit);
        b.lineTo(40 * unit, 32 * unit);
        b.moveTo(40 * unit, 16 * unit);
        b.lineTo(46 * unit, 16 * unit);
        b.cubicTo(53 * unit, 16 * unit, 53 * unit, 32 * unit, 46 * unit, 32 * unit);
        painter.drawPath(b);
        painter.setPen(QPen(QColor(255, 210, 90), 3 * unit, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawLine(QPointF(28 * unit, 40 * unit), QPointF(35 * unit, 40 * unit));
        painter.drawLine(QPointF(32 * unit, 36 * unit), QPointF(35 * unit, 40 * unit));
        painter.drawLine(QPointF(32 * unit, 44 * unit), QPointF(35 * unit, 40 * unit));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace ftvb::ui::qt
