#pragma once

// Small helpers that write the explanation of an amount. Numbers never go
// through the C locale: whole numbers by to_chars, amounts by moneyText and
// decimal factors by doubleText, all with the regional separator.

#include <charconv>
#include <concepts>
#include <string>
#include <string_view>

#include "calc/money.h"
#include "calc/numbers.h"

namespace recibo::text {

template <std::integral T> void append(std::string &out, std::string_view, T value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(value));
    out.append(buffer, static_cast<std::size_t>(result.ptr - buffer));
}

inline void append(std::string &out, std::string_view separator, double value)
{
    appendDoubleText(out, value, separator);
}

inline void append(std::string &out, std::string_view separator, Money value)
{
    appendMoneyText(out, value, separator);
}

inline void append(std::string &out, std::string_view, std::string_view part) { out += part; }
inline void append(std::string &out, std::string_view, const char *part) { out += part; }

// Adds the parts to the end of `out`: whole numbers, factors, amounts and words.
template <typename... Parts> void appendAll(std::string &out, std::string_view separator, const Parts &...parts)
{
    (append(out, separator, parts), ...);
}

// Joins the parts into one text.
template <typename... Parts> std::string join(std::string_view separator, const Parts &...parts)
{
    std::string out;
    out.reserve(160); // the longest explanation, of the decree table, fits
    appendAll(out, separator, parts...);
    return out;
}

// The word after a count: the singular for exactly one ("1 hora", "1 hijo"),
// the plural for any other figure ("0 horas", "7,5 horas").
template <typename Count> std::string_view unit(Count count, std::string_view one, std::string_view many)
{
    return count == 1 ? one : many;
}
inline std::string_view unit(Money count, std::string_view one, std::string_view many)
{
    return count == Money::whole(1) ? one : many;
}

// A whole number as text ("2", "30").
inline std::string whole(long long value)
{
    std::string out;
    append(out, {}, value);
    return out;
}

} // namespace recibo::text
