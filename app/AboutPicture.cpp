#include "app/AboutPicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

void DrawRecord(QPainter& painter, QPointF centre, double radius) {
    QRadialGradient shine(centre - QPointF(radius / 3, radius / 3), radius * 1.4);
    shine.setColorAt(0, QColor(0x50, 0x50, 0x58));
    shine.setColorAt(1, QColor(0x10, 0x10, 0x14));
    painter.setPen(QPen(QColor(0x05, 0x05, 0x08), 1));
    painter.setBrush(shine);
    painter.drawEllipse(centre, radius, radius);
    // The grooves.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0x60, 0x60, 0x6C, 0x90), 0.6));
    for (double groove = radius - 3; groove > radius * 0.45; groove -= 3)
        painter.drawEllipse(centre, groove, groove);
    // The label and the spindle hole.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xD0, 0x40, 0x30));
    painter.drawEllipse(centre, radius * 0.36, radius * 0.36);
    painter.setBrush(QColor(0xF0, 0xE0, 0xC0));
    painter.drawEllipse(centre, 2.0, 2.0);
}

void DrawNote(QPainter& painter) {
    painter.setPen(QPen(QColor(0x40, 0x28, 0x00), 1));
    painter.setBrush(QColor(0xF8, 0xD0, 0x40));
    // Two heads, two stems and the beam of a pair of quavers.
    painter.save();
    painter.translate(47, 64);
    painter.rotate(-20);
    painter.drawEllipse(QPointF(0, 0), 6.5, 4.5);
    painter.restore();
    painter.save();
    painter.translate(69, 58);
    painter.rotate(-20);
    painter.drawEllipse(QPointF(0, 0), 6.5, 4.5);
    painter.restore();
    painter.drawRect(QRectF(51.5, 34, 2.5, 29));
    painter.drawRect(QRectF(73.5, 28, 2.5, 29));
    QPainterPath beam;
    beam.moveTo(51.5, 34);
    beam.lineTo(76, 28);
    beam.lineTo(76, 34);
    beam.lineTo(51.5, 40);
    beam.closeSubpath();
    painter.drawPath(beam);
}

} // namespace

QPixmap AboutPicture() {
    QPixmap picture(80, 92);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient sky(0, 0, 0, 92);
    sky.setColorAt(0, QColor(0x18, 0x28, 0x60));
    sky.setColorAt(0.85, QColor(0x70, 0x40, 0x90));
    sky.setColorAt(1, QColor(0x30, 0x18, 0x40));
    painter.fillRect(picture.rect(), sky);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xFF, 0xFF, 0xE0));
    for (const QPointF star : {QPointF(8, 8), QPointF(70, 12), QPointF(60, 4), QPointF(14, 70),
                               QPointF(4, 40), QPointF(76, 76)})
        painter.drawEllipse(star, 0.9, 0.9);
    DrawRecord(painter, QPointF(36, 38), 30);
    DrawNote(painter);
    return picture;
}
