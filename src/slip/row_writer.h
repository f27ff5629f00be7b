#pragma once

#include "calc/slip.h"

namespace recibo {

namespace forms {
class Form;
}

// Writes slip rows into the slip window's row positions: element i of cod,
// Label10, Label19 and Line8, and element i (earnings) or i + 27 (deductions)
// of Label1. The row counter always holds the position of the next row.
class RowWriter {
public:
    explicit RowWriter(forms::Form &slipWindow) : window_(slipWindow) {}

    // Hides every row position; captions keep their old texts.
    void clear();
    void write(const SlipRow &row);
    int rowCounter() const { return counter_; }

private:
    forms::Form &window_;
    int counter_ = 0;
};

} // namespace recibo
