#pragma once

#include <array>

#include "calc/slip.h"

class QLabel;
class QWidget;

namespace recibo {

// The slip window's row positions: element i of cod, Label10, Label19 and
// Line8 form row i, with element i (earnings) or i + 27 (deductions) of Label1.
struct SlipRowControls {
    std::array<QLabel *, kSlipPositions> cod{};
    std::array<QLabel *, kSlipPositions> quantity{};    // Label10
    std::array<QLabel *, kSlipPositions> description{}; // Label19
    std::array<QLabel *, 2 * kSlipPositions> amount{};  // Label1
    std::array<QWidget *, kSlipPositions> rule{};       // Line8
};

// Writes slip rows into the row positions. The row counter always holds the
// position of the next row.
class RowWriter {
public:
    explicit RowWriter(const SlipRowControls &rows) : rows_(rows) {}

    // Hides every row position; captions keep their old texts.
    void clear();
    void write(const SlipRow &row);
    int rowCounter() const { return counter_; }

private:
    const SlipRowControls &rows_;
    int counter_ = 0;
};

} // namespace recibo
