#pragma once

#include <QPointer>

#include "calc/pay_input.h"
#include "forms/form.h"

#include <QMessageBox>

namespace recibo {

class Desk;

// The entry window: the teacher's data, what is paid, and "Calcular".
class Ingreso : public forms::Form {
    Q_OBJECT
public:
    explicit Ingreso(Desk &desk);

    // The thirteen labels that show the chosen cargo, in the order they are
    // shown and hidden.
    static const std::array<const char *, 13> kChosenCargoDisplay;
    void setChosenCargoDisplayVisible(bool visible);

    // Sets one of the category options (cargo, horasmedio, horassup) off
    // without running its rule.
    void deselectCategory(const char *name);
    void deselectAllCategories();

    // What the windows hold now, as the calculation reads it.
    PayInput payInput();

    // The handler of "Calcular".
    void calcular();

    // The message shown for unusable input, while it is on screen.
    QMessageBox *inputMessage() const { return inputMessage_; }

protected:
    void frameClosed() override;

private:
    void connectRules();
    void reportProblem(const QString &control, const QString &message);

    Desk &desk_;
    QPointer<QMessageBox> inputMessage_;
};

} // namespace recibo
