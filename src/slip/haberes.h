#pragma once

#include <QDate>

#include <array>
#include <memory>

#include "calc/pay_input.h"
#include "calc/slip.h"
#include "forms/form.h"
#include "slip/row_writer.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace recibo {

namespace forms {
class Line;
}
class SlipOutput;
class SlipPrinter;

// The pay-slip window: one computed slip in a frame that scrolls, with the
// chosen cargo or hours beside it, and the buttons to go back, print or end.
// A right click offers "Imprimir", "Guardar como PDF…" and "Copiar el recibo"
// (also Ctrl+P, Ctrl+S and Ctrl+C).
class Haberes : public forms::Form {
    Q_OBJECT
public:
    Haberes();
    ~Haberes() override;

    // Clears the 27 row positions, writes the slip and shows the window
    // without blocking.
    void showSlip(const Slip &slip, const QString &teacher, const QString &when);

    // Back to the entry window to change the data.
    void volver();
    // Printing, saving and copying the slip (SlipOutput).
    void imprimir();
    void guardarPdf();
    void copiarRecibo();
    // The slip as plain text (recibo::slipText): the scale's line, the
    // selection panel, a header row, the rows and totals as the slip shows
    // them, the teacher's name, the date line and the comment.
    QString slipText() const;
    // The teacher's name on the slip, and the day of the calculation shown.
    QString teacher() const;
    QDate slipDate() const { return slipDate_; }

    // The printer the slip goes to (the system's default unless replaced).
    void setPrinter(std::unique_ptr<SlipPrinter> printer);

    QGroupBox *sosten() const { return sosten_; }
    QScrollBar *movedor() const { return movedor_; }
    // The frame's place in twips, as the scroll rule sets it.
    double sostenTop() const { return sostenTop_; }
    double sostenHeight() const { return sostenHeight_; }

public slots:
    // "Listo" of the selection dialog: the chosen cargo's code and points.
    void showChosenCargo(const recibo::CargoChoice &cargo);

signals:
    void backRequested();
    void quitRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void frameClosed() override;

private:
    void findControls();
    void scrolled(int value);
    void placeSosten();
    void writeHead(const SlipHead &head);
    void placeTotals(const TotalsLayout &layout);

    QGroupBox *sosten_;
    QScrollBar *movedor_;
    SlipRowControls rows_;
    QLabel *docente_;

    // The vertical rules that end under the totals block: Line1, Line2,
    // Line3(0), Line3(1), Line5 and Line7.
    std::array<forms::Line *, 6> columnRules_;
    forms::Line *line6_;
    forms::Line *line15_;
    forms::Line *line16_;
    forms::Line *line17_;
    QLabel *label15_; // "Total Haberes"
    QLabel *label16_; // "Total descuentos"
    QLabel *label17_; // "Liquido a pagar"
    QLabel *thaberes_;
    QLabel *tdescuentos_;
    QLabel *liquido_;

    QLabel *carsel_;
    QLabel *label11_;
    QLineEdit *numcargo_;
    QLineEdit *punbasicos_;
    QLineEdit *compbas_;
    QLineEdit *proljor_;
    QLineEdit *jorcom_;
    QLineEdit *tardif_;
    // Shown on the cargo path only: Label14, Label20, Label21, Label2 and
    // the boxes proljor, jorcom, tardif and compbas.
    std::array<QWidget *, 8> pointBoxes_;

    QLineEdit *text10_; // date and time of the calculation
    QLineEdit *text11_; // the comment the user writes on the slip
    QPushButton *volver_;
    QPushButton *imprimir_;
    QPushButton *salir_;

    Slip shown_;     // the slip the window shows
    QDate slipDate_; // the day of the calculation shown
    double sostenTop_ = 0;
    double sostenHeight_ = 12000; // the frame's design height
    // Last, so that it goes first: a page may be on its way.
    std::unique_ptr<SlipOutput> output_;
};

} // namespace recibo
