#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace recibo::web {

struct JsonMember;

// A JSON value as the page sends it: objects, arrays, strings, booleans,
// whole numbers and null. A number with a fraction or an exponent is kept
// as not whole, and is read as absent where a whole number is expected.
struct JsonValue {
    enum class Kind { Null, Boolean, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    bool whole = false; // a Number that is a whole number of `integer`
    long long integer = 0;
    std::string text; // a String, in UTF-8
    std::vector<JsonValue> items;
    std::vector<JsonMember> members; // in the order of the text, each name once

    // The member called `name` of an object, or null.
    const JsonValue *find(std::string_view name) const;
};

struct JsonMember {
    std::string name;
    JsonValue value;
};

// Objects and arrays inside each other no deeper than this: far more than
// any input of the page, and a bound on the work a hostile text can ask for.
inline constexpr int kJsonMaxDepth = 32;

// Why a text was not taken.
struct JsonRefusal {
    enum class Reason { NotJson, RepeatedName, TooDeep };
    Reason reason = Reason::NotJson;
    std::string name; // the repeated name
};

// The value of a whole JSON text (RFC 8259, UTF-8), or why it is refused:
// not JSON (a number with leading zeros or text after it, a lone surrogate
// escape, bytes that are not UTF-8 included), a name given twice in one
// object, or nesting deeper than kJsonMaxDepth.
std::variant<JsonValue, JsonRefusal> readJson(std::string_view text);

// The value, or nothing when readJson refuses the text.
std::optional<JsonValue> parseJson(std::string_view text);

// `text` (UTF-8) as a JSON string, quotes included, added to `out`.
void appendJsonString(std::string &out, std::string_view text);

} // namespace recibo::web
