#include "forms/line.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

#include "forms/controls.h"

namespace recibo::forms {

Line::Line(QWidget *parent, double x1, double y1, double x2, double y2, int width)
    : QWidget(parent), x1_(x1), y1_(y1), x2_(x2), y2_(y2), width_(std::max(width, 1))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    place();
}

void Line::setX1(double value)
{
    x1_ = value;
    place();
}
void Line::setY1(double value)
{
    y1_ = value;
    place();
}
void Line::setX2(double value)
{
    x2_ = value;
    place();
}
void Line::setY2(double value)
{
    y2_ = value;
    place();
}

void Line::place()
{
    const int left = pixels(std::min(x1_, x2_));
    const int top = pixels(std::min(y1_, y2_));
    const int right = pixels(std::max(x1_, x2_));
    const int bottom = pixels(std::max(y1_, y2_));
    const int pad = width_; // room for the pen on both sides
    setGeometry(left - pad, top - pad, right - left + 2 * pad + 1, bottom - top + 2 * pad + 1);
    update();
}

void Line::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QPen pen(palette().color(QPalette::WindowText));
    pen.setWidth(width_);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    const QPoint origin = geometry().topLeft();
    painter.drawLine(QPoint(pixels(x1_), pixels(y1_)) - origin, QPoint(pixels(x2_), pixels(y2_)) - origin);
}

} // namespace recibo::forms
