#include "pages/Artwork.h"

#include <tuple>

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <numbers>

namespace artwork {

namespace {

QPixmap Transparent(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QPolygonF Pentagon(QPointF centre, double radius, double turn) {
    QPolygonF polygon;
    for (int i = 0; i < 5; ++i) {
        const double angle = turn + i * 2 * std::numbers::pi / 5;
        polygon << centre + QPointF(radius * std::sin(angle), -radius * std::cos(angle));
    }
    return polygon;
}

} // namespace

QPixmap Football(int size) {
    QPixmap pixmap = Transparent(size, size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(size / 2.0, size / 2.0);
    const double radius = size / 2.0 - 1;
    QPainterPath ball;
    ball.addEllipse(centre, radius, radius);
    p.fillPath(ball, Qt::white);
    p.setClipPath(ball);
    // A black pentagon in the middle, seams to five others cut by the rim.
    const double inner = radius * 0.36;
    const QPolygonF middle = Pentagon(centre, inner, 0);
    p.setPen(QPen(Qt::black, size / 24.0));
    p.setBrush(Qt::black);
    p.drawPolygon(middle);
    for (int i = 0; i < 5; ++i) {
        const double angle = i * 2 * std::numbers::pi / 5;
        const QPointF dir(std::sin(angle), -std::cos(angle));
        p.drawLine(middle[i], centre + dir * radius * 0.72);
        p.drawPolygon(
            Pentagon(centre + dir * radius * 1.02, inner * 0.95, angle + std::numbers::pi));
    }
    p.setClipping(false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(40, 40, 40), 1.2));
    p.drawEllipse(centre, radius, radius);
    return pixmap;
}

QPixmap RussianFlag(int width, int height) {
    QPixmap pixmap(width, height);
    QPainter p(&pixmap);
    const int band = height / 3;
    p.fillRect(0, 0, width, band, Qt::white);
    p.fillRect(0, band, width, height - 2 * band, QColor(0, 57, 166));
    p.fillRect(0, height - band, width, band, QColor(213, 43, 30));
    p.setPen(QColor(128, 128, 128));
    p.drawRect(0, 0, width - 1, height - 1);
    return pixmap;
}

QPixmap UnitedKingdomFlag(int width, int height) {
    QPixmap pixmap(width, height);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor blue(1, 33, 105);
    const QColor red(200, 16, 46);
    p.fillRect(0, 0, width, height, blue);
    const double unit = height / 30.0; // the flag is 60 x 30 units
    p.setPen(QPen(Qt::white, 6 * unit));
    p.drawLine(QPointF(0, 0), QPointF(width, height));
    p.drawLine(QPointF(0, height), QPointF(width, 0));
    p.setPen(QPen(red, 2 * unit));
    p.drawLine(QPointF(0, 0), QPointF(width, height));
    p.drawLine(QPointF(0, height), QPointF(width, 0));
    p.setRenderHint(QPainter::Antialiasing, false);
    const double white = 10 * unit;
    const double cross = 6 * unit;
    p.fillRect(QRectF(0, (height - white) / 2, width, white), Qt::white);
    p.fillRect(QRectF((width - white) / 2, 0, white, height), Qt::white);
    p.fillRect(QRectF(0, (height - cross) / 2, width, cross), red);
    p.fillRect(QRectF((width - cross) / 2, 0, cross, height), red);
    return pixmap;
}

QPixmap Tick(int size, const QColor& color) {
    QPixmap pixmap = Transparent(size, size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(color, size / 6.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const double s = size / 16.0;
    const QPointF points[] = {{2 * s, 8.5 * s}, {6 * s, 12.5 * s}, {14 * s, 3 * s}};
    p.drawPolyline(points, 3);
    return pixmap;
}

QIcon SaveIcon() {
    QIcon icon;
    icon.addPixmap(Tick(16, QColor(220, 0, 0)), QIcon::Normal);
    icon.addPixmap(Tick(16, QColor(150, 150, 150)), QIcon::Disabled);
    return icon;
}

QIcon SaveCopyIcon() {
    QIcon icon;
    for (auto [mode, front, back] :
         {std::tuple{QIcon::Normal, QColor(220, 0, 0), QColor(240, 150, 150)},
          std::tuple{QIcon::Disabled, QColor(150, 150, 150), QColor(200, 200, 200)}}) {
        QPixmap pixmap = Transparent(16, 16);
        QPainter p(&pixmap);
        p.drawPixmap(0, 0, Tick(12, back));
        p.drawPixmap(4, 4, Tick(12, front));
        p.end();
        icon.addPixmap(pixmap, mode);
    }
    return icon;
}

namespace {

// A small pitch in a frame (a picture) or on a page with lines of text (a
// sheet), in the button's colours or grey while it is disabled.
QPixmap ExportPicture(int size, bool sheet, bool enabled) {
    QPixmap pixmap = Transparent(size, size);
    QPainter p(&pixmap);
    const QColor ink = enabled ? QColor(40, 40, 40) : QColor(150, 150, 150);
    const QColor grass = enabled ? QColor(40, 150, 40) : QColor(190, 190, 190);
    const double s = size / 16.0;
    if (sheet) {
        p.fillRect(QRectF(3 * s, 1 * s, 10 * s, 14 * s), Qt::white);
        p.setPen(ink);
        p.drawRect(QRectF(3 * s, 1 * s, 10 * s - 1, 14 * s - 1));
        p.fillRect(QRectF(5 * s, 3 * s, 6 * s, 5 * s), grass);
        for (int line = 0; line < 2; ++line)
            p.fillRect(QRectF(5 * s, (10 + 2 * line) * s, 6 * s, 1), ink);
    } else {
        p.fillRect(QRectF(1 * s, 3 * s, 14 * s, 10 * s), grass);
        p.setPen(ink);
        p.drawRect(QRectF(1 * s, 3 * s, 14 * s - 1, 10 * s - 1));
        p.setPen(Qt::white);
        p.drawLine(QPointF(8 * s, 4 * s), QPointF(8 * s, 12 * s));
        p.drawEllipse(QPointF(8 * s, 8 * s), 2 * s, 2 * s);
    }
    return pixmap;
}

QIcon ExportIcon(bool sheet) {
    QIcon icon;
    icon.addPixmap(ExportPicture(16, sheet, true), QIcon::Normal);
    icon.addPixmap(ExportPicture(16, sheet, false), QIcon::Disabled);
    return icon;
}

} // namespace

QIcon PictureIcon() {
    return ExportIcon(false);
}

QIcon SheetIcon() {
    return ExportIcon(true);
}

QIcon ZonesIcon() {
    QPixmap pixmap = Transparent(16, 16);
    QPainter p(&pixmap);
    for (int column = 0; column < 3; ++column)
        for (int row = 0; row < 4; ++row)
            p.fillRect(1 + 5 * column, 4 * row, 4, 3,
                       row == 2 && column == 1 ? QColor(230, 200, 0) : QColor(20, 130, 20));
    QIcon icon(pixmap);
    return icon;
}

QIcon RouteIcon() {
    QPixmap pixmap = Transparent(16, 16);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF stops[] = {{3.5, 12.5}, {12.5, 9}, {5, 3.5}};
    p.setPen(QPen(QColor(255, 140, 0), 1.6));
    p.drawPolyline(stops, 3);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(255, 160, 0));
    for (const QPointF& stop : stops)
        p.drawEllipse(stop, 2.5, 2.5);
    return QIcon(pixmap);
}

} // namespace artwork
