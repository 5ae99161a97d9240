#include "playback/PlaylistIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {
constexpr int Size = 16;

void DrawImage(QPainter& painter, TPlaylistImage image, const QColor& ink, const QColor& fill) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(ink, 1.2));
    switch (image) {
    case piOpen: {
        // An open folder.
        painter.setBrush(fill);
        painter.drawRect(QRectF(1.5, 4.5, 12, 9));
        QPainterPath flap;
        flap.moveTo(1.5, 13.5);
        flap.lineTo(4.5, 7.5);
        flap.lineTo(15.5, 7.5);
        flap.lineTo(13.5, 13.5);
        flap.closeSubpath();
        painter.drawPath(flap);
        painter.drawLine(QPointF(1.5, 4.5), QPointF(3.5, 2.5));
        painter.drawLine(QPointF(3.5, 2.5), QPointF(6.5, 2.5));
        break;
    }
    case piSave:
        // A diskette.
        painter.setBrush(fill);
        painter.drawRect(QRectF(1.5, 1.5, 13, 13));
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(4.5, 1.5, 7, 5));
        painter.drawRect(QRectF(3.5, 9.5, 9, 5));
        break;
    case piClear: {
        // The lines of a list, crossed out: the list is emptied.
        painter.setPen(QPen(ink, 1.0, Qt::SolidLine, Qt::FlatCap));
        for (const double y : {2.5, 5.5, 8.5, 11.5})
            painter.drawLine(QPointF(1.0, y), QPointF(y < 7.0 ? 14.0 : 7.0, y));
        const QLineF strokes[] = {{9.0, 8.0, 15.0, 14.0}, {15.0, 8.0, 9.0, 14.0}};
        painter.setPen(QPen(ink, 3.6, Qt::SolidLine, Qt::RoundCap));
        painter.drawLines(strokes, 2);
        painter.setPen(QPen(fill, 2.0, Qt::SolidLine, Qt::RoundCap));
        painter.drawLines(strokes, 2);
        break;
    }
    case piPlay: {
        // The play triangle.
        QPainterPath triangle;
        triangle.moveTo(4, 2);
        triangle.lineTo(14, 8);
        triangle.lineTo(4, 14);
        triangle.closeSubpath();
        painter.setBrush(fill);
        painter.drawPath(triangle);
        break;
    }
    case piClose:
        // A door with an arrow leaving it.
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(1.5, 1.5, 8, 13));
        painter.drawLine(QPointF(5.5, 7.5), QPointF(14.5, 7.5));
        painter.drawLine(QPointF(11.5, 4.5), QPointF(14.5, 7.5));
        painter.drawLine(QPointF(11.5, 10.5), QPointF(14.5, 7.5));
        break;
    }
}

QPixmap Render(TPlaylistImage image, bool enabled) {
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    static const QColor fills[] = {QColor(0xF0, 0xC8, 0x50), QColor(0x50, 0x78, 0xC8),
                                   QColor(0xC0, 0x30, 0x30), QColor(0x30, 0xA0, 0x40),
                                   QColor(0x80, 0x80, 0x80)};
    if (enabled)
        DrawImage(painter, image, QColor(0x20, 0x20, 0x20), fills[image]);
    else
        DrawImage(painter, image, QColor(0xA0, 0xA0, 0xA0), QColor(0xD8, 0xD8, 0xD8));
    return pixmap;
}
} // namespace

QIcon PlaylistIcon(TPlaylistImage image) {
    QIcon icon;
    icon.addPixmap(Render(image, true), QIcon::Normal);
    icon.addPixmap(Render(image, false), QIcon::Disabled);
    return icon;
}
