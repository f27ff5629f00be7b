#pragma once

#include <QString>

class QWidget;

namespace recibo {

// Result of one attempt to print: ok, or a plain Spanish reason the user can read.
struct PrintOutcome {
    bool ok = false;
    QString problem; // empty when ok
};

// The one step that puts a window on paper. The slip window always uses the
// system's default printer; tests put their own printer in its place to see
// what is on the window at the moment of printing.
class SlipPrinter {
public:
    virtual ~SlipPrinter() = default;
    // Prints the client area of `window`, as it is on screen now, as one page.
    virtual PrintOutcome print(QWidget &window) = 0;
};

// Prints on the system's default printer with no dialog: the client area is
// rendered at the printer's resolution, scaled to fit the page with its
// proportions kept.
class DefaultPrinter : public SlipPrinter {
public:
    PrintOutcome print(QWidget &window) override;
};

} // namespace recibo
