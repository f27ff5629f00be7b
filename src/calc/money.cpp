#include "calc/money.h"

#include <charconv>
#include <cmath>

#include "calc/numbers.h"

namespace recibo {

Money Money::fromDouble(double value)
{
    const double scaled = roundHalfEven(value * kUnitsPerPeso);
    // Input checks keep every amount far inside the range; a value that still
    // falls outside it (or is not a number) saturates instead of wrapping.
    constexpr double kLimit = 9.0e18;
    if (!(scaled == scaled))
        return Money(0);
    if (scaled >= kLimit)
        return Money(static_cast<std::int64_t>(kLimit));
    if (scaled <= -kLimit)
        return Money(-static_cast<std::int64_t>(kLimit));
    return Money(static_cast<std::int64_t>(scaled));
}

void appendMoneyText(std::string &out, Money amount, std::string_view decimalSeparator)
{
    const std::int64_t units = amount.units();
    const std::uint64_t magnitude =
        units < 0 ? static_cast<std::uint64_t>(-(units + 1)) + 1 : static_cast<std::uint64_t>(units);
    // Sign, at most 15 digits of pesos; the separator and four decimals go
    // after it.
    char whole[24];
    char *end = whole;
    if (units < 0)
        *end++ = '-';
    end = std::to_chars(end, whole + sizeof whole, magnitude / Money::kUnitsPerPeso).ptr;
    out.append(whole, end);
    std::uint64_t fraction = magnitude % Money::kUnitsPerPeso;
    if (fraction != 0) {
        char digits[4];
        for (int i = 3; i >= 0; --i) {
            digits[i] = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
        std::size_t length = 4;
        while (digits[length - 1] == '0')
            --length;
        out += decimalSeparator;
        out.append(digits, length);
    }
}

std::string moneyText(Money amount, std::string_view decimalSeparator)
{
    std::string text;
    appendMoneyText(text, amount, decimalSeparator);
    return text;
}

std::string amountText(Money amount, std::string_view decimalSeparator)
{
    std::string text = "$ ";
    appendMoneyText(text, amount, decimalSeparator);
    return text;
}

std::string basicAmountText(Money amount, std::string_view decimalSeparator)
{
    std::string text = "$";
    appendMoneyText(text, amount, decimalSeparator);
    return text;
}

} // namespace recibo
