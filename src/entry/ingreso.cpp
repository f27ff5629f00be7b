#include "entry/ingreso.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <string>

#include "calc/scale.h"
#include "entry/ingreso_layout.h"
#include "forms/locale_text.h"

namespace recibo {

using forms::qtext;
using forms::utf8;

const std::array<const char *, 13> Ingreso::kChosenCargoDisplay = {
    "cargoselect",  "codcartit",    "codcarval",    "puncartit",    "puncarval",     "punproljortit", "punproljorval",
    "punjorcomtit", "punjorcomval", "puntardiftit", "puntardifval", "puncompbastit", "puncompbasval",
};

namespace {

// Deduction check boxes in the order their rows are written.
constexpr std::string_view kDeductionBoxes[DeductionCount] = {"Iosper", "Osplad",   "APORTEJUB", "Ley4035",
                                                              "VESNAR", "cajacomp", "Seguro3011"};

} // namespace

Ingreso::Ingreso() : Form("ingreso", QStringLiteral("Ingreso de datos"), 11880, 8595, QColor(0, 64, 64))
{
    setFont(forms::formFont("Arial", 8.25));
    build(ingresoControls());
    setFixedSize(size());
    findControls();

    for (const scale::Zone &zone : scale::kZones)
        zona_->addItem(qtext(zone.item));
    zona_->setCurrentIndex(-1);
    zona_->setEditText(qtext(scale::kZonePrompt));

    setDefaultButton(calcular_);
    connect(calcular_, &QPushButton::clicked, this, [this] { emit calculateRequested(payInput()); });
    connect(salir_, &QPushButton::clicked, this, &Ingreso::quitRequested);
    connectRules();
    docente_->setFocus();
}

void Ingreso::findControls()
{
    docente_ = require<QLineEdit>("docente");
    cargo_ = require<QAbstractButton>("cargo");
    horasmedio_ = require<QAbstractButton>("horasmedio");
    horassup_ = require<QAbstractButton>("horassup");
    for (std::size_t i = 0; i < kChosenCargoDisplay.size(); ++i)
        chosenCargoDisplay_[i] = require<QLabel>(kChosenCargoDisplay[i]);
    cargoselect_ = require<QLabel>("cargoselect");
    codcarval_ = require<QLabel>("codcarval");
    puncarval_ = require<QLabel>("puncarval");
    punproljorval_ = require<QLabel>("punproljorval");
    punjorcomval_ = require<QLabel>("punjorcomval");
    puntardifval_ = require<QLabel>("puntardifval");
    puncompbasval_ = require<QLabel>("puncompbasval");

    numerohorasmed_ = require<QLineEdit>("numerohorasmed");
    numerohorassup_ = require<QLineEdit>("numerohorassup");
    numhorascod06_ = require<QLineEdit>("numhorascod06");
    numhorasincen_ = require<QLineEdit>("numhorasincen");
    numhorascod113_ = require<QLineEdit>("numhorascod113");
    label3_ = require<QLabel>("Label3");
    label4_ = require<QLabel>("Label4");
    label2_ = require<QLabel>("Label2");
    label7_ = require<QLabel>("Label7");
    label6_ = require<QLabel>("Label6");

    opincentivo_ = require<QAbstractButton>("opincentivo");
    text1_ = require<QLineEdit>("Text1");
    inasist_ = require<QAbstractButton>("inasist");
    dinasist_ = require<QLineEdit>("dinasist");
    transporte_ = require<QAbstractButton>("transporte");
    cantkm_ = require<QLineEdit>("cantkm");
    mensajekm_ = require<QLabel>("mensajekm");
    zona_ = require<QComboBox>("zona");
    hijos_ = require<QAbstractButton>("hijos");
    cantidadhijos_ = require<QLineEdit>("cantidadhijos");
    hijosdisc_ = require<QAbstractButton>("hijosdisc");
    cantidadhijosdisc_ = require<QLineEdit>("cantidadhijosdisc");
    conyuge_ = require<QAbstractButton>("conyuge");
    for (std::size_t i = 0; i < deductions_.size(); ++i)
        deductions_[i] = require<QAbstractButton>(kDeductionBoxes[i]);
    for (std::size_t i = 0; i < seniority_.size(); ++i)
        seniority_[i] = require<QAbstractButton>("Option" + std::to_string(i + 1));
    porcantig_ = require<QLineEdit>("porcantig");
    calcular_ = require<QPushButton>("Command1");
    salir_ = require<QPushButton>("Command2");
}

void Ingreso::frameClosed()
{
    // Closing the main window ends the program, like "Salir".
    emit quitRequested();
}

void Ingreso::focusTeacherName() { docente_->setFocus(); }

void Ingreso::setChosenCargoDisplayVisible(bool visible)
{
    for (QLabel *label : chosenCargoDisplay_)
        label->setVisible(visible);
}

void Ingreso::deselectCategory(Category category)
{
    QAbstractButton *option = category == Category::Cargo            ? cargo_
                              : category == Category::SecondaryHours ? horasmedio_
                                                                     : horassup_;
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
    deselectCategory(Category::Cargo);
    deselectCategory(Category::SecondaryHours);
    deselectCategory(Category::HigherHours);
}

void Ingreso::showChosenCargo(const CargoChoice &cargo)
{
    setChosenCargoDisplayVisible(true);
    forms::setCaption(cargoselect_, qtext(cargo.name));
    codcarval_->setText(qtext(cargo.codeTyped));
    puncarval_->setText(qtext(cargo.punbas));
    punproljorval_->setText(qtext(cargo.proljor));
    punjorcomval_->setText(qtext(cargo.jorcom));
    puntardifval_->setText(qtext(cargo.tardif));
    puncompbasval_->setText(qtext(cargo.compbas));
}

void Ingreso::returnFromSlip()
{
    deselectAllCategories();
    setChosenCargoDisplayVisible(false);
    for (QWidget *widget : std::initializer_list<QWidget *>{numerohorasmed_, numerohorassup_, label3_, label4_})
        widget->hide();
    bringForward();
}

PayInput Ingreso::payInput() const
{
    PayInput input;
    if (cargo_->isChecked())
        input.path = PayPath::Cargo;
    else if (horasmedio_->isChecked())
        input.path = PayPath::SecondaryHours;
    else if (horassup_->isChecked())
        input.path = PayPath::HigherHours;

    input.hoursSecondary = utf8(numerohorasmed_->text());
    input.hoursHigher = utf8(numerohorassup_->text());
    input.hoursCode06 = utf8(numhorascod06_->text());
    input.hoursIncentive = utf8(numhorasincen_->text());
    input.hoursCode113 = utf8(numhorascod113_->text());

    for (std::size_t i = 0; i < seniority_.size(); ++i) {
        if (seniority_[i]->isChecked()) {
            input.seniorityOption = static_cast<int>(i) + 1;
            break;
        }
    }

    input.zoneIndex = zona_->currentIndex();
    input.zoneText = utf8(zona_->currentText());

    input.incentive = opincentivo_->isChecked();
    input.absenceDays = utf8(dinasist_->text());
    input.transport = transporte_->isChecked();
    input.kilometres = utf8(cantkm_->text());
    input.children = hijos_->isChecked();
    input.childrenCount = utf8(cantidadhijos_->text());
    input.disabledChildren = hijosdisc_->isChecked();
    input.disabledChildrenCount = utf8(cantidadhijosdisc_->text());
    input.spouse = conyuge_->isChecked();
    for (std::size_t i = 0; i < deductions_.size(); ++i)
        input.deductions[i] = deductions_[i]->isChecked();
    input.decimalSeparator = forms::decimalSeparator();
    return input;
}

QString Ingreso::teacherName() const { return docente_->text(); }

void Ingreso::showInputProblem(const QString &message)
{
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

void Ingreso::clearInputProblem()
{
    // A message about input fixed since then no longer applies.
    if (inputMessage_)
        inputMessage_->hide();
}

namespace {

QRect onScreen(const QWidget *widget) { return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size()); }

} // namespace

QRect Ingreso::calcularOnScreen() const { return onScreen(calcular_); }

QList<QRect> Ingreso::fieldsOnScreen() const
{
    QList<QRect> fields;
    for (const QWidget *control : findChildren<QWidget *>()) {
        const auto *button = qobject_cast<const QAbstractButton *>(control);
        const bool field = qobject_cast<const QLineEdit *>(control) || qobject_cast<const QComboBox *>(control) ||
                           (button && button->isCheckable());
        if (field && control->isVisible())
            fields.append(onScreen(control));
    }
    return fields;
}

} // namespace recibo
