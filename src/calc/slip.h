#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "calc/calc_state.h"
#include "calc/money.h"
#include "calc/scale.h"

namespace recibo {

// The 27 row positions of the slip; one calculation writes at most 26 rows.
inline constexpr int kSlipPositions = 27;
inline constexpr int kMaxRowsWritten = 26;

enum class Column { Earnings, Deductions };

struct SlipRow {
    std::string code;
    std::string quantity;
    bool showQuantity = true;     // row 1010 leaves its quantity hidden
    std::string_view description; // one of the scale's fixed texts
    std::string amount;           // the amount text as shown
    Column column = Column::Earnings;
    Money value;             // the amount itself
    std::string explanation; // how the amount was computed, in Spanish

    bool operator==(const SlipRow &) const = default;
};

// What the calculation writes into the slip's selection panel.
struct SlipHead {
    std::string label11; // "Código del cargo" or "Cantidad de horas"
    std::string numcargo;
    std::string punbasicos;
    std::string carsel;
    bool showPointBoxes = false; // Label14, Label20, Label21, Label2 and the four point boxes
    // The four point boxes as the calculation read them; empty on the hours paths.
    std::string compbas;
    std::string proljor;
    std::string jorcom;
    std::string tardif;

    bool operator==(const SlipHead &) const = default;
};

// Positions (twips, inside the slip frame) of the totals block, from the row
// count r: each is r x 315 + c.
struct TotalsLayout {
    float verticalLinesY2 = 0; // Line1, Line2, Line3(0), Line3(1), Line5, Line7
    float line6 = 0;
    float haberesTop = 0; // thaberes and Label15
    float line15 = 0;
    float descuentosTop = 0; // tdescuentos and Label16
    float line16 = 0;
    float liquidoTop = 0; // liquido and Label17
    float line17 = 0;

    bool operator==(const TotalsLayout &) const = default;
};

TotalsLayout totalsLayout(int rowCount);

struct Slip {
    SlipHead head;
    std::vector<SlipRow> rows;
    std::string thaberes; // amount texts of the three totals
    std::string tdescuentos;
    std::string liquido;
    std::string thaberesExplanation;
    std::string tdescuentosExplanation;
    std::string liquidoExplanation;
    TotalsLayout layout;
    CalcState values; // every named value of the calculation, totals included

    bool operator==(const Slip &) const = default;
};

// Writes rows at the next free position, as the slip's row writer does: the
// row counter starts at 0 and moves on by one after each row. The amount
// text is written from the value with the regional decimal separator.
class SlipBuilder {
public:
    SlipBuilder(Slip &slip, std::string_view decimalSeparator) : slip_(slip), separator_(decimalSeparator)
    {
        slip_.rows.reserve(kMaxRowsWritten);
    }

    SlipRow &earnings(const scale::Item &item, std::string quantity, Money value, std::string explanation);
    SlipRow &deduction(const scale::Item &item, std::string quantity, Money value, std::string explanation);

    int rowCounter() const { return static_cast<int>(slip_.rows.size()); }
    Slip &slip() { return slip_; }

private:
    SlipRow &add(Column column, const scale::Item &item, std::string &quantity, Money value, std::string &explanation);

    Slip &slip_;
    std::string_view separator_;
};

} // namespace recibo
