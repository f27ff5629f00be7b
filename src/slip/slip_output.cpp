#include "slip/slip_output.h"

#include <QAbstractButton>
#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QStandardPaths>

#include <new>
#include <utility>

#include "forms/controls.h"
#include "slip/haberes.h"
#include "slip/printing.h"

namespace recibo {

namespace {

// The slip window's own colours after a print, kept for the rest of the run.
const QColor kFrameAfterPrint(0, 255, 255);
const QColor kWindowAfterPrint(0, 192, 192);

} // namespace

SlipOutput::SlipOutput(Haberes &slip)
    : slip_(slip), sosten_(slip.require<QGroupBox>("sosten")), text1_(slip.require<QLineEdit>("Text1")),
      text12_(slip.require<QLineEdit>("Text12")), volver_(slip.require<QPushButton>("Volver")),
      imprimir_(slip.require<QPushButton>("Imprimir")), salir_(slip.require<QPushButton>("Salir"))
{
    for (std::size_t i = 0; i < watermark_.size(); ++i)
        watermark_[i] = slip.require<QLineEdit>("Text" + std::to_string(i + 2));
    sender_ = std::make_unique<PrintSender>();
    connect(sender_.get(), &PrintSender::finished, this, &SlipOutput::sendingFinished);
    addSlipActions();
}

SlipOutput::~SlipOutput() = default;

void SlipOutput::addSlipActions()
{
    // A menu and keys of their own: nothing is added to the window's layout.
    menu_ = new QMenu(&slip_);
    menu_->setObjectName(QStringLiteral("menuRecibo"));
    const auto action = [this](const QString &text, QKeySequence::StandardKey key, void (SlipOutput::*slot)()) {
        auto *added = new QAction(text, &slip_);
        added->setShortcut(key);
        connect(added, &QAction::triggered, this, slot);
        slip_.addAction(added); // its keys work anywhere in the window
        menu_->addAction(added);
        return added;
    };
    printAction_ = action(QStringLiteral("Imprimir"), QKeySequence::Print, &SlipOutput::imprimir);
    action(QStringLiteral("Guardar como PDF…"), QKeySequence::Save, &SlipOutput::guardarPdf);
    action(QStringLiteral("Copiar el recibo"), QKeySequence::Copy, &SlipOutput::copiarRecibo);
    // Ctrl+C in a text box with nothing selected copies the slip (eventFilter).
    for (QLineEdit *box : slip_.findChildren<QLineEdit *>())
        box->installEventFilter(this);
}

void SlipOutput::showMenu(const QPoint &globalPos) { menu_->popup(globalPos); }

bool SlipOutput::eventFilter(QObject *watched, QEvent *event)
{
    // A text box claims Ctrl+C for itself even with nothing selected; then
    // the key is left to the window, which copies the slip.
    if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy)) {
        if (auto *box = qobject_cast<QLineEdit *>(watched); box && !box->hasSelectedText())
            return true;
    }
    return QObject::eventFilter(watched, event);
}

void SlipOutput::setScreenColours(const QColor &frame, const QColor &window)
{
    forms::setBackground(sosten_, frame);
    forms::setBackground(&slip_, window);
}

std::shared_ptr<SlipPrinter> SlipOutput::printer()
{
    if (!printer_)
        printer_ = std::make_shared<DefaultPrinter>();
    return printer_;
}

void SlipOutput::setPrinter(std::unique_ptr<SlipPrinter> printer) { printer_ = std::move(printer); }

void SlipOutput::showPaperFace()
{
    for (QWidget *widget : std::initializer_list<QWidget *>{volver_, imprimir_, salir_, text1_, text12_})
        widget->setVisible(false);
    setScreenColours(Qt::white, Qt::white);
    for (QLineEdit *box : watermark_)
        box->setVisible(true);
}

void SlipOutput::showScreenFace() noexcept
{
    // Each step on its own: one that finds no memory leaves the others to do.
    const auto step = [](const auto &act) {
        try {
            act();
        } catch (const std::bad_alloc &) {
        }
    };
    for (QLineEdit *box : watermark_)
        step([box] { box->setVisible(false); });
    step([this] { setScreenColours(kFrameAfterPrint, kWindowAfterPrint); });
    for (QWidget *widget : std::initializer_list<QWidget *>{text1_, text12_, volver_, imprimir_, salir_})
        step([widget] { widget->setVisible(true); });
}

SlipPage SlipOutput::drawPage(SlipPrinter *printer, QString &problem)
{
    // No focus frame or text cursor on paper.
    QPointer<QWidget> focused = slip_.focusWidget();
    if (focused)
        focused->clearFocus();
    // The window goes back for the screen whatever happens while the page
    // is drawn, running out of memory among it.
    const auto backForTheScreen = qScopeGuard([this, &focused]() noexcept {
        showScreenFace();
        try {
            if (focused)
                focused->setFocus();
        } catch (const std::bad_alloc &) {
        }
    });
    showPaperFace();
    SlipPage page;
    QBuffer buffer(&page.pdf);
    problem = writeSlipPdf(slip_, buffer);
    if (problem.isEmpty() && printer)
        printer->takeFromWindow(slip_, page);
    if (!problem.isEmpty())
        page.pdf.clear(); // never a part of a page
    return page;
}

void SlipOutput::imprimir()
{
    // One page at a time: the keys and the menu come here too.
    if (sender_->busy())
        return;
    try {
        std::shared_ptr<SlipPrinter> target = printer();
        QString problem;
        SlipPage page = drawPage(target.get(), problem);
        if (!problem.isEmpty()) {
            showPrintFailure(printFailure(QStringLiteral("No se pudo imprimir: %1").arg(problem),
                                          QStringLiteral("Cierre otros programas y vuelva a imprimir.")));
            return;
        }
        const PrintOutcome started = sender_->send(std::move(target), std::move(page));
        if (!started.ok) {
            showPrintFailure(started);
            return;
        }
        setSending(true);
    } catch (const std::bad_alloc &) {
        showPrintFailure(outOfMemory());
    }
}

void SlipOutput::setSending(bool sending)
{
    if (sending) {
        // Disabling the focused button would pass the focus on to "Salir",
        // where the next Enter would end the program: the window itself
        // holds it meanwhile.
        refocusImprimir_ = slip_.focusWidget() == imprimir_;
        if (refocusImprimir_)
            slip_.setFocus();
        slip_.setCursor(Qt::BusyCursor);
    } else {
        slip_.unsetCursor();
    }
    imprimir_->setEnabled(!sending);
    printAction_->setEnabled(!sending);
    if (!sending && std::exchange(refocusImprimir_, false) && (!slip_.focusWidget() || slip_.focusWidget() == &slip_))
        imprimir_->setFocus();
}

void SlipOutput::sendingFinished(const PrintOutcome &outcome)
{
    setSending(false);
    // A failure, or a job the printer keeps waiting (a paused queue).
    if (!outcome.ok || !outcome.problem.isEmpty())
        showPrintFailure(outcome);
}

QMessageBox *SlipOutput::showMessage(const char *name, const QString &title, const QString &text, const QString &advice)
{
    try {
        auto *box = slip_.findChild<QMessageBox *>(QString::fromLatin1(name));
        if (!box) {
            box = new QMessageBox(QMessageBox::Warning, title, QString(), QMessageBox::Ok, &slip_);
            box->setObjectName(QString::fromLatin1(name));
            box->setWindowModality(Qt::NonModal);
        }
        box->setText(text);
        box->setInformativeText(advice);
        box->show();
        box->raise();
        return box;
    } catch (const std::bad_alloc &) {
        // Not even the message finds memory: the windows stay as they were,
        // and the action can be tried again.
        return nullptr;
    }
}

void SlipOutput::showPrintFailure(const PrintOutcome &outcome)
{
    QMessageBox *box =
        showMessage("mensajeImpresion", QStringLiteral("Imprimir el recibo"), outcome.problem, outcome.advice);
    if (!box || box->findChild<QAbstractButton *>(QStringLiteral("guardarPdf")))
        return;
    try {
        // Without a printer the slip can still be kept, and printed
        // elsewhere. Saving draws a page of its own: the one of a print that
        // failed may be only part of a page.
        QPushButton *save = box->addButton(QStringLiteral("Guardar como PDF…"), QMessageBox::ActionRole);
        save->setObjectName(QStringLiteral("guardarPdf"));
        connect(save, &QPushButton::clicked, this, &SlipOutput::guardarPdf);
    } catch (const std::bad_alloc &) {
        // The message stands without its button; the menu and Ctrl+S still save.
    }
}

void SlipOutput::showSaveFailure(const Problem &problem)
{
    showMessage("mensajeGuardar", QStringLiteral("Guardar el recibo"), problem.what, problem.advice);
}

void SlipOutput::guardarPdf()
{
    const QString again = QStringLiteral("Cierre otros programas y vuelva a guardar. Lo escrito en las ventanas "
                                         "sigue como estaba.");
    try {
        QString problem;
        pendingPdf_ = drawPage(nullptr, problem).pdf;
        if (!problem.isEmpty()) {
            showSaveFailure({QStringLiteral("No se guardó el recibo: %1").arg(problem), again});
            return;
        }
    } catch (const std::bad_alloc &) {
        pendingPdf_.clear();
        showSaveFailure({QStringLiteral("No se guardó el recibo: no hay memoria suficiente para preparar la "
                                        "página."),
                         again});
        return;
    }
    try {
        chooseFile();
    } catch (const std::bad_alloc &) {
        pendingPdf_.clear();
        if (auto *dialog = slip_.findChild<QFileDialog *>(QStringLiteral("guardarRecibo")))
            dialog->hide();
        showSaveFailure({QStringLiteral("No se guardó el recibo: no hay memoria suficiente para abrir la ventana "
                                        "donde se elige el archivo."),
                         again});
    }
}

void SlipOutput::chooseFile()
{
    auto *dialog = slip_.findChild<QFileDialog *>(QStringLiteral("guardarRecibo"));
    if (!dialog) {
        dialog = new QFileDialog(&slip_, QStringLiteral("Guardar el recibo como PDF"));
        dialog->setObjectName(QStringLiteral("guardarRecibo"));
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setNameFilter(QStringLiteral("Documentos PDF (*.pdf)"));
        dialog->setDefaultSuffix(QStringLiteral("pdf"));
        dialog->setWindowModality(Qt::NonModal);
        connect(dialog, &QFileDialog::fileSelected, this, &SlipOutput::writePdfFile);
    }
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    dialog->setDirectory(folder);
    const QDate day = slip_.slipDate().isValid() ? slip_.slipDate() : QDate::currentDate();
    dialog->selectFile(slipPdfName(slip_.teacher(), day));
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void SlipOutput::writePdfFile(const QString &path)
{
    Problem problem;
    try {
        problem = savePdfFile(path, pendingPdf_);
    } catch (const std::bad_alloc &) {
        problem = {QStringLiteral("No se guardó el recibo: no hay memoria suficiente para escribir el archivo."),
                   QStringLiteral("Cierre otros programas y vuelva a guardar. Un archivo de ese nombre que ya "
                                  "estaba quedó como estaba.")};
    }
    if (problem.failed())
        showSaveFailure(problem);
}

void SlipOutput::copiarRecibo()
{
    try {
        QGuiApplication::clipboard()->setText(slip_.slipText());
    } catch (const std::bad_alloc &) {
        showMessage("mensajeCopiar", QStringLiteral("Copiar el recibo"),
                    QStringLiteral("No se copió el recibo: no hay memoria suficiente."),
                    QStringLiteral("Cierre otros programas y vuelva a copiarlo. Lo escrito en las ventanas sigue "
                                   "como estaba."));
    }
}

} // namespace recibo
