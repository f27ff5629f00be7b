#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace recibo {

// Reads a number typed by the user: optional blanks around it, an optional
// sign, digits with at most one decimal separator (the regional one), at least
// one digit. No digit grouping, no exponent; anything else is not a number.
// Never goes through the C locale.
std::optional<double> readNumber(std::string_view text, std::string_view decimalSeparator);

// Rounds to the nearest whole number, halves to the even one.
double roundHalfEven(double value);

// A double in its shortest form with at most 15 significant digits and the
// regional separator: 12 x 64.7 reads 776,4.
std::string doubleText(double value, std::string_view decimalSeparator);

// The same text added to the end of `out`.
void appendDoubleText(std::string &out, double value, std::string_view decimalSeparator);

} // namespace recibo
