#pragma once

#include <QWidget>

namespace recibo::forms {

// One straight line between two points given in twips of its parent. The
// widget covers just the line's bounding box and lets clicks through.
class Line : public QWidget {
    Q_OBJECT
    Q_PROPERTY(double x1 READ x1 WRITE setX1)
    Q_PROPERTY(double y1 READ y1 WRITE setY1)
    Q_PROPERTY(double x2 READ x2 WRITE setX2)
    Q_PROPERTY(double y2 READ y2 WRITE setY2)

public:
    Line(QWidget *parent, double x1, double y1, double x2, double y2, int width = 1);

    double x1() const { return x1_; }
    double y1() const { return y1_; }
    double x2() const { return x2_; }
    double y2() const { return y2_; }
    void setX1(double value);
    void setY1(double value);
    void setX2(double value);
    void setY2(double value);
    int lineWidth() const { return width_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void place();

    double x1_, y1_, x2_, y2_;
    int width_;
};

} // namespace recibo::forms
