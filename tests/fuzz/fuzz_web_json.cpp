// Any text the page could send to the web binding: it never crashes, a
// calculation's answer is always JSON with "ok", a string read from JSON
// reads back the same once written, and the same text always gives the same
// answer.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "web/binding.h"
#include "web/json.h"

using namespace recibo::web;

namespace {

void fail(const char *what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

// Every string in `value`, written and read back, is itself.
void checkStrings(const JsonValue &value)
{
    if (value.kind == JsonValue::Kind::String) {
        std::string written;
        appendJsonString(written, value.text);
        const auto again = parseJson(written);
        if (!again || again->kind != JsonValue::Kind::String || again->text != value.text)
            fail("a string does not read back as written");
    }
    for (const JsonValue &item : value.items)
        checkStrings(item);
    for (const auto &[name, member] : value.members)
        checkStrings(member);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *bytes, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(bytes), size);
    if (const auto value = parseJson(text))
        checkStrings(*value);

    const std::string answer = calculateJson(text);
    const auto parsed = parseJson(answer);
    if (!parsed || parsed->kind != JsonValue::Kind::Object || !parsed->find("ok"))
        fail("the answer is not an object with ok");
    if (calculateJson(text) != answer)
        fail("the same text gave another answer");
    (void)slipTextFor(text);
    return 0;
}
