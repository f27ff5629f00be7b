#include "entry/ingreso.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>

#include "app/desk.h"
#include "calc/calculate.h"
#include "calc/scale.h"
#include "catalogue/advertencia.h"
#include "dialogs/error_window.h"
#include "entry/ingreso_layout.h"
#include "forms/locale_text.h"
#include "slip/haberes.h"

namespace recibo {

using forms::qtext;
using forms::utf8;

const std::array<const char *, 13> Ingreso::kChosenCargoDisplay = {
    "cargoselect",  "codcartit",    "codcarval",    "puncartit",    "puncarval",     "punproljortit", "punproljorval",
    "punjorcomtit", "punjorcomval", "puntardiftit", "puntardifval", "puncompbastit", "puncompbasval",
};

namespace {

// Deduction check boxes in the order their rows are written.
constexpr const char *kDeductionBoxes[DeductionCount] = {"Iosper", "Osplad",   "APORTEJUB", "Ley4035",
                                                         "VESNAR", "cajacomp", "Seguro3011"};

} // namespace

Ingreso::Ingreso(Desk &desk)
    : Form("ingreso", QStringLiteral("Ingreso de datos"), 11880, 8595, QColor(0, 64, 64)), desk_(desk)
{
    QFont windowFont(QStringLiteral("Arial"));
    windowFont.setPointSizeF(8.25);
    setFont(windowFont);
    build(ingresoControls());
    setFixedSize(size());

    auto *zona = control<QComboBox>(QStringLiteral("zona"));
    for (const scale::Zone &zone : scale::kZones)
        zona->addItem(qtext(zone.item));
    zona->setCurrentIndex(-1);
    zona->setEditText(qtext(scale::kZonePrompt));

    auto *calcularButton = control<QPushButton>(QStringLiteral("Command1"));
    setDefaultButton(calcularButton);
    connect(calcularButton, &QPushButton::clicked, this, &Ingreso::calcular);
    connect(control<QPushButton>(QStringLiteral("Command2")), &QPushButton::clicked, this, [this] { desk_.quit(); });
    connectRules();
    control(QStringLiteral("docente"))->setFocus();
}

void Ingreso::frameClosed()
{
    // Closing the main window ends the program, like "Salir".
    desk_.quit();
}

void Ingreso::setChosenCargoDisplayVisible(bool visible)
{
    for (const char *name : kChosenCargoDisplay)
        control(QString::fromLatin1(name))->setVisible(visible);
}

void Ingreso::deselectCategory(const char *name)
{
    auto *option = control<QAbstractButton>(QString::fromLatin1(name));
    if (!option->isChecked())
        return;
    // An exclusive group keeps one option on; let go of it for a moment.
    QButtonGroup *group = option->group();
    if (group)
        group->setExclusive(false);
    option->setChecked(false);
    if (group)
        group->setExclusive(true);
}

void Ingreso::deselectAllCategories()
{
    deselectCategory("cargo");
    deselectCategory("horasmedio");
    deselectCategory("horassup");
}

PayInput Ingreso::payInput()
{
    const auto text = [this](const char *name) { return utf8(control<QLineEdit>(QString::fromLatin1(name))->text()); };
    const auto checked = [this](const char *name) {
        return control<QAbstractButton>(QString::fromLatin1(name))->isChecked();
    };

    PayInput input;
    if (checked("cargo"))
        input.path = PayPath::Cargo;
    else if (checked("horasmedio"))
        input.path = PayPath::SecondaryHours;
    else if (checked("horassup"))
        input.path = PayPath::HigherHours;
    if (input.path == PayPath::Cargo)
        input.cargo = desk_.advertencia().choice();

    input.hoursSecondary = text("numerohorasmed");
    input.hoursHigher = text("numerohorassup");
    input.hoursCode06 = text("numhorascod06");
    input.hoursIncentive = text("numhorasincen");
    input.hoursCode113 = text("numhorascod113");

    for (int option = 1; option <= 12; ++option) {
        if (control<QAbstractButton>(QStringLiteral("Option%1").arg(option))->isChecked()) {
            input.seniorityOption = option;
            break;
        }
    }

    const auto *zona = control<QComboBox>(QStringLiteral("zona"));
    input.zoneIndex = zona->currentIndex();
    input.zoneText = utf8(zona->currentText());

    input.incentive = checked("opincentivo");
    input.absenceDays = text("dinasist");
    input.transport = checked("transporte");
    input.kilometres = text("cantkm");
    input.children = checked("hijos");
    input.childrenCount = text("cantidadhijos");
    input.disabledChildren = checked("hijosdisc");
    input.disabledChildrenCount = text("cantidadhijosdisc");
    input.spouse = checked("conyuge");
    for (int i = 0; i < DeductionCount; ++i)
        input.deductions[static_cast<std::size_t>(i)] = checked(kDeductionBoxes[i]);
    input.decimalSeparator = forms::decimalSeparator();
    return input;
}

void Ingreso::calcular()
{
    const PayInput input = payInput();
    if (input.path == PayPath::None) {
        desk_.errorWindow().showError();
        return;
    }
    auto outcome = calculate(input);
    if (const auto *problem = std::get_if<InputProblem>(&outcome)) {
        reportProblem(qtext(problem->control), qtext(problem->message));
        return;
    }
    // A message about input fixed since then no longer applies.
    if (inputMessage_)
        inputMessage_->hide();
    const Slip &slip = std::get<Slip>(outcome);
    const QString name = control<QLineEdit>(QStringLiteral("docente"))->text();
    const QDateTime now = QDateTime::currentDateTime();
    const QString when = QLocale().toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
                         QLocale().toString(now.time(), QLocale::ShortFormat);
    desk_.haberes().showSlip(slip, name, when);
}

void Ingreso::reportProblem(const QString &controlName, const QString &message)
{
    // The field to fix lives on this window or in the selection dialog.
    QWidget *field = control(controlName);
    if (!field && desk_.hasAdvertencia())
        field = desk_.advertencia().control(controlName);
    if (field && field->isVisible()) {
        field->window()->raise();
        field->setFocus();
        if (auto *box = qobject_cast<QLineEdit *>(field))
            box->selectAll();
    }

    if (!inputMessage_) {
        inputMessage_ =
            new QMessageBox(QMessageBox::Warning, QStringLiteral("Dato no válido"), QString(), QMessageBox::Ok, this);
        inputMessage_->setObjectName(QStringLiteral("mensaje"));
        inputMessage_->setWindowModality(Qt::NonModal);
    }
    inputMessage_->setText(message);
    inputMessage_->show();
    inputMessage_->raise();
}

} // namespace recibo
