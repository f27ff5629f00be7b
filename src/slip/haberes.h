#pragma once

#include <QByteArray>
#include <QDate>

#include <array>
#include <memory>

#include "calc/pay_input.h"
#include "calc/slip.h"
#include "forms/form.h"
#include "slip/row_writer.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMessageBox;
class QPushButton;
class QScrollBar;

namespace recibo {

namespace forms {
class Line;
}
class PrintSender;
class SlipPrinter;
struct PrintOutcome;
struct Problem;
struct SlipPage;

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
    // Prints the slip on the default printer, with a white background. The
    // page is drawn at once and the window is back for the screen straight
    // after; the page reaches the printer on a worker thread, while
    // "Imprimir" waits disabled. Only a failure is reported.
    void imprimir();
    // The slip as it is now, as a PDF file the user names (in a file dialog
    // that does not block the program).
    void guardarPdf();
    // The slip as text on the clipboard (slipText()).
    void copiarRecibo();
    // The slip as plain text (recibo::slipText): the scale's line, the
    // selection panel, a header row, the rows and totals as the slip shows
    // them, the teacher's name, the date line and the comment.
    QString slipText() const;

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
    bool eventFilter(QObject *watched, QEvent *event) override;
    void frameClosed() override;

private:
    void findControls();
    void scrolled(int value);
    void placeSosten();
    void writeHead(const SlipHead &head);
    void placeTotals(const TotalsLayout &layout);
    void setScreenColours(const QColor &frame, const QColor &window);
    void addSlipActions();
    // Puts the window in its paper face, draws the page (and whatever the
    // printer takes besides) and puts the window back for the screen.
    SlipPage drawPage(SlipPrinter *printer, QString &problem);
    void setSending(bool sending);
    void sendingFinished(const PrintOutcome &outcome);
    void showPrintFailure(const PrintOutcome &outcome);
    // Offers the file dialog for a drawn page (an empty one is drawn now).
    void choosePdfFile(const QByteArray &pdf);
    void writePdfFile(const QString &path);
    void showSaveFailure(const Problem &problem);
    // The window's non-modal message `name`, made on first use, shown with
    // what happened and, below it, what to do.
    QMessageBox *showMessage(const char *name, const QString &title, const QString &text, const QString &advice);
    std::shared_ptr<SlipPrinter> printer();

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

    QLineEdit *text1_;  // "Se imprime en blanco y negro"
    QLineEdit *text10_; // date and time of the calculation
    QLineEdit *text11_; // the comment the user writes on the slip
    QLineEdit *text12_; // "Poné tu comentario"
    QPushButton *volver_;
    QPushButton *imprimir_;
    QPushButton *salir_;
    // The watermark boxes in the order they are shown and hidden again:
    // Text2 to Text9.
    std::array<QLineEdit *, 8> watermark_;

    QMenu *menu_;
    QAction *printAction_;

    // Shared with the worker that may still be sending with it.
    std::shared_ptr<SlipPrinter> printer_;
    QByteArray lastPage_;   // the page of the last print, for "Guardar como PDF…" after a failure
    QByteArray pendingPdf_; // the page the file dialog is choosing a file for
    Slip shown_;            // the slip the window shows
    QDate slipDate_;        // the day of the calculation shown
    bool refocusImprimir_ = false;
    double sostenTop_ = 0;
    double sostenHeight_ = 12000; // the frame's design height
    // Last, so that it goes first: it waits for a page on its way.
    std::unique_ptr<PrintSender> sender_;
};

} // namespace recibo
