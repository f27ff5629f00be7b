#pragma once

#include <optional>
#include <string>
#include <string_view>
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
    std::vector<JsonMember> members; // in the order of the text

    // The member called `name` of an object, or null.
    const JsonValue *find(std::string_view name) const;
};

struct JsonMember {
    std::string name;
    JsonValue value;
};

// The value of a whole JSON text, or nothing when it is not JSON. A lone
// surrogate escape becomes U+FFFD, as the browser's UTF-8 encoder writes it.
std::optional<JsonValue> parseJson(std::string_view text);

// `text` (UTF-8) as a JSON string, quotes included, added to `out`.
void appendJsonString(std::string &out, std::string_view text);

} // namespace recibo::web
