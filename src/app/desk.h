#pragma once

#include <QMargins>
#include <QRect>

#include <functional>
#include <memory>

#include "calc/pay_input.h"

class QWidget;

namespace recibo {

class Ingreso;
class Advertencia;
class Haberes;
class ErrorWindow;
class SlipPrinter;

// The program's four windows, and the only place that knows more than one
// of them: it connects what each window asks for to what the others offer.
// Each window is created the first time anything refers to it, exists once
// for the whole run and is afterwards only hidden and shown, so its controls
// keep what they hold.
class Desk {
public:
    Desk();
    ~Desk();
    Desk(const Desk &) = delete;
    Desk &operator=(const Desk &) = delete;

    Ingreso &ingreso();
    Advertencia &advertencia();
    Haberes &haberes();
    ErrorWindow &errorWindow();

    bool hasAdvertencia() const { return advertencia_ != nullptr; }
    bool hasHaberes() const { return haberes_ != nullptr; }
    bool hasErrorWindow() const { return errorWindow_ != nullptr; }

    // What the windows hold now, as "Calcular" hands it to the calculation:
    // the entry window's data with the cargo held by the selection dialog.
    PayInput payInput();

    // The handler of "Calcular": the calculation with what the windows hold,
    // then the slip, the selection error or a message about the input.
    void calculate(PayInput input);

    // Ends the program at once: every window goes, nothing is asked.
    void quit();
    void setQuitHandler(std::function<void()> handler) { quitHandler_ = std::move(handler); }

    // The printer the slip is printed on (the system's default unless replaced).
    void setPrinter(std::unique_ptr<SlipPrinter> printer);

private:
    // The entry window's data with the cargo held by the selection dialog.
    PayInput withCargo(PayInput input);
    // The slip beside the entry window, or where it leaves "Calcular" and the
    // fields in view; a dialog centred over the entry window. The entry
    // window's own place is the window manager's.
    void placeSlipBesideEntry();
    void placeOverEntry(QWidget &dialog);
    QRect entryScreen();
    QMargins entryFrame(); // the window manager's frame round the entry window

    std::unique_ptr<Ingreso> ingreso_;
    std::unique_ptr<Advertencia> advertencia_;
    std::unique_ptr<Haberes> haberes_;
    std::unique_ptr<ErrorWindow> errorWindow_;
    std::unique_ptr<SlipPrinter> printer_; // kept for the slip window until it exists
    std::function<void()> quitHandler_;
};

} // namespace recibo
