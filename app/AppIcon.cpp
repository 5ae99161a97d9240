#include "app/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {
QPixmap Draw(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.scale(size / 32.0, size / 32.0);
    // The record.
    painter.setPen(QPen(QColor(0x10, 0x10, 0x10), 1));
    painter.setBrush(QColor(0x28, 0x28, 0x30));
    painter.drawEllipse(QRectF(1, 1, 30, 30));
    painter.setBrush(QColor(0xD0, 0x40, 0x30));
    painter.drawEllipse(QRectF(11, 11, 10, 10));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(15, 15, 2, 2));
    // The note.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xF8, 0xD0, 0x40));
    painter.drawEllipse(QRectF(5, 20, 8, 6));
    painter.drawRect(QRectF(11, 6, 2, 17));
    QPainterPath flag;
    flag.moveTo(13, 6);
    flag.cubicTo(17, 8, 20, 10, 18, 15);
    flag.cubicTo(18, 12, 16, 11, 13, 10);
    flag.closeSubpath();
    painter.drawPath(flag);
    return pixmap;
}
} // namespace

QIcon ApplicationIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(Draw(size));
    return icon;
}
