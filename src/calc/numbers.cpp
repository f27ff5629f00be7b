#include "calc/numbers.h"

#include <algorithm>
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
    // whatever the regional settings are. The rebuilt text is never longer
    // than the typed one; short texts (all real ones) stay on the stack.
    char small[64];
    std::string large;
    char *plain = small;
    if (text.size() > sizeof small) {
        large.resize(text.size());
        plain = large.data();
    }
    char *out = plain;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        if (text[i] == '-')
            *out++ = '-';
        ++i;
    }
    bool digits = false;
    bool separator = false;
    while (i < text.size()) {
        if (isDigit(text[i])) {
            *out++ = text[i];
            digits = true;
            ++i;
        } else if (!separator && !decimalSeparator.empty() && text.substr(i).starts_with(decimalSeparator)) {
            *out++ = '.';
            separator = true;
            i += decimalSeparator.size();
        } else {
            return std::nullopt;
        }
    }
    if (!digits)
        return std::nullopt;

    double value = 0;
    const auto [end, error] = std::from_chars(plain, out, value, std::chars_format::fixed);
    if (error != std::errc() || end != out || !std::isfinite(value))
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

namespace {

// Significant digits of a number written without an exponent.
int significantDigits(const char *first, const char *last)
{
    int count = 0;
    bool leading = true;
    for (const char *p = first; p != last; ++p) {
        if (!isDigit(*p))
            continue;
        if (leading && *p == '0')
            continue;
        leading = false;
        ++count;
    }
    return count;
}

} // namespace

void appendDoubleText(std::string &out, double value, std::string_view decimalSeparator)
{
    char buffer[64];
    // The shortest text that reads back as the same double is what rounding
    // to 15 significant digits gives whenever it has at most 15 digits and
    // no exponent, and it is much quicker to find.
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general);
    if (error != std::errc() ||
        std::string_view(buffer, static_cast<std::size_t>(end - buffer)).find('e') != std::string_view::npos ||
        significantDigits(buffer, end) > 15) {
        const auto rounded = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
        if (rounded.ec != std::errc())
            return;
        end = rounded.ptr;
    }
    const char *first = buffer;
    const char *point = std::find(first, static_cast<const char *>(end), '.');
    out.append(first, static_cast<std::size_t>(point - first));
    if (point != end) {
        out += decimalSeparator;
        out.append(point + 1, static_cast<std::size_t>(end - point - 1));
    }
}

std::string doubleText(double value, std::string_view decimalSeparator)
{
    std::string text;
    appendDoubleText(text, value, decimalSeparator);
    return text;
}

} // namespace recibo
