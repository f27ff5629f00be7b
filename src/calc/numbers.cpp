#include "calc/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace recibo {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The UTF-8 forms of the blanks: tab, line feed, vertical tab, form feed,
// carriage return, space, next line, and the Unicode spaces (no-break space,
// ogham space mark, the spaces from en quad to hair space, line and paragraph
// separators, narrow no-break space, medium mathematical space, ideographic
// space).
constexpr std::string_view kBlanks[] = {
    "\t",           "\n",           "\v",           "\f",           "\r",           " ",
    "\xC2\x85",     "\xC2\xA0",     "\xE1\x9A\x80", "\xE2\x80\x80", "\xE2\x80\x81", "\xE2\x80\x82",
    "\xE2\x80\x83", "\xE2\x80\x84", "\xE2\x80\x85", "\xE2\x80\x86", "\xE2\x80\x87", "\xE2\x80\x88",
    "\xE2\x80\x89", "\xE2\x80\x8A", "\xE2\x80\xA8", "\xE2\x80\xA9", "\xE2\x80\xAF", "\xE2\x81\x9F",
    "\xE3\x80\x80",
};

// The length of the blank that `text` starts (or ends) with, or 0.
template <typename Matches> std::size_t blankAt(std::string_view text, Matches matches)
{
    for (const std::string_view blank : kBlanks)
        if (matches(text, blank))
            return blank.size();
    return 0;
}

} // namespace

std::string_view trimBlanks(std::string_view text)
{
    const auto starts = [](std::string_view t, std::string_view b) { return t.starts_with(b); };
    const auto ends = [](std::string_view t, std::string_view b) { return t.ends_with(b); };
    while (const std::size_t size = blankAt(text, starts))
        text.remove_prefix(size);
    while (const std::size_t size = blankAt(text, ends))
        text.remove_suffix(size);
    return text;
}

std::optional<double> readNumber(std::string_view text, std::string_view decimalSeparator)
{
    text = trimBlanks(text);

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
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        if (negative)
            *out++ = '-';
        ++i;
    }
    bool digits = false;
    bool separator = false;
    bool wholeAboveZero = false; // a digit other than 0 before the separator
    while (i < text.size()) {
        if (isDigit(text[i])) {
            wholeAboveZero = wholeAboveZero || (!separator && text[i] != '0');
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
    if (error == std::errc::result_out_of_range) {
        // A number with more digits than a double can hold, or one so near 0
        // that it can only be 0.
        if (!wholeAboveZero)
            return 0.0;
        const double infinity = std::numeric_limits<double>::infinity();
        return negative ? -infinity : infinity;
    }
    if (error != std::errc() || end != out)
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
