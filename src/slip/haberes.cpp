#include "slip/haberes.h"

#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>
#include <utility>

#include "calc/slip_text.h"
#include "forms/line.h"
#include "forms/locale_text.h"
#include "slip/haberes_layout.h"
#include "slip/printing.h"
#include "slip/slip_output.h"
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

} // namespace

Haberes::Haberes() : Form("Haberes", QStringLiteral("Haberes"), 11880, 8595, QColor(0, 128, 128))
{
    setFont(forms::formFont("MS Sans Serif", 8.25));
    build(haberesControls());
    findControls();

    // The panel's labels take the system's colour of highlighted text.
    const QColor highlighted = palette().color(QPalette::HighlightedText);
    for (const char *name : {"Label2", "Label12", "Label14", "Label20", "Label21", "Label11"})
        forms::setBackground(require(name), highlighted);

    movedor_->setRange(0, kScrollMaximum);
    movedor_->setSingleStep(kScrollSmallStep);
    movedor_->setPageStep(kScrollLargeStep);
    movedor_->setValue(0);
    movedor_->setTracking(false); // the slip moves when the thumb is let go
    connect(movedor_, &QScrollBar::valueChanged, this, &Haberes::scrolled);

    connect(volver_, &QPushButton::clicked, this, &Haberes::volver);
    connect(imprimir_, &QPushButton::clicked, this, &Haberes::imprimir);
    connect(salir_, &QPushButton::clicked, this, &Haberes::quitRequested);

    output_ = std::make_unique<SlipOutput>(*this);
}

Haberes::~Haberes() = default;

void Haberes::contextMenuEvent(QContextMenuEvent *event)
{
    output_->showMenu(event->globalPos());
    event->accept();
}

void Haberes::findControls()
{
    sosten_ = require<QGroupBox>("sosten");
    movedor_ = require<QScrollBar>("movedor");
    rows_.cod = requireArray<QLabel, kSlipPositions>("cod");
    rows_.quantity = requireArray<QLabel, kSlipPositions>("Label10");
    rows_.description = requireArray<QLabel, kSlipPositions>("Label19");
    rows_.amount = requireArray<QLabel, 2 * kSlipPositions>("Label1");
    rows_.rule = requireArray<QWidget, kSlipPositions>("Line8");
    docente_ = require<QLabel>("docente");

    columnRules_ = {require<forms::Line>("Line1"),    require<forms::Line>("Line2"), require<forms::Line>("Line3(0)"),
                    require<forms::Line>("Line3(1)"), require<forms::Line>("Line5"), require<forms::Line>("Line7")};
    line6_ = require<forms::Line>("Line6");
    line15_ = require<forms::Line>("Line15");
    line16_ = require<forms::Line>("Line16");
    line17_ = require<forms::Line>("Line17");
    label15_ = require<QLabel>("Label15");
    label16_ = require<QLabel>("Label16");
    label17_ = require<QLabel>("Label17");
    thaberes_ = require<QLabel>("thaberes");
    tdescuentos_ = require<QLabel>("tdescuentos");
    liquido_ = require<QLabel>("liquido");

    carsel_ = require<QLabel>("carsel");
    label11_ = require<QLabel>("Label11");
    numcargo_ = require<QLineEdit>("numcargo");
    punbasicos_ = require<QLineEdit>("punbasicos");
    compbas_ = require<QLineEdit>("compbas");
    proljor_ = require<QLineEdit>("proljor");
    jorcom_ = require<QLineEdit>("jorcom");
    tardif_ = require<QLineEdit>("tardif");
    pointBoxes_ = {require("Label14"),
                   require("Label20"),
                   require("Label21"),
                   require("Label2"),
                   proljor_,
                   jorcom_,
                   tardif_,
                   compbas_};

    text10_ = require<QLineEdit>("Text10");
    text11_ = require<QLineEdit>("Text11");
    volver_ = require<QPushButton>("Volver");
    imprimir_ = require<QPushButton>("Imprimir");
    salir_ = require<QPushButton>("Salir");
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
    label11_->setText(qtext(head.label11));
    numcargo_->setText(qtext(head.numcargo));
    punbasicos_->setText(qtext(head.punbasicos));
    forms::setCaption(carsel_, qtext(head.carsel));
    for (QWidget *widget : pointBoxes_)
        widget->setVisible(head.showPointBoxes);
}

void Haberes::showChosenCargo(const CargoChoice &cargo)
{
    numcargo_->setText(qtext(cargo.codeTyped));
    punbasicos_->setText(qtext(cargo.punbas));
    proljor_->setText(qtext(cargo.proljor));
    jorcom_->setText(qtext(cargo.jorcom));
    tardif_->setText(qtext(cargo.tardif));
    compbas_->setText(qtext(cargo.compbas));
}

void Haberes::placeTotals(const TotalsLayout &layout)
{
    // A rule across the slip: its upper end, then its lower end.
    const auto level = [](forms::Line *line, float y) {
        line->setY1(y);
        line->setY2(y);
    };
    const auto top = [](QWidget *widget, float twips) { widget->move(widget->x(), pixels(twips)); };
    for (forms::Line *line : columnRules_)
        line->setY2(layout.verticalLinesY2);
    level(line6_, layout.line6);
    top(thaberes_, layout.haberesTop);
    top(label15_, layout.haberesTop);
    level(line15_, layout.line15);
    top(tdescuentos_, layout.descuentosTop);
    top(label16_, layout.descuentosTop);
    level(line16_, layout.line16);
    top(liquido_, layout.liquidoTop);
    top(label17_, layout.liquidoTop);
    level(line17_, layout.line17);
}

void Haberes::showSlip(const Slip &slip, const QString &teacher, const QString &when)
{
    RowWriter writer(rows_);
    writer.clear();
    shown_ = slip;
    writeHead(slip.head);
    for (const SlipRow &row : slip.rows)
        writer.write(row);
    placeTotals(slip.layout);

    // Each total is named with its caption, as each amount is with its row.
    const auto total = [](QLabel *label, const QLabel *caption, const std::string &text,
                          const std::string &explanation) {
        forms::setCaption(label, qtext(text));
        label->setToolTip(qtext(explanation));
        label->setAccessibleName(caption->text() + QStringLiteral(": ") + label->text());
    };
    total(thaberes_, label15_, slip.thaberes, slip.thaberesExplanation);
    total(tdescuentos_, label16_, slip.tdescuentos, slip.tdescuentosExplanation);
    total(liquido_, label17_, slip.liquido, slip.liquidoExplanation);

    forms::setCaption(docente_, teacher);
    text10_->setText(when);
    slipDate_ = QDate::currentDate();

    setVisible(true);
    setEnabled(true);
    bringForward();
}

void Haberes::volver()
{
    setEnabled(false);
    hide();
    emit backRequested();
}

void Haberes::frameClosed()
{
    // Closing the slip through its frame goes back like "Volver".
    volver();
}

void Haberes::setPrinter(std::unique_ptr<SlipPrinter> printer) { output_->setPrinter(std::move(printer)); }

void Haberes::imprimir() { output_->imprimir(); }

void Haberes::guardarPdf() { output_->guardarPdf(); }

void Haberes::copiarRecibo() { output_->copiarRecibo(); }

QString Haberes::teacher() const { return docente_->text(); }

QString Haberes::slipText() const
{
    const std::string teacher = docente_->text().toStdString();
    const std::string when = text10_->text().toStdString();
    const std::string comment = text11_->text().toStdString();
    return QString::fromStdString(recibo::slipText(shown_, {.teacher = teacher, .dateLine = when, .comment = comment}));
}

} // namespace recibo
