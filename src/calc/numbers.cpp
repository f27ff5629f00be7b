#include "calc/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

// Standard libraries without floating-point std::to_chars and std::from_chars
// (libc++ up to 16, and with it Emscripten's) read and write doubles with
// strtod and snprintf under the "C" locale of the calling thread alone.
// RECIBO_PORTABLE_NUMBERS forces that way anywhere, to test it.
#if !defined(__cpp_lib_to_chars) || defined(RECIBO_PORTABLE_NUMBERS)
#define RECIBO_NUMBERS_THROUGH_C 1
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#if __has_include(<xlocale.h>)
#include <xlocale.h>
#endif
#endif

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

#ifdef RECIBO_NUMBERS_THROUGH_C

// The "C" locale for the calling thread while it lives: the regional
// settings never reach strtod and snprintf.
class ClassicNumbers {
public:
    ClassicNumbers() : previous_(uselocale(classic())) {}
    ~ClassicNumbers() { uselocale(previous_); }
    ClassicNumbers(const ClassicNumbers &) = delete;
    ClassicNumbers &operator=(const ClassicNumbers &) = delete;

private:
    static locale_t classic()
    {
        static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
        return locale;
    }
    locale_t previous_;
};

// Reads [first, last), a plain decimal number with a point, as from_chars
// reads it in fixed format: the nearest double, or out of range for one
// beyond the doubles or too near 0 for any.
std::errc readPlain(const char *first, const char *last, double &value)
{
    const std::string text(first, last);
    const ClassicNumbers classic;
    char *end = nullptr;
    errno = 0;
    const double read = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size())
        return std::errc::invalid_argument;
    if (errno == ERANGE && (read == 0 || std::isinf(read)))
        return std::errc::result_out_of_range;
    value = read;
    return std::errc();
}

#else

std::errc readPlain(const char *first, const char *last, double &value)
{
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (error == std::errc() && end != last)
        return std::errc::invalid_argument;
    return error;
}

#endif

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
    const std::errc error = readPlain(plain, out, value);
    if (error == std::errc::result_out_of_range) {
        // A number with more digits than a double can hold, or one so near 0
        // that it can only be 0.
        if (!wholeAboveZero)
            return 0.0;
        const double infinity = std::numeric_limits<double>::infinity();
        return negative ? -infinity : infinity;
    }
    if (error != std::errc())
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

#ifdef RECIBO_NUMBERS_THROUGH_C

// Rounding to 15 significant digits, as printf's %.15g writes it.
const char *writeFifteenDigits(char (&buffer)[64], double value)
{
    const ClassicNumbers classic;
    const int size = std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return size < 0 || size >= static_cast<int>(sizeof buffer) ? nullptr : buffer + size;
}

#else

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

// The shortest text that reads back as the same double is what rounding to
// 15 significant digits gives whenever it has at most 15 digits and no
// exponent, and it is much quicker to find.
const char *writeFifteenDigits(char (&buffer)[64], double value)
{
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general);
    if (error != std::errc() ||
        std::string_view(buffer, static_cast<std::size_t>(end - buffer)).find('e') != std::string_view::npos ||
        significantDigits(buffer, end) > 15) {
        const auto rounded = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
        if (rounded.ec != std::errc())
            return nullptr;
        end = rounded.ptr;
    }
    return end;
}

#endif

} // namespace

void appendDoubleText(std::string &out, double value, std::string_view decimalSeparator)
{
    char buffer[64];
    const char *end = writeFifteenDigits(buffer, value);
    if (end == nullptr)
        return;
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
