#pragma once

// The row groups of one calculation, in the order they run, and what they
// share while it runs. Each group reads and writes the calculation state and
// writes its rows through the slip's row writer.

#include <string>
#include <string_view>

#include "calc/calc_state.h"
#include "calc/pay_input.h"
#include "calc/read_input.h"
#include "calc/slip.h"

namespace recibo {

struct Run {
    Run(const PayInput &in, const InputValues &checked, CalcState &st, Slip &slip)
        : input(in), values(checked), state(st), rows(slip), sep(in.decimalSeparator)
    {
    }

    const PayInput &input;     // the texts as typed (some quantities show them)
    const InputValues &values; // the same texts, checked and converted
    CalcState &state;
    SlipBuilder rows;
    std::string_view sep; // the regional decimal separator

    bool cargoPath() const { return values.path == PayPath::Cargo; }
    bool secondaryHours() const { return values.path == PayPath::SecondaryHours; }

    // Values of one calculation only.
    Money montojornada; // full day + extended day; never assigned on the hours paths, so 0 there
    int montofamnum = 0;
    double bolsillo = 0;

    // The path works out the amounts of rows 006, 084 and 113 before the
    // common rows run; what those rows show besides the amount is kept here.
    std::string_view art23Quantity;
    std::string_view incentivoQuantity;
    std::string_view negroQuantity;
    std::string art23Why;
    std::string incentivoWhy;
    std::string negroWhy;
    std::string reajusteWhy; // row 440, worked out with the absence reduction
};

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

// The two national sums by the path, then rows 084, 113 and 188, the share
// of the plus withheld for absence and the contribution base
// (incentive_plus.cpp).
void cargoNationalSums(Run &run);
void hoursNationalSums(Run &run);
void nationalRows(Run &run);
void plusRow(Run &run);
void absenceReduction(Run &run);
void contributionBase(Run &run);

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
