#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace recibo {

// The text without the blanks that pasted text brings at either end: every
// Unicode space (the no-break ones too), tabs and line ends. `text` is UTF-8.
std::string_view trimBlanks(std::string_view text);

// Reads a number typed by the user: optional blanks around it (trimBlanks),
// an optional sign, digits with at most one decimal separator (the regional
// one), at least one digit. No digit grouping, no exponent; anything else is
// not a number. The value is the nearest double; a number beyond the range of
// a double reads as an infinity of its sign, one too small for it as 0.
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
