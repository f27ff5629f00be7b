#pragma once

#include <QMessageBox>
#include <QPointer>

#include <array>

#include "calc/pay_input.h"
#include "calc/scale.h"
#include "forms/form.h"

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace recibo {

// The entry window: the teacher's data, what is paid, and "Calcular". It
// knows only its own controls; what it asks of the other windows goes out as
// signals, and what they hand it comes in through its public slots.
class Ingreso : public forms::Form {
    Q_OBJECT
public:
    Ingreso();

    // The thirteen labels that show the chosen cargo, in the order they are
    // shown and hidden.
    static const std::array<const char *, 13> kChosenCargoDisplay;

    enum class Category { Cargo, SecondaryHours, HigherHours };
    // Sets a category option off without running its rule.
    void deselectCategory(Category category);
    void deselectAllCategories();

    // What this window holds now, as the calculation reads it. The cargo is
    // not among it: the selection dialog holds that.
    PayInput payInput() const;
    QString teacherName() const;

    // The message shown for unusable input, while it is on screen.
    QMessageBox *inputMessage() const { return inputMessage_; }

    // Puts the keyboard focus in the name box, as at start-up.
    void focusTeacherName();

    // Where "Calcular" is on the screen, and each field shown: the places
    // another window should not cover.
    QRect calcularOnScreen() const;
    QList<QRect> fieldsOnScreen() const;

public slots:
    // "Listo" of the selection dialog: the chosen cargo is shown.
    void showChosenCargo(const recibo::CargoChoice &cargo);
    // The cargo was withdrawn or no code was given: "Cargo" is off.
    void withdrawCargo() { deselectCategory(Category::Cargo); }
    // Back from the slip: a cargo or hours must be chosen again.
    void returnFromSlip();
    // Unusable input: the message says what is wrong.
    void showInputProblem(const QString &message);
    void clearInputProblem();

signals:
    void cargoCategoryClicked();
    void hoursCategoryClicked();
    void calculateRequested(const recibo::PayInput &input);
    void quitRequested();

protected:
    void frameClosed() override;

private:
    void findControls();
    void connectRules();
    void setChosenCargoDisplayVisible(bool visible);

    QLineEdit *docente_;
    QAbstractButton *cargo_;
    QAbstractButton *horasmedio_;
    QAbstractButton *horassup_;
    std::array<QLabel *, 13> chosenCargoDisplay_;
    QLabel *cargoselect_;
    QLabel *codcarval_;
    QLabel *puncarval_;
    QLabel *punproljorval_;
    QLabel *punjorcomval_;
    QLabel *puntardifval_;
    QLabel *puncompbasval_;

    QLineEdit *numerohorasmed_;
    QLineEdit *numerohorassup_;
    QLineEdit *numhorascod06_;
    QLineEdit *numhorasincen_;
    QLineEdit *numhorascod113_;
    QLabel *label3_; // caption of the secondary hours
    QLabel *label4_; // caption of the higher hours
    QLabel *label2_; // captions of the three shared hour boxes
    QLabel *label7_;
    QLabel *label6_;

    QAbstractButton *opincentivo_;
    QLineEdit *text1_; // "Si" or "No" beside the incentive
    QAbstractButton *inasist_;
    QLineEdit *dinasist_;
    QAbstractButton *transporte_;
    QLineEdit *cantkm_;
    QLabel *mensajekm_;
    QComboBox *zona_;
    QAbstractButton *hijos_;
    QLineEdit *cantidadhijos_;
    QAbstractButton *hijosdisc_;
    QLineEdit *cantidadhijosdisc_;
    QAbstractButton *conyuge_;
    std::array<QAbstractButton *, DeductionCount> deductions_;
    std::array<QAbstractButton *, scale::kSeniorityOptions> seniority_; // Option1 to Option12
    QLineEdit *porcantig_;
    QPushButton *calcular_;
    QPushButton *salir_;

    QPointer<QMessageBox> inputMessage_;
};

} // namespace recibo
