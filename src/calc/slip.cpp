#include "calc/slip.h"

namespace recibo {

TotalsLayout totalsLayout(int rowCount)
{
    // One slip row is 315 twips high; the block follows the last row written.
    const auto at = [rowCount](int offset) { return static_cast<float>(rowCount * 315 + offset); };
    TotalsLayout layout;
    layout.verticalLinesY2 = at(2350);
    layout.line6 = at(1050);
    layout.haberesTop = at(1250);
    layout.line15 = at(1550);
    layout.descuentosTop = at(1650);
    layout.line16 = at(1950);
    layout.liquidoTop = at(2050);
    layout.line17 = at(2350);
    return layout;
}

namespace {

// Builds the row in its place in the slip, without a temporary row.
SlipRow &addRow(std::vector<SlipRow> &rows, Column column, std::string &code, std::string &quantity,
                std::string_view description, Money value, std::string &amount, std::string &explanation)
{
    SlipRow &row = rows.emplace_back();
    row.code = std::move(code);
    row.quantity = std::move(quantity);
    row.description = description;
    row.amount = std::move(amount);
    row.column = column;
    row.value = value;
    row.explanation = std::move(explanation);
    return row;
}

} // namespace

SlipRow &SlipBuilder::earnings(std::string code, std::string quantity, std::string_view description, Money value,
                               std::string amount, std::string explanation)
{
    return addRow(slip_.rows, Column::Earnings, code, quantity, description, value, amount, explanation);
}

SlipRow &SlipBuilder::deduction(std::string code, std::string quantity, std::string_view description, Money value,
                                std::string amount, std::string explanation)
{
    return addRow(slip_.rows, Column::Deductions, code, quantity, description, value, amount, explanation);
}

} // namespace recibo
