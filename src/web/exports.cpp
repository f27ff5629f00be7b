// The functions the page's core.js calls in the WebAssembly module. Texts go
// in as NUL-terminated UTF-8 that the caller allocates with malloc and frees;
// a returned text stays valid until the next call of the same function.

#include <string>

#include "catalogue/catalogue.h"
#include "web/binding.h"

extern "C" {

const char *recibo_catalogue()
{
    static const std::string text = recibo::web::catalogueJson();
    return text.c_str();
}

const char *recibo_scale()
{
    static const std::string text = recibo::web::scaleJson();
    return text.c_str();
}

int recibo_find_cargo(const char *code) { return recibo::findCargoByCode(code); }

const char *recibo_calculate(const char *inputJson)
{
    static std::string text;
    text = recibo::web::calculateJson(inputJson);
    return text.c_str();
}

const char *recibo_slip_text(const char *requestJson)
{
    static std::string text;
    text = recibo::web::slipTextFor(requestJson);
    return text.c_str();
}

} // extern "C"
