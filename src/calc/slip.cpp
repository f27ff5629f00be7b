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

SlipRow &SlipBuilder::add(Column column, const scale::Item &item, std::string &quantity, Money value,
                          std::string &explanation)
{
    // Built in its place in the slip, without a temporary row.
    SlipRow &row = slip_.rows.emplace_back();
    row.code = item.code;
    row.quantity = std::move(quantity);
    row.description = item.description;
    // Row 001 alone writes the sign straight against the figure, on every path.
    row.amount =
        item.code == scale::kCategoryRow.code ? basicAmountText(value, separator_) : amountText(value, separator_);
    row.column = column;
    row.value = value;
    row.explanation = std::move(explanation);
    return row;
}

SlipRow &SlipBuilder::earnings(const scale::Item &item, std::string quantity, Money value, std::string explanation)
{
    return add(Column::Earnings, item, quantity, value, explanation);
}

SlipRow &SlipBuilder::deduction(const scale::Item &item, std::string quantity, Money value, std::string explanation)
{
    return add(Column::Deductions, item, quantity, value, explanation);
}

} // namespace recibo
