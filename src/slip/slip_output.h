#pragma once

#include <QByteArray>
#include <QObject>

#include <array>
#include <memory>

class QAction;
class QGroupBox;
class QLineEdit;
class QMenu;
class QMessageBox;
class QPoint;
class QPushButton;
class QString;

namespace recibo {

class Haberes;
class PrintSender;
class SlipPrinter;
struct PrintOutcome;
struct Problem;
struct SlipPage;

// What the slip window does with its slip besides showing it: printing it,
// saving it as a PDF file and copying it as text, with the menu and keys
// that start them and the messages that report what failed.
class SlipOutput : public QObject {
    Q_OBJECT
public:
    explicit SlipOutput(Haberes &slip);
    ~SlipOutput() override;

    // Prints the slip on the default printer, with a white background. The
    // page is drawn at once and the window is back for the screen straight
    // after; the page reaches the printer on a worker thread, while
    // "Imprimir" waits disabled. Only a failure is reported.
    void imprimir();
    // The slip as it is now, as a PDF file the user names (in a file dialog
    // that does not block the program).
    void guardarPdf();
    // The slip as text on the clipboard (Haberes::slipText()).
    void copiarRecibo();

    // The printer the slip goes to (the system's default unless replaced).
    void setPrinter(std::unique_ptr<SlipPrinter> printer);

    // The menu of a right click on the window, at `globalPos`.
    void showMenu(const QPoint &globalPos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addSlipActions();
    void setScreenColours(const QColor &frame, const QColor &window);
    // No buttons, white backgrounds, the watermark column; and back.
    void showPaperFace();
    void showScreenFace() noexcept;
    // Puts the window in its paper face, draws the page (and whatever the
    // printer takes besides) and puts the window back for the screen, also
    // when drawing fails. A page that is not whole is left empty.
    SlipPage drawPage(SlipPrinter *printer, QString &problem);
    void setSending(bool sending);
    void sendingFinished(const PrintOutcome &outcome);
    void showPrintFailure(const PrintOutcome &outcome);
    // Offers the file dialog for the page drawn for it (pendingPdf_).
    void chooseFile();
    void writePdfFile(const QString &path);
    void showSaveFailure(const Problem &problem);
    // The window's non-modal message `name`, made on first use, shown with
    // what happened and, below it, what to do; nullptr when not even the
    // message finds memory.
    QMessageBox *showMessage(const char *name, const QString &title, const QString &text, const QString &advice);
    std::shared_ptr<SlipPrinter> printer();

    Haberes &slip_;
    QGroupBox *sosten_;
    QLineEdit *text1_;  // "Se imprime en blanco y negro"
    QLineEdit *text12_; // "Poné tu comentario"
    QPushButton *volver_;
    QPushButton *imprimir_;
    QPushButton *salir_;
    // The watermark boxes in the order they are shown and hidden again:
    // Text2 to Text9.
    std::array<QLineEdit *, 8> watermark_;

    QMenu *menu_ = nullptr;
    QAction *printAction_ = nullptr;

    // Shared with the worker that may still be sending with it.
    std::shared_ptr<SlipPrinter> printer_;
    QByteArray pendingPdf_; // the page the file dialog is choosing a file for
    bool refocusImprimir_ = false;
    // Last, so that it goes first: it waits for a page on its way.
    std::unique_ptr<PrintSender> sender_;
};

} // namespace recibo
