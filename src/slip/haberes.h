#pragma once

#include "calc/slip.h"
#include "forms/form.h"

class QGroupBox;
class QScrollBar;

namespace recibo {

class Desk;

// The pay-slip window: one computed slip in a frame that scrolls, with the
// chosen cargo or hours beside it, and the buttons to go back, print or end.
class Haberes : public forms::Form {
    Q_OBJECT
public:
    explicit Haberes(Desk &desk);

    // Clears the 27 row positions, writes the slip and shows the window
    // beside the entry window without blocking.
    void showSlip(const Slip &slip, const QString &teacher, const QString &when);

    // Back to the entry window to change the data.
    void volver();
    // Prints the slip on the default printer, with a white background.
    void imprimir();

    QGroupBox *sosten() const { return sosten_; }
    QScrollBar *movedor() const { return movedor_; }
    // The frame's place in twips, as the scroll rule sets it.
    double sostenTop() const { return sostenTop_; }
    double sostenHeight() const { return sostenHeight_; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void frameClosed() override;

private:
    void scrolled(int value);
    void placeSosten();
    void writeHead(const SlipHead &head);
    void placeTotals(const TotalsLayout &layout);
    void setScreenColours(const QColor &frame, const QColor &window);

    Desk &desk_;
    QGroupBox *sosten_;
    QScrollBar *movedor_;
    double sostenTop_ = 0;
    double sostenHeight_ = 12000; // the frame's design height
    bool placed_ = false;
};

} // namespace recibo
