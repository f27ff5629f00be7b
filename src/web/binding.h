#pragma once

// The calculation for a web page: the entry's texts and choices in, the slip
// or the refusal out, both as JSON texts (UTF-8). The same functions serve
// the WebAssembly module and the native tool that checks it.

#include <optional>
#include <string>
#include <string_view>

#include "calc/pay_input.h"
#include "web/json.h"

namespace recibo::web {

// A PayInput from a JSON object with PayInput's members (texts as typed,
// `path` one of "none", "cargo", "secondary", "higher", `deductions` an object
// of booleans named like the Deduction values). Members that are missing or
// of another type keep their defaults. Nothing when `json` is not an object.
std::optional<PayInput> payInputFromJson(const JsonValue &json);

// {"ok":true,"slip":{head, rows, totals and their explanations}} or
// {"ok":false,"control":"<object name>","message":"<Spanish text>"}.
std::string calculateJson(std::string_view inputJson);
std::string calculateJson(const JsonValue &input);

// The slip as the text "Copiar el recibo" puts on the clipboard, for a request
// {"input":{...},"teacher":"","dateLine":"","comment":""}; empty when the
// input is refused.
std::string slipTextFor(std::string_view requestJson);
std::string slipTextFor(const JsonValue &request);

// The slip of {"input":{...},...} compared with what the teacher typed from
// their paid slip, {"comparison":{"rows":["<amount>",...],"thaberes":"",
// "tdescuentos":"","liquido":"","added":[{code, description, amount,
// deduction}]}}, amounts written with the input's decimal separator:
// {"ok":true,"rows":[check],"thaberes":check,"tdescuentos":check,
// "liquido":check,"added":[{code, description, deduction, codeProblem,
// "amount":check}],"summary":{compared, differing, notCalculated, lines},
// "text":"<the comparison as text, to put after the slip's>"}, each check
// {"outcome":"sin-dato"|"coincide"|"difiere"|"rechazado"|"no-calculado",
// typed, verdict, problem}; or the input's refusal, as calculateJson gives it.
std::string compareJson(std::string_view requestJson);

// The 311 cargos in catalogue order, each an object of its seven texts.
std::string catalogueJson();

// The seniority bands (index 0 for none chosen), the zones and the zone
// field's prompt: {"seniority":[{caption, percent, percentText}],
// "zones":[{item, percent}], "zonePrompt":"..."}.
std::string scaleJson();

} // namespace recibo::web
