// Any text read as a number: it is accepted exactly when it has the shape of
// a plain decimal number with the regional separator, blanks around it
// allowed; every accepted number has the value that std::from_chars gives
// the same text with the separator written as a point; and what comes back
// can be turned into money and written again without trouble.
//
// The first byte of the input picks the separator, the rest is the text.
//
// The same text is read as an amount typed from a paid slip too: what is
// accepted has the value the number reader gives it without its "$" and its
// grouping dots, within the range of a slip's amount, and its money text
// reads back the same.

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "calc/compare.h"
#include "calc/money.h"
#include "calc/numbers.h"

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "fuzz_read_number: %s\n", what);
    std::abort();
}

// Blanks by code point, as Unicode lists its white space: tab to carriage
// return, space, next line, no-break space, ogham space mark, en quad to hair
// space, line and paragraph separators, narrow no-break space, medium
// mathematical space, ideographic space.
bool isBlankCodePoint(std::uint32_t c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes the well-formed UTF-8 sequence of exactly `bytes` (one code point),
// or returns false.
bool decode(std::string_view bytes, std::uint32_t &codePoint)
{
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.empty())
        return false;
    std::size_t length = b(0) < 0x80 ? 1 : b(0) >= 0xC2 && b(0) < 0xE0 ? 2 : b(0) >= 0xE0 && b(0) < 0xF0 ? 3 : 0;
    if (length == 0 || length != bytes.size())
        return false;
    codePoint = length == 1 ? b(0) : length == 2 ? b(0) & 0x1F : b(0) & 0x0F;
    for (std::size_t i = 1; i < length; ++i) {
        if (!isContinuation(b(i)))
            return false;
        codePoint = codePoint << 6 | (b(i) & 0x3F);
    }
    return !(length == 3 && codePoint < 0x800); // no overlong forms
}

// The text without blank code points at either end.
std::string_view trim(std::string_view text)
{
    for (;;) {
        std::uint32_t c = 0;
        std::size_t length = 1;
        while (length <= 3 && length <= text.size() && !decode(text.substr(0, length), c))
            ++length;
        if (length > 3 || length > text.size() || !isBlankCodePoint(c))
            break;
        text.remove_prefix(length);
    }
    for (;;) {
        std::size_t start = text.size();
        while (start > 0 && text.size() - start < 4 && isContinuation(static_cast<unsigned char>(text[start - 1])))
            --start;
        if (start == 0)
            break;
        --start; // the lead byte
        std::uint32_t c = 0;
        if (!decode(text.substr(start), c) || !isBlankCodePoint(c))
            break;
        text.remove_suffix(text.size() - start);
    }
    return text;
}

// The shape readNumber promises to accept: an optional sign, digits with at
// most one separator, at least one digit.
bool hasNumberShape(std::string_view text, std::string_view separator)
{
    if (!text.empty() && (text.front() == '-' || text.front() == '+'))
        text.remove_prefix(1);
    bool digit = false;
    bool separatorSeen = false;
    while (!text.empty()) {
        if (text.front() >= '0' && text.front() <= '9') {
            digit = true;
            text.remove_prefix(1);
        } else if (!separatorSeen && text.starts_with(separator)) {
            separatorSeen = true;
            text.remove_prefix(separator.size());
        } else {
            return false;
        }
    }
    return digit;
}

// The same number read by from_chars: the separator written as a point and
// a plus sign dropped (from_chars takes neither). `shaped` is a number.
void checkValue(std::string_view shaped, std::string_view separator, double value)
{
    std::string plain;
    if (shaped.front() == '+')
        shaped.remove_prefix(1);
    bool wholeAboveZero = false;
    bool separatorSeen = false;
    for (std::size_t i = 0; i < shaped.size();) {
        if (!separatorSeen && shaped.substr(i).starts_with(separator)) {
            plain += '.';
            separatorSeen = true;
            i += separator.size();
        } else {
            wholeAboveZero = wholeAboveZero || (!separatorSeen && shaped[i] >= '1' && shaped[i] <= '9');
            plain += shaped[i++];
        }
    }
    double expected = 0;
    const auto [end, error] =
        std::from_chars(plain.data(), plain.data() + plain.size(), expected, std::chars_format::fixed);
    if (end != plain.data() + plain.size())
        fail("from_chars stops inside a number");
    if (error == std::errc::result_out_of_range) {
        // Beyond a double: an infinity of the number's sign, or 0 when it is
        // too near 0.
        if (wholeAboveZero ? !(std::isinf(value) && std::signbit(value) == (plain.front() == '-')) : value != 0)
            fail("a number beyond the range of a double is not read as infinity or 0");
        return;
    }
    if (error != std::errc())
        fail("from_chars refuses a number");
    if (value != expected)
        fail("the value differs from the one from_chars reads");
}

void checkSlipAmount(std::string_view text)
{
    const std::optional<recibo::Money> amount = recibo::readSlipAmount(text);
    if (!amount)
        return;
    if (amount->units() < 0 || amount->units() > 9'999'999'999'999)
        fail("a slip amount out of range");
    std::string plain;
    for (const char c : text)
        if (c != '$' && c != '.')
            plain += c;
    const std::optional<double> value = recibo::readNumber(plain, ",");
    if (!value || recibo::Money::fromDouble(*value) != *amount)
        fail("a slip amount differs from the number read without sign and grouping");
    if (recibo::readSlipAmount(recibo::amountText(*amount, ",")) != amount)
        fail("a slip amount does not read back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    static constexpr std::string_view kSeparators[] = {",", ".", "\xd9\xab" /* arabic decimal separator */};
    const std::string_view separator = kSeparators[data[0] % 3];
    const std::string_view text(reinterpret_cast<const char *>(data + 1), size - 1);
    checkSlipAmount(text);

    const std::optional<double> value = recibo::readNumber(text, separator);
    const std::string_view trimmed = trim(text);
    const bool shaped = hasNumberShape(trimmed, separator);
    if (value.has_value() != shaped)
        fail(shaped ? "refused a plain number" : "accepted something that is not a number");
    if (!value)
        return 0;
    if (*value == 0 && std::signbit(*value))
        fail("negative zero");
    checkValue(trimmed, separator, *value);
    if (!std::isfinite(*value))
        return 0;

    const double rounded = recibo::roundHalfEven(*value);
    if (std::fabs(rounded - *value) > 0.5)
        fail("rounding moves more than half");
    const recibo::Money money = recibo::Money::fromDouble(*value);
    const std::string shown = recibo::amountText(money, separator);
    if (shown.size() < 3 || shown.compare(0, 2, "$ ") != 0)
        fail("an amount text without \"$ \"");

    // What doubleText writes, readNumber reads back (unless it chose an
    // exponent for a very large or very small value).
    const std::string written = recibo::doubleText(*value, separator);
    if (written.find('e') == std::string::npos) {
        const std::optional<double> again = recibo::readNumber(written, separator);
        if (!again || std::fabs(*again - *value) > std::fabs(*value) * 1e-14)
            fail("doubleText does not read back");
    }
    return 0;
}
