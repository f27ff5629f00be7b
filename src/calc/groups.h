#pragma once

// The row groups of one calculation, in the order they run, what they share
// while it runs, and the partial sums of the pay rules. Each group reads the
// scale, works out its values and writes its rows through the slip's row
// writer.

#include <string>
#include <string_view>

#include "calc/calc_state.h"
#include "calc/pay_input.h"
#include "calc/read_input.h"
#include "calc/scale.h"
#include "calc/slip.h"

namespace recibo {

struct Run {
    Run(const PayInput &in, const InputValues &checked, Slip &slip)
        : input(in), values(checked), state(slip.values), rows(slip, in.decimalSeparator), sep(in.decimalSeparator)
    {
    }

    const PayInput &input;     // the texts as typed (some quantities show them)
    const InputValues &values; // the same texts, checked and converted
    CalcState &state;          // the named values, kept in the slip
    SlipBuilder rows;
    std::string_view sep; // the regional decimal separator

    bool cargoPath() const { return values.path == PayPath::Cargo; }
    const scale::HoursLevel &hoursLevel() const
    {
        return values.path == PayPath::SecondaryHours ? scale::kSecondaryHours : scale::kHigherHours;
    }

    // The path works out the amounts of rows 006, 084 and 113 before the
    // common rows run; what those rows show besides the amount is kept here.
    std::string art23Quantity;
    std::string incentivoQuantity;
    std::string negroQuantity;
    std::string art23Why;
    std::string incentivoWhy;
    std::string negroWhy;
    std::string reajusteWhy; // row 440, worked out with the absence reduction
};

// --- Partial sums ---------------------------------------------------------

// The pay of the position itself: the base of the seniority and zone
// supplements.
inline Money positionPay(const CalcState &st)
{
    return st.montobasico + st.montocompbas + st.montotardif + st.montojornada;
}
inline constexpr std::string_view kPositionPayParts = "básico + comp. + tarea dif. + jornada";

// The pay of the position with seniority and zone: the base of the
// productivity plus.
inline Money supplementedPay(const CalcState &st) { return positionPay(st) + st.montoantig + st.montozona; }
inline constexpr std::string_view kSupplementedPayParts = "básico + comp. + tarea dif. + jornada + antigüedad + zona";

// The contribution base: the supplemented pay, the decree items and the plus
// that is not withheld; neither national sum nor anything after the plus.
inline Money contributionBase(const CalcState &st)
{
    return supplementedPay(st) + st.montoart23 + st.montoproduct + st.montoplus - st.montoreajuste;
}

// What the take-home estimate of the minimum rule starts from: the pay of the
// position with seniority, the plus and both national sums.
inline Money takeHomeEarnings(const CalcState &st)
{
    return positionPay(st) + st.montoantig + st.montoplus + st.montoincentivo + st.montonegro;
}

// Every earnings amount up to the minimum top-up, without transport and
// family allowances: the sum whose band sets the allowance per child.
inline Money childBandSum(const CalcState &st)
{
    return supplementedPay(st) + st.montoart23 + st.montoproduct + st.montoplus + st.montominimo + st.montoincentivo +
           st.montonegro;
}

// --- Row groups -----------------------------------------------------------

// Rows 001, 002, 052, 052 and 016 of a cargo (cargo_rows.cpp).
void cargoRows(Run &run);

// Row 001 of teaching hours (hours_rows.cpp).
void hoursRows(Run &run);

// Rows 010 and 078 (seniority_zone.cpp).
void seniorityRow(Run &run);
void zoneRow(Run &run);

// The decree 5863/05 supplement: its amount by the path, then rows 006 and
// 014 (decree.cpp).
void cargoSupplement(Run &run);
void hoursSupplement(Run &run);
void decreeRows(Run &run);

// The two national sums by the path, then rows 084, 113 and 188 and the
// share of the plus withheld for absence (incentive_plus.cpp).
void cargoNationalSums(Run &run);
void hoursNationalSums(Run &run);
void nationalRows(Run &run);
void plusRow(Run &run);
void absenceReduction(Run &run);

// Rows 172, 029, 1001, 1002, 1003 and 1010 (minimum_family.cpp).
void minimumRow(Run &run);
void transportRow(Run &run);
void familyRows(Run &run);

// Deduction rows 440 and the seven contributions (deductions.cpp).
void absenceRow(Run &run);
void deductionRows(Run &run);

// Totals, net pay and the totals block (totals.cpp).
void totals(Run &run);

} // namespace recibo
