#include "calc/numbers.h"

#include <charconv>
#include <cmath>

namespace recibo {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::optional<double> readNumber(std::string_view text, std::string_view decimalSeparator)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);

    // Rebuild the number with a point so that from_chars reads it the same
    // whatever the regional settings are.
    std::string plain;
    plain.reserve(text.size());
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        if (text[i] == '-')
            plain += '-';
        ++i;
    }
    bool digits = false;
    bool separator = false;
    while (i < text.size()) {
        if (isDigit(text[i])) {
            plain += text[i];
            digits = true;
            ++i;
        } else if (!separator && !decimalSeparator.empty() && text.substr(i).starts_with(decimalSeparator)) {
            plain += '.';
            separator = true;
            i += decimalSeparator.size();
        } else {
            return std::nullopt;
        }
    }
    if (!digits)
        return std::nullopt;

    double value = 0;
    const char *first = plain.data();
    const char *last = plain.data() + plain.size();
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (error != std::errc() || end != last || !std::isfinite(value))
        return std::nullopt;
    return value == 0 ? 0.0 : value; // no negative zero
}

double roundHalfEven(double value)
{
    const double lower = std::floor(value);
    const double difference = value - lower;
    if (difference > 0.5)
        return lower + 1;
    if (difference < 0.5)
        return lower;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

std::string doubleText(double value, std::string_view decimalSeparator)
{
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    if (error != std::errc())
        return {};
    std::string text;
    for (const char *p = buffer; p != end; ++p) {
        if (*p == '.')
            text += decimalSeparator;
        else
            text += *p;
    }
    return text;
}

} // namespace recibo
