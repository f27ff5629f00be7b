// The functions the page's core.js calls in the WebAssembly module. Every
// text crosses with its length in bytes, never as a NUL-terminated string,
// so that a text holding NUL arrives, and comes back, whole: the caller
// allocates a text with malloc and frees it; an answer stays valid until the
// next call, and recibo_answer_size gives its length.

#include <cstddef>
#include <string>
#include <string_view>

#include "catalogue/catalogue.h"
#include "web/binding.h"

namespace {

std::string answer;

const char *give(std::string text)
{
    answer = std::move(text);
    return answer.data();
}

} // namespace

extern "C" {

std::size_t recibo_answer_size() { return answer.size(); }

const char *recibo_catalogue() { return give(recibo::web::catalogueJson()); }

const char *recibo_scale() { return give(recibo::web::scaleJson()); }

int recibo_find_cargo(const char *code, std::size_t size) { return recibo::findCargoByCode({code, size}); }

const char *recibo_calculate(const char *inputJson, std::size_t size)
{
    return give(recibo::web::calculateJson({inputJson, size}));
}

const char *recibo_slip_text(const char *requestJson, std::size_t size)
{
    return give(recibo::web::slipTextFor({requestJson, size}));
}

const char *recibo_compare(const char *requestJson, std::size_t size)
{
    return give(recibo::web::compareJson({requestJson, size}));
}

} // extern "C"
