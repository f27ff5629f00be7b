#pragma once

#include <string>
#include <variant>

#include "calc/pay_input.h"
#include "calc/slip.h"

namespace recibo {

// Input that the calculation cannot use. `control` is the object name of the
// box to fix ("punbas", "numerohorasmed", "dinasist", "zona", "codcargo", ...);
// `message` says in Spanish which field it is (by its caption) and what is
// expected.
struct InputProblem {
    std::string control;
    std::string message;

    bool operator==(const InputProblem &) const = default;
};

// The whole calculation: checks every text the chosen path reads as a number,
// then runs the row groups in their fixed order and forms the totals. The
// slip carries the named values it worked out (Slip::values); nothing
// outlives the call, so the same input always gives the same slip.
std::variant<Slip, InputProblem> calculate(const PayInput &input);

} // namespace recibo
