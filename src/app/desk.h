#pragma once

#include <functional>
#include <memory>

namespace recibo {

class Ingreso;
class Advertencia;
class Haberes;
class ErrorWindow;
class SlipPrinter;

// The program's four windows. Each is created the first time anything refers
// to it, exists once for the whole run and is afterwards only hidden and
// shown, so its controls keep what they hold.
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

    // Ends the program at once: every window goes, nothing is asked.
    void quit();
    void setQuitHandler(std::function<void()> handler) { quitHandler_ = std::move(handler); }

    // The printer the slip is printed on (the system's default unless replaced).
    SlipPrinter &printer();
    void setPrinter(std::unique_ptr<SlipPrinter> printer);

private:
    std::unique_ptr<Ingreso> ingreso_;
    std::unique_ptr<Advertencia> advertencia_;
    std::unique_ptr<Haberes> haberes_;
    std::unique_ptr<ErrorWindow> errorWindow_;
    std::unique_ptr<SlipPrinter> printer_;
    std::function<void()> quitHandler_;
};

} // namespace recibo
