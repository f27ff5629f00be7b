#include "forms/decoration.h"

#include <QPainter>
#include <QPainterPath>

namespace recibo::forms {

Decoration::Decoration(QWidget *parent) : QWidget(parent) { setFocusPolicy(Qt::NoFocus); }

void Decoration::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(8, 8, -8, -8);
    const double w = area.width();
    const double h = area.height();
    const auto at = [&](double fx, double fy) { return QPointF(area.left() + fx * w, area.top() + fy * h); };

    // The school: a roof, a wall with a door and two windows, a flag.
    painter.setPen(QPen(QColor(0, 64, 64), 2));
    painter.setBrush(QColor(0, 128, 128));
    QPainterPath roof;
    roof.moveTo(at(0.05, 0.45));
    roof.lineTo(at(0.35, 0.2));
    roof.lineTo(at(0.65, 0.45));
    roof.closeSubpath();
    painter.drawPath(roof);
    painter.setBrush(QColor(255, 255, 255));
    painter.drawRect(QRectF(at(0.1, 0.45), at(0.6, 0.9)));
    painter.setBrush(QColor(0, 64, 64));
    painter.drawRect(QRectF(at(0.3, 0.62), at(0.4, 0.9)));
    painter.setBrush(QColor(192, 255, 255));
    painter.drawRect(QRectF(at(0.15, 0.55), at(0.25, 0.68)));
    painter.drawRect(QRectF(at(0.45, 0.55), at(0.55, 0.68)));
    painter.drawLine(at(0.35, 0.2), at(0.35, 0.05));
    painter.setBrush(QColor(116, 172, 223));
    painter.drawRect(QRectF(at(0.35, 0.05), at(0.47, 0.1)));
    painter.setBrush(QColor(255, 255, 255));
    painter.drawRect(QRectF(at(0.35, 0.1), at(0.47, 0.12)));

    // The slip: a sheet with ruled lines and a total.
    painter.setBrush(QColor(255, 255, 255));
    painter.drawRect(QRectF(at(0.68, 0.3), at(0.95, 0.9)));
    painter.setPen(QPen(QColor(0, 0, 128), 1));
    for (double y = 0.4; y < 0.8; y += 0.07)
        painter.drawLine(at(0.72, y), at(0.91, y));
    painter.setPen(QPen(QColor(0, 0, 128), 2));
    painter.drawLine(at(0.72, 0.84), at(0.91, 0.84));
}

} // namespace recibo::forms
