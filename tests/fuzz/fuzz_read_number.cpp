// Any text read as a number: it is accepted exactly when it has the shape of
// a plain decimal number with the regional separator, and what comes back
// can be turned into money and written again without trouble.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "calc/money.h"
#include "calc/numbers.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The shape readNumber promises to accept: blanks, an optional sign, digits
// with at most one separator, at least one digit, blanks.
bool hasNumberShape(std::string_view text, std::string_view separator)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    static constexpr std::string_view kSeparators[] = {",", ".", "\xd9\xab" /* arabic decimal separator */};
    const std::string_view separator = kSeparators[data[0] % 3];
    const std::string_view text(reinterpret_cast<const char *>(data + 1), size - 1);

    const std::optional<double> value = recibo::readNumber(text, separator);
    const bool shaped = hasNumberShape(text, separator);
    if (value.has_value() && !shaped)
        std::abort(); // accepted something that is not a number
    if (!value.has_value() && shaped && text.size() < 300)
        std::abort(); // refused a plain number that a double can hold
    if (!value)
        return 0;
    if (!std::isfinite(*value) || (*value == 0 && std::signbit(*value)))
        std::abort();

    const double rounded = recibo::roundHalfEven(*value);
    if (std::fabs(rounded - *value) > 0.5)
        std::abort();
    const recibo::Money money = recibo::Money::fromDouble(*value);
    const std::string shown = recibo::amountText(money, separator);
    if (shown.size() < 3 || shown.compare(0, 2, "$ ") != 0)
        std::abort();

    // What doubleText writes, readNumber reads back (unless it chose an
    // exponent for a very large or very small value).
    const std::string written = recibo::doubleText(*value, separator);
    if (written.find('e') == std::string::npos) {
        const std::optional<double> again = recibo::readNumber(written, separator);
        if (!again || std::fabs(*again - *value) > std::fabs(*value) * 1e-14)
            std::abort();
    }
    return 0;
}
