#include "web/json.h"

#include <charconv>
#include <utility>

namespace recibo::web {

const JsonValue *JsonValue::find(std::string_view name) const
{
    for (const auto &[key, value] : members)
        if (key == name)
            return &value;
    return nullptr;
}

namespace {

// Nesting deeper than any input of the page is refused rather than followed.
constexpr int kMaxDepth = 32;

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    std::optional<JsonValue> document()
    {
        JsonValue value;
        if (!parseValue(value, 0))
            return std::nullopt;
        skipBlanks();
        if (at_ != text_.size())
            return std::nullopt;
        return value;
    }

private:
    void skipBlanks()
    {
        while (at_ < text_.size() &&
               (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r'))
            ++at_;
    }

    bool take(char c)
    {
        skipBlanks();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    bool word(std::string_view w)
    {
        if (text_.substr(at_).starts_with(w)) {
            at_ += w.size();
            return true;
        }
        return false;
    }

    bool parseValue(JsonValue &value, int depth)
    {
        if (depth > kMaxDepth)
            return false;
        skipBlanks();
        if (at_ >= text_.size())
            return false;
        const char c = text_[at_];
        if (c == '{')
            return parseObject(value, depth);
        if (c == '[')
            return parseArray(value, depth);
        if (c == '"') {
            value.kind = JsonValue::Kind::String;
            return parseString(value.text);
        }
        if (word("true") || word("false")) {
            value.kind = JsonValue::Kind::Boolean;
            value.boolean = c == 't';
            return true;
        }
        if (word("null"))
            return true;
        return parseNumber(value);
    }

    bool parseObject(JsonValue &value, int depth)
    {
        value.kind = JsonValue::Kind::Object;
        ++at_;
        if (take('}'))
            return true;
        do {
            skipBlanks();
            std::string name;
            if (at_ >= text_.size() || text_[at_] != '"' || !parseString(name) || !take(':'))
                return false;
            JsonValue member;
            if (!parseValue(member, depth + 1))
                return false;
            value.members.push_back({std::move(name), std::move(member)});
        } while (take(','));
        return take('}');
    }

    bool parseArray(JsonValue &value, int depth)
    {
        value.kind = JsonValue::Kind::Array;
        ++at_;
        if (take(']'))
            return true;
        do {
            value.items.emplace_back();
            if (!parseValue(value.items.back(), depth + 1))
                return false;
        } while (take(','));
        return take(']');
    }

    bool parseNumber(JsonValue &value)
    {
        const std::size_t first = at_;
        bool whole = true;
        if (at_ < text_.size() && text_[at_] == '-')
            ++at_;
        const std::size_t digits = at_;
        while (at_ < text_.size()) {
            const char c = text_[at_];
            if (c == '.' || c == 'e' || c == 'E' || ((c == '+' || c == '-') && at_ > digits))
                whole = false;
            else if (c < '0' || c > '9')
                break;
            ++at_;
        }
        if (at_ == digits)
            return false;
        value.kind = JsonValue::Kind::Number;
        if (whole) {
            const auto [end, error] = std::from_chars(text_.data() + first, text_.data() + at_, value.integer);
            value.whole = error == std::errc() && end == text_.data() + at_;
        }
        return true;
    }

    bool hex4(unsigned &code)
    {
        if (text_.size() - at_ < 4)
            return false;
        code = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[at_++];
            code <<= 4;
            if (c >= '0' && c <= '9')
                code |= static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f')
                code |= static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                code |= static_cast<unsigned>(c - 'A' + 10);
            else
                return false;
        }
        return true;
    }

    static void appendUtf8(std::string &out, unsigned code)
    {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    // A \u escape, with the low half of a surrogate pair when one follows.
    bool parseEscapedCode(std::string &out)
    {
        constexpr unsigned kReplacement = 0xFFFD;
        unsigned code = 0;
        if (!hex4(code))
            return false;
        if (code >= 0xD800 && code < 0xDC00) {
            const std::size_t after = at_;
            unsigned low = 0;
            if (word("\\u") && hex4(low) && low >= 0xDC00 && low < 0xE000) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            } else {
                at_ = after;
                code = kReplacement;
            }
        } else if (code >= 0xDC00 && code < 0xE000) {
            code = kReplacement;
        }
        appendUtf8(out, code);
        return true;
    }

    bool parseString(std::string &out)
    {
        ++at_; // the opening quote
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return false;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ >= text_.size())
                return false;
            switch (text_[at_++]) {
            case '"':
                out += '"';
                break;
            case '\\':
                out += '\\';
                break;
            case '/':
                out += '/';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u':
                if (!parseEscapedCode(out))
                    return false;
                break;
            default:
                return false;
            }
        }
        return false;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

} // namespace

std::optional<JsonValue> parseJson(std::string_view text) { return Parser(text).document(); }

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
