#include "web/json.h"

#include <algorithm>
#include <limits>
#include <utility>

#include <nlohmann/json.hpp>

namespace recibo::web {

const JsonValue *JsonValue::find(std::string_view name) const
{
    for (const auto &[key, value] : members)
        if (key == name)
            return &value;
    return nullptr;
}

namespace {

// Builds a JsonValue from nlohmann's reader, one event at a time, and stops
// it at nesting too deep or at an object that names a member twice (JSON.parse
// would let the last one win; which one the page meant cannot be known).
class Builder {
public:
    using Json = nlohmann::json;

    bool null()
    {
        place();
        return true;
    }
    bool boolean(bool value)
    {
        JsonValue &slot = place(JsonValue::Kind::Boolean);
        slot.boolean = value;
        return true;
    }
    bool number_integer(Json::number_integer_t value)
    {
        JsonValue &slot = place(JsonValue::Kind::Number);
        slot.whole = true;
        slot.integer = value;
        return true;
    }
    bool number_unsigned(Json::number_unsigned_t value)
    {
        JsonValue &slot = place(JsonValue::Kind::Number);
        slot.whole = value <= static_cast<Json::number_unsigned_t>(std::numeric_limits<long long>::max());
        slot.integer = slot.whole ? static_cast<long long>(value) : 0;
        return true;
    }
    bool number_float(Json::number_float_t, const Json::string_t &)
    {
        place(JsonValue::Kind::Number);
        return true;
    }
    bool string(Json::string_t &value)
    {
        place(JsonValue::Kind::String).text = std::move(value);
        return true;
    }
    bool binary(Json::binary_t &) { return false; } // never in JSON text
    bool start_object(std::size_t) { return open(JsonValue::Kind::Object); }
    bool key(Json::string_t &name)
    {
        name_ = std::move(name);
        return true;
    }
    // Names are compared once the object is whole, sorted, so that an object
    // of many members costs no more than sorting them.
    bool end_object()
    {
        std::vector<std::string_view> names;
        for (const JsonMember &member : open_.back()->members)
            names.push_back(member.name);
        std::sort(names.begin(), names.end());
        if (const auto repeated = std::adjacent_find(names.begin(), names.end()); repeated != names.end()) {
            refusal_ = {JsonRefusal::Reason::RepeatedName, std::string(*repeated)};
            return false;
        }
        open_.pop_back();
        return true;
    }
    bool start_array(std::size_t) { return open(JsonValue::Kind::Array); }
    bool end_array()
    {
        open_.pop_back();
        return true;
    }
    bool parse_error(std::size_t, const std::string &, const nlohmann::detail::exception &)
    {
        refusal_ = {JsonRefusal::Reason::NotJson, {}};
        return false;
    }

    std::variant<JsonValue, JsonRefusal> result(bool read)
    {
        if (read)
            return std::move(root_);
        return std::move(refusal_);
    }

private:
    // The value just read: the whole text, the next item of the open array
    // or the member of the open object named by the last key.
    JsonValue &place(JsonValue::Kind kind = JsonValue::Kind::Null)
    {
        JsonValue *slot = &root_;
        if (!open_.empty()) {
            JsonValue &parent = *open_.back();
            if (parent.kind == JsonValue::Kind::Array)
                slot = &parent.items.emplace_back();
            else
                slot = &parent.members.emplace_back(JsonMember{std::move(name_), {}}).value;
        }
        slot->kind = kind;
        return *slot;
    }

    bool open(JsonValue::Kind kind)
    {
        if (open_.size() >= static_cast<std::size_t>(kJsonMaxDepth)) {
            refusal_ = {JsonRefusal::Reason::TooDeep, {}};
            return false;
        }
        open_.push_back(&place(kind));
        return true;
    }

    JsonValue root_;
    std::vector<JsonValue *> open_; // the objects and arrays not yet closed
    std::string name_;
    JsonRefusal refusal_;
};

} // namespace

std::variant<JsonValue, JsonRefusal> readJson(std::string_view text)
{
    // nlohmann's reader stops at a NUL byte as at the end of the text; no
    // JSON text holds one (inside a string it is written \u0000), so a text
    // with one is not read at all, rather than read up to it.
    if (text.find('\0') != std::string_view::npos)
        return JsonRefusal{};
    Builder builder;
    const bool read = nlohmann::json::sax_parse(text.begin(), text.end(), &builder);
    return builder.result(read);
}

std::optional<JsonValue> parseJson(std::string_view text)
{
    std::variant<JsonValue, JsonRefusal> read = readJson(text);
    if (auto *value = std::get_if<JsonValue>(&read))
        return std::move(*value);
    return std::nullopt;
}

void appendJsonString(std::string &out, std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                out += "\\u00";
                out += kHex[(c >> 4) & 0xF];
                out += kHex[c & 0xF];
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

} // namespace recibo::web
