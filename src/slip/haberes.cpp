#include "slip/haberes.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>

#include "app/desk.h"
#include "entry/ingreso.h"
#include "forms/line.h"
#include "forms/locale_text.h"
#include "slip/haberes_layout.h"
#include "slip/printing.h"
#include "slip/row_writer.h"

namespace recibo {

using forms::pixels;
using forms::qtext;

namespace {

// The scroll bar moves the slip 100 twips an arrow click and 500 a click in
// the track. Its value v puts the frame at 100 - v, so 100 is the design
// place; 2600 lifts the closing line of the longest slip well into view.
constexpr int kScrollSmallStep = 100;
constexpr int kScrollLargeStep = 500;
constexpr int kScrollMaximum = 2600;
constexpr int kScrollDesignValue = 100;

constexpr double kSostenLeft = 840;
constexpr double kSostenWidth = 6840;
// The frame grows with every scroll; it stops where the toolkit stops a widget.
constexpr double kSostenMaxHeight = double(QWIDGETSIZE_MAX) * forms::kTwipsPerPixel;

// The slip window's own colours after a print, kept for the rest of the run.
const QColor kFrameAfterPrint(0, 255, 255);
const QColor kWindowAfterPrint(0, 192, 192);

// The watermark boxes in the order they are shown and hidden again.
constexpr const char *kWatermarkInOrder[] = {"Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8", "Text9"};

constexpr const char *kPointBoxes[] = {"Label14", "Label20", "Label21", "Label2",
                                       "proljor", "jorcom",  "tardif",  "compbas"};

} // namespace

Haberes::Haberes(Desk &desk) : Form("Haberes", QStringLiteral("Haberes"), 11880, 8595, QColor(0, 128, 128)), desk_(desk)
{
    QFont windowFont(QStringLiteral("MS Sans Serif"));
    windowFont.setPointSizeF(8.25);
    setFont(windowFont);
    build(haberesControls());

    sosten_ = control<QGroupBox>(QStringLiteral("sosten"));
    movedor_ = control<QScrollBar>(QStringLiteral("movedor"));

    // The panel's labels take the system's colour of highlighted text.
    const QColor highlighted = palette().color(QPalette::HighlightedText);
    for (const char *name : {"Label2", "Label12", "Label14", "Label20", "Label21", "Label11"})
        forms::setBackground(control(QString::fromLatin1(name)), highlighted);

    movedor_->setRange(0, kScrollMaximum);
    movedor_->setSingleStep(kScrollSmallStep);
    movedor_->setPageStep(kScrollLargeStep);
    movedor_->setValue(0);
    movedor_->setTracking(false); // the slip moves when the thumb is let go
    connect(movedor_, &QScrollBar::valueChanged, this, &Haberes::scrolled);

    connect(control<QPushButton>(QStringLiteral("Volver")), &QPushButton::clicked, this, &Haberes::volver);
    connect(control<QPushButton>(QStringLiteral("Imprimir")), &QPushButton::clicked, this, &Haberes::imprimir);
    connect(control<QPushButton>(QStringLiteral("Salir")), &QPushButton::clicked, this, [this] { desk_.quit(); });
}

void Haberes::resizeEvent(QResizeEvent *event)
{
    Form::resizeEvent(event);
    // The bar runs the window's outer height less 400 twips, never below nothing.
    const float outer = static_cast<float>(frameGeometry().height() * forms::kTwipsPerPixel);
    const float barHeight = std::max(outer - 400.0f, 0.0f);
    movedor_->resize(movedor_->width(), pixels(barHeight));
}

void Haberes::scrolled(int value)
{
    sostenTop_ = static_cast<double>(static_cast<std::int16_t>(kScrollDesignValue - value));
    sostenHeight_ = std::min(sostenHeight_ + movedor_->value(), kSostenMaxHeight);
    placeSosten();
}

void Haberes::placeSosten()
{
    sosten_->setGeometry(pixels(kSostenLeft), pixels(sostenTop_), pixels(kSostenWidth),
                         std::min(pixels(sostenHeight_), QWIDGETSIZE_MAX));
}

void Haberes::writeHead(const SlipHead &head)
{
    control<QLabel>(QStringLiteral("Label11"))->setText(qtext(head.label11));
    control<QLineEdit>(QStringLiteral("numcargo"))->setText(qtext(head.numcargo));
    control<QLineEdit>(QStringLiteral("punbasicos"))->setText(qtext(head.punbasicos));
    forms::setCaption(control<QLabel>(QStringLiteral("carsel")), qtext(head.carsel));
    for (const char *name : kPointBoxes)
        control(QString::fromLatin1(name))->setVisible(head.showPointBoxes);
}

void Haberes::placeTotals(const TotalsLayout &layout)
{
    const auto line = [this](const char *name) { return control<forms::Line>(QString::fromLatin1(name)); };
    // A rule across the slip: its upper end, then its lower end.
    const auto level = [&line](const char *name, float y) {
        line(name)->setY1(y);
        line(name)->setY2(y);
    };
    const auto top = [this](const char *name, float twips) {
        QWidget *widget = control(QString::fromLatin1(name));
        widget->move(widget->x(), pixels(twips));
    };
    for (const char *name : {"Line1", "Line2", "Line3(0)", "Line3(1)", "Line5", "Line7"})
        line(name)->setY2(layout.verticalLinesY2);
    level("Line6", layout.line6);
    top("thaberes", layout.haberesTop);
    top("Label15", layout.haberesTop);
    level("Line15", layout.line15);
    top("tdescuentos", layout.descuentosTop);
    top("Label16", layout.descuentosTop);
    level("Line16", layout.line16);
    top("liquido", layout.liquidoTop);
    top("Label17", layout.liquidoTop);
    level("Line17", layout.line17);
}

void Haberes::showSlip(const Slip &slip, const QString &teacher, const QString &when)
{
    RowWriter writer(*this);
    writer.clear();
    writeHead(slip.head);
    for (const SlipRow &row : slip.rows)
        writer.write(row);
    placeTotals(slip.layout);

    const auto total = [this](const char *name, const std::string &text, const std::string &explanation) {
        auto *label = control<QLabel>(QString::fromLatin1(name));
        forms::setCaption(label, qtext(text));
        label->setToolTip(qtext(explanation));
    };
    total("thaberes", slip.thaberes, slip.thaberesExplanation);
    total("tdescuentos", slip.tdescuentos, slip.tdescuentosExplanation);
    total("liquido", slip.liquido, slip.liquidoExplanation);

    forms::setCaption(control<QLabel>(QStringLiteral("docente")), teacher);
    control<QLineEdit>(QStringLiteral("Text10"))->setText(when);

    if (!placed_) {
        placed_ = true;
        // Beside the entry window where the screen has room, else a little below it.
        const QRect entry = desk_.ingreso().frameGeometry();
        const QRect screen = desk_.ingreso().screen() ? desk_.ingreso().screen()->availableGeometry() : QRect();
        QPoint place = entry.topRight() + QPoint(8, 0);
        if (!screen.isNull() && place.x() + width() > screen.right())
            place = entry.topLeft() + QPoint(40, 40);
        move(place);
    }
    setVisible(true);
    setEnabled(true);
    show();
    raise();
    activateWindow();
}

void Haberes::volver()
{
    setEnabled(false);
    hide();
    Ingreso &ingreso = desk_.ingreso();
    ingreso.deselectAllCategories();
    ingreso.setChosenCargoDisplayVisible(false);
    for (const char *name : {"numerohorasmed", "numerohorassup", "Label3", "Label4"})
        ingreso.control(QString::fromLatin1(name))->hide();
    ingreso.show();
    ingreso.raise();
    ingreso.activateWindow();
}

void Haberes::frameClosed()
{
    // Closing the slip through its frame goes back like "Volver".
    volver();
}

void Haberes::setScreenColours(const QColor &frame, const QColor &window)
{
    forms::setBackground(sosten_, frame);
    forms::setBackground(this, window);
}

void Haberes::imprimir()
{
    const auto set = [this](const char *name, bool visible) {
        control(QString::fromLatin1(name))->setVisible(visible);
    };
    for (const char *name : {"Volver", "Imprimir", "Salir", "Text1", "Text12"})
        set(name, false);
    setScreenColours(Qt::white, Qt::white);
    for (const char *name : kWatermarkInOrder)
        set(name, true);

    const PrintOutcome outcome = desk_.printer().print(*this);

    for (const char *name : kWatermarkInOrder)
        set(name, false);
    setScreenColours(kFrameAfterPrint, kWindowAfterPrint);
    for (const char *name : {"Text1", "Text12", "Volver", "Imprimir", "Salir"})
        set(name, true);

    if (!outcome.ok) {
        auto *box = findChild<QMessageBox *>(QStringLiteral("mensajeImpresion"));
        if (!box) {
            box = new QMessageBox(QMessageBox::Warning, QStringLiteral("No se imprimió el recibo"), QString(),
                                  QMessageBox::Ok, this);
            box->setObjectName(QStringLiteral("mensajeImpresion"));
            box->setWindowModality(Qt::NonModal);
        }
        box->setText(QStringLiteral("El recibo no se imprimió."));
        box->setInformativeText(outcome.problem);
        box->show();
        box->raise();
    }
}

} // namespace recibo
