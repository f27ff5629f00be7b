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

SlipRow &SlipBuilder::earnings(std::string code, std::string quantity, std::string description, Money value,
                               std::string amount, std::string explanation)
{
    return slip_.rows.emplace_back(SlipRow{std::move(code), std::move(quantity), true, std::move(description),
                                           std::move(amount), Column::Earnings, value, std::move(explanation)});
}

SlipRow &SlipBuilder::deduction(std::string code, std::string quantity, std::string description, Money value,
                                std::string amount, std::string explanation)
{
    return slip_.rows.emplace_back(SlipRow{std::move(code), std::move(quantity), true, std::move(description),
                                           std::move(amount), Column::Deductions, value, std::move(explanation)});
}

} // namespace recibo
