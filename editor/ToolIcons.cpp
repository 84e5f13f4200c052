#include "ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace zk::icons {

namespace {

constexpr int kSize = 32;

// Drawn afresh for each common screen scale, so the pictures stay sharp on
// high-density screens instead of being enlarged from 32 pixels.
QIcon draw(const std::function<void(QPainter&)>& paint)
{
    QIcon icon;
    for (const qreal scale : {1.0, 1.25, 1.5, 2.0, 3.0}) {
        const int side = qRound(kSize * scale);
        QPixmap pixmap(side, side);
        pixmap.setDevicePixelRatio(scale); // the painter works in 32-pixel units
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        paint(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void page(QPainter& p)
{
    QPainterPath sheet;
    sheet.moveTo(7, 3);
    sheet.lineTo(20, 3);
    sheet.lineTo(26, 9);
    sheet.lineTo(26, 29);
    sheet.lineTo(7, 29);
    sheet.closeSubpath();
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.setBrush(QColor(210, 210, 210));
    p.drawPolygon(QPolygonF({QPointF(20, 3), QPointF(20, 9), QPointF(26, 9)}));
}

// A hand-held radio: body, antenna and a small display.
void radio(QPainter& p, int x)
{
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.setBrush(QColor(70, 70, 80));
    p.drawRoundedRect(QRectF(x, 10, 12, 20), 2, 2);
    p.drawLine(QPointF(x + 3, 10), QPointF(x + 3, 2));
    p.setBrush(QColor(150, 220, 150));
    p.drawRect(QRectF(x + 2, 13, 8, 5));
}

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour)
{
    p.setPen(QPen(colour, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const double dx = to.x() > from.x() ? -5 : 5;
    p.drawLine(to, QPointF(to.x() + dx, to.y() - 5));
    p.drawLine(to, QPointF(to.x() + dx, to.y() + 5));
}

} // namespace

QIcon newPlan()
{
    return draw([](QPainter& p) {
        page(p);
        p.setPen(QPen(QColor(230, 170, 0), 2));
        p.drawLine(QPointF(12, 17), QPointF(22, 17));
        p.drawLine(QPointF(17, 12), QPointF(17, 22));
    });
}

QIcon openPlan()
{
    return draw([](QPainter& p) {
        p.setPen(QPen(QColor(120, 85, 20), 1.5));
        p.setBrush(QColor(235, 190, 80));
        p.drawRect(QRectF(3, 9, 24, 18));
        p.drawRect(QRectF(3, 6, 10, 4));
        p.setBrush(QColor(250, 215, 120));
        p.drawPolygon(QPolygonF({QPointF(7, 14), QPointF(30, 14), QPointF(27, 27), QPointF(3, 27)}));
    });
}

QIcon savePlan()
{
    return draw([](QPainter& p) {
        p.setPen(QPen(QColor(20, 40, 90), 1.5));
        p.setBrush(QColor(50, 90, 170));
        p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 4, 14, 9));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(8, 18, 16, 10));
        p.setBrush(QColor(20, 40, 90));
        p.drawRect(QRectF(18, 6, 3, 5));
    });
}

QIcon readRadio()
{
    return draw([](QPainter& p) {
        radio(p, 2);
        arrow(p, QPointF(16, 20), QPointF(29, 20), QColor(0, 140, 60));
    });
}

QIcon writeRadio()
{
    return draw([](QPainter& p) {
        radio(p, 18);
        arrow(p, QPointF(3, 20), QPointF(15, 20), QColor(200, 60, 30));
    });
}

QIcon remark()
{
    return draw([](QPainter& p) {
        page(p);
        p.setPen(QPen(QColor(90, 90, 90), 1.5));
        for (int y = 12; y <= 24; y += 4)
            p.drawLine(QPointF(10, y), QPointF(23, y));
    });
}

QIcon password()
{
    return draw([](QPainter& p) {
        p.setPen(QPen(QColor(120, 90, 0), 2));
        p.setBrush(QColor(240, 200, 40));
        p.drawEllipse(QRectF(3, 9, 13, 13));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(7, 13, 5, 5));
        p.setPen(QPen(QColor(120, 90, 0), 3, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(16, 15.5), QPointF(29, 15.5));
        p.drawLine(QPointF(25, 15.5), QPointF(25, 21));
        p.drawLine(QPointF(28, 15.5), QPointF(28, 20));
    });
}

} // namespace zk::icons
