#pragma once

#include <QWidget>

namespace recibo::forms {

// The decorative picture boxes: a small drawing of a school and a pay slip,
// drawn to the box's size. It has no behaviour.
class Decoration : public QWidget {
    Q_OBJECT
public:
    explicit Decoration(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace recibo::forms
