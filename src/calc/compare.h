#pragma once

// Comparing the slip a teacher was paid with the exact one: the amounts typed
// from the paper slip, row by row and total by total, each matched against
// the amount the calculation worked out, with what every difference means for
// the teacher.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/money.h"
#include "calc/slip.h"

namespace recibo {

// Reads an amount as a pay slip prints it: "$ 1.914,73", "1914,73", "$1914,7".
// A comma before the centavos, with at least one digit on each side and at
// most four after it (a paper slip prints two; our own slip up to four);
// dots only between groups of three digits; one "$" before or after it and
// blanks of any kind around. No sign: a paid slip shows none. At most nine
// digits of whole pesos. Blank or anything else is no amount.
std::optional<Money> readSlipAmount(std::string_view text);

// A code the teacher's slip has besides the rows of the exact one.
struct AddedCode {
    std::string code;
    std::string description; // the concept, as printed beside the code
    std::string amount;      // as typed
    bool deduction = false;
};

// What the teacher typed, box by box, exactly as left in the boxes.
struct ComparisonInput {
    std::vector<std::string> rowAmounts; // one per slip row, in the slip's order; a missing one is blank
    std::string thaberes;                // the three totals
    std::string tdescuentos;
    std::string liquido;
    std::vector<AddedCode> added;
    std::string decimalSeparator = ","; // for the amounts written back, as the slip writes them
};

enum class Outcome {
    NoData,  // left blank: counts for nothing
    Matches, // less than one centavo apart
    Differs,
    Refused,       // not an amount as a slip prints it (`problem` says why), or an added code refused
    NotCalculated, // an added code: an amount the exact slip has no row for
};

// The verdict on one box.
struct AmountCheck {
    Outcome outcome = Outcome::NoData;
    Money typed;           // the amount read, when there is one
    Money difference;      // typed minus exact (Matches, Differs)
    std::string typedText; // the amount read, as the slip writes amounts ("$ 1914,73"); a refused
                           // text as typed, without the blanks around it
    std::string verdict;   // "coincide", "sin dato", "le pagaron $ 12,34 de menos", "no calculado por recibo"
    std::string problem;   // why a refused text is refused, naming the row

    bool operator==(const AmountCheck &) const = default;
};

// The verdict on one added code. Its code box refuses a blank code when an
// amount or concept is typed, anything but digits, and a code the exact slip
// has (its amount goes in that row's box); the amount box is checked like
// any other. A code refused leaves the amount Refused too, so that it is not
// listed (its `problem` stays empty unless the amount is refused on its own);
// all three boxes blank is NoData with no verdict.
struct AddedCheck {
    std::string code;        // without the blanks around it
    std::string description; // the concept, the same
    bool deduction = false;
    std::string codeProblem;
    AmountCheck amount;

    bool operator==(const AddedCheck &) const = default;
};

// Which way the differences go, from the teacher's side.
enum class Side { Even, InFavour, Against };

struct ComparisonSummary {
    int compared = 0;  // slip rows with an amount read (totals and added codes apart)
    int differing = 0; // of those, the rows that differ
    Money balance;     // the differences of those rows, above 0 in the teacher's favour
    Side side = Side::Even;
    int notCalculated = 0;          // added codes with an amount read
    std::vector<std::string> lines; // the summary in Spanish, one sentence a line

    bool operator==(const ComparisonSummary &) const = default;
};

struct Comparison {
    std::vector<AmountCheck> rows; // one per slip row, in the slip's order
    AmountCheck thaberes;
    AmountCheck tdescuentos;
    AmountCheck liquido;
    std::vector<AddedCheck> added; // one per added code, in the order given
    ComparisonSummary summary;

    bool operator==(const Comparison &) const = default;
};

// Compares every box with the exact slip. A box refused leaves the others
// compared as usual; amounts typed beyond the slip's rows are not read.
Comparison compare(const Slip &slip, const ComparisonInput &input);

// The comparison as plain text, to put after the slip's text copy: a title,
// the summary, then one line a row, each total and each added code, with
// code, concept, the exact amount, the amount typed and the verdict separated
// by tabs. Rows left blank read "sin dato". Every line ends with a line feed.
std::string comparisonText(const Slip &slip, const Comparison &comparison);

} // namespace recibo
