#include "calc/compare.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>

#include "calc/numbers.h"
#include "calc/slip_text.h"
#include "calc/text.h"

namespace recibo {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool allDigits(std::string_view text)
{
    for (const char c : text)
        if (!isDigit(c))
            return false;
    return true;
}

// A paid slip has no row of a billion pesos; nine digits keep every sum of
// the comparison far inside the range of money.
constexpr std::size_t kMostPesoDigits = 9;
constexpr std::size_t kMostDecimals = 4;

// Whole pesos written with dots between groups of three ("1.914.730"), or
// with none ("1914730"): the digits alone, or nothing when the grouping is
// wrong ("19.14", "1914.", ".914").
std::optional<std::string> pesoDigits(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    const std::size_t firstDot = text.find('.');
    if (firstDot == std::string_view::npos)
        return allDigits(text) ? std::optional<std::string>(text) : std::nullopt;
    if (firstDot == 0 || firstDot > 3)
        return std::nullopt;
    std::string digits(text.substr(0, firstDot));
    for (std::size_t at = firstDot; at < text.size(); at += 4) {
        const std::string_view group = text.substr(at + 1, 3);
        if (text[at] != '.' || group.size() != 3 || !allDigits(group))
            return std::nullopt;
        digits += group;
    }
    return allDigits(digits) ? std::optional<std::string>(digits) : std::nullopt;
}

} // namespace

std::optional<Money> readSlipAmount(std::string_view text)
{
    text = trimBlanks(text);
    if (text.starts_with('$'))
        text = trimBlanks(text.substr(1));
    else if (text.ends_with('$'))
        text = trimBlanks(text.substr(0, text.size() - 1));

    const std::size_t comma = text.find(',');
    const std::string_view decimals = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    if (comma != std::string_view::npos &&
        (decimals.empty() || decimals.size() > kMostDecimals || !allDigits(decimals)))
        return std::nullopt;
    const std::optional<std::string> pesos = pesoDigits(text.substr(0, comma));
    if (!pesos)
        return std::nullopt;
    const std::size_t leadingZeros = std::min(pesos->find_first_not_of('0'), pesos->size());
    if (pesos->size() - leadingZeros > kMostPesoDigits)
        return std::nullopt;

    std::int64_t units = 0;
    for (const char c : *pesos)
        units = units * 10 + (c - '0');
    for (std::size_t i = 0; i < kMostDecimals; ++i)
        units = units * 10 + (i < decimals.size() ? decimals[i] - '0' : 0);
    return Money::fromUnits(units);
}

namespace {

constexpr std::string_view kMatches = "coincide";
constexpr std::string_view kNoData = "sin dato";
constexpr std::string_view kNotCalculated = "no calculado por recibo";

// A difference of less than one centavo is the exact amount rounded, cut or
// raised to the centavos a paper slip prints.
constexpr std::int64_t kCentavo = Money::kUnitsPerPeso / 100;

Money magnitude(Money amount) { return amount.units() < 0 ? Money::fromUnits(-amount.units()) : amount; }

// How the box is named in a refusal: «010 Antigüedad», «Total Haberes».
std::string quotedName(std::string_view code, std::string_view description)
{
    std::string name = "«";
    name += code;
    if (!code.empty() && !description.empty())
        name += ' ';
    name += description;
    name += "»";
    return name;
}

std::string amountRefusal(std::string_view name)
{
    return text::join({}, name, ": escriba el importe como figura en su recibo, por ejemplo 1.914,73.");
}

// Reads one box. An amount read is Matches for now; the caller decides.
AmountCheck readBox(std::string_view typed, std::string_view name, std::string_view separator)
{
    AmountCheck check;
    typed = trimBlanks(typed);
    if (typed.empty()) {
        check.verdict = kNoData;
        return check;
    }
    const std::optional<Money> amount = readSlipAmount(typed);
    if (!amount) {
        check.outcome = Outcome::Refused;
        check.typedText = typed;
        check.problem = amountRefusal(name);
        return check;
    }
    check.outcome = Outcome::Matches;
    check.typed = *amount;
    check.typedText = amountText(*amount, separator);
    return check;
}

// A box of the slip: its verdict against the exact amount, in the teacher's
// words. Earnings (and the net pay) are paid: paid more is in the teacher's
// favour. Deductions are taken: taken more is against.
AmountCheck checkBox(std::string_view typed, Money exact, Column column, std::string_view name,
                     std::string_view separator)
{
    AmountCheck check = readBox(typed, name, separator);
    if (check.outcome != Outcome::Matches)
        return check;
    check.difference = check.typed - exact;
    if (magnitude(check.difference).units() < kCentavo) {
        check.verdict = kMatches;
        return check;
    }
    check.outcome = Outcome::Differs;
    const bool more = check.difference > Money();
    text::appendAll(check.verdict, separator, column == Column::Earnings ? "le pagaron " : "le descontaron ",
                    amountText(magnitude(check.difference), separator), more ? " de más" : " de menos");
    return check;
}

// The teacher's side of a difference: above 0 in their favour.
Money teachersSide(Money difference, Column column)
{
    return column == Column::Earnings ? difference : Money() - difference;
}

// A code as digits compare: "10" and "010" are the same code.
std::string_view codeDigits(std::string_view code)
{
    const std::size_t first = code.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view("0") : code.substr(first);
}

const SlipRow *rowWithCode(const Slip &slip, std::string_view code)
{
    for (const SlipRow &row : slip.rows)
        if (allDigits(row.code) && codeDigits(row.code) == codeDigits(code))
            return &row;
    return nullptr;
}

AddedCheck checkAdded(const Slip &slip, const AddedCode &added, std::string_view separator)
{
    AddedCheck check;
    check.code = trimBlanks(added.code);
    check.description = trimBlanks(added.description);
    check.deduction = added.deduction;
    const std::string name =
        quotedName(check.code, check.description.empty() && check.code.empty() ? std::string_view("Código agregado")
                                                                               : std::string_view(check.description));
    check.amount = readBox(added.amount, name, separator);
    if (check.amount.outcome == Outcome::NoData && check.code.empty() && check.description.empty()) {
        check.amount.verdict.clear(); // a line opened and left empty
        return check;
    }

    if (check.code.empty() || !allDigits(check.code)) {
        check.codeProblem = text::join({}, name, ": escriba el código como figura en su recibo, por ejemplo 123.");
    } else if (const SlipRow *row = rowWithCode(slip, check.code)) {
        check.codeProblem =
            text::join({}, quotedName(check.code, {}), ": ese código ya figura en el recibo, en la fila ", row->code,
                       " ", row->description, "; escriba el importe allí.");
    }
    if (!check.codeProblem.empty()) {
        // Not listed; an amount refused on its own keeps its own problem.
        check.amount.outcome = Outcome::Refused;
        check.amount.verdict.clear();
        return check;
    }
    if (check.amount.outcome == Outcome::Matches) {
        check.amount.outcome = Outcome::NotCalculated;
        check.amount.verdict = kNotCalculated;
    }
    return check;
}

// "1 fila", "3 filas"
std::string counted(int count, std::string_view one, std::string_view many)
{
    return text::join({}, count, " ", text::unit(count, one, many));
}

void summarise(Comparison &comparison, std::string_view separator)
{
    ComparisonSummary &summary = comparison.summary;
    std::vector<std::string> &lines = summary.lines;

    if (summary.compared == 0)
        lines.push_back("No se comparó ninguna fila todavía.");
    else if (summary.differing == 0)
        lines.push_back(summary.compared == 1
                            ? "Se comparó 1 fila: coincide."
                            : text::join({}, "Se compararon ", summary.compared, " filas: todas coinciden."));
    else if (summary.compared == 1)
        lines.push_back("Se comparó 1 fila: difiere.");
    else
        lines.push_back(text::join({}, "Se compararon ", summary.compared, " filas: ", summary.differing,
                                   text::unit(summary.differing, " difiere.", " difieren.")));

    const AmountCheck &liquido = comparison.liquido;
    if (liquido.outcome == Outcome::Matches || liquido.outcome == Outcome::Differs)
        lines.push_back(text::join({}, kLiquidoAPagar, ": ", liquido.verdict, "."));

    if (summary.differing > 0) {
        summary.side = summary.balance > Money()   ? Side::InFavour
                       : summary.balance < Money() ? Side::Against
                                                   : Side::Even;
        if (summary.side == Side::Even)
            lines.push_back("En total, las diferencias se compensan.");
        else
            lines.push_back(text::join(separator, "En total, las diferencias suman ",
                                       amountText(magnitude(summary.balance), separator),
                                       summary.side == Side::InFavour ? " a su favor." : " en su contra."));
    }

    if (summary.notCalculated > 0) {
        std::string line = counted(summary.notCalculated, "código no calculado", "códigos no calculados");
        line += " por recibo: ";
        bool first = true;
        for (const AddedCheck &added : comparison.added) {
            if (added.amount.outcome != Outcome::NotCalculated)
                continue;
            text::appendAll(line, separator, first ? "" : "; ", added.code, added.description.empty() ? "" : " ",
                            added.description, added.deduction ? ", descuento de " : ", haber de ",
                            added.amount.typedText);
            first = false;
        }
        line += '.';
        lines.push_back(std::move(line));
    }
}

} // namespace

Comparison compare(const Slip &slip, const ComparisonInput &input)
{
    const std::string_view separator = input.decimalSeparator;
    Comparison comparison;
    ComparisonSummary &summary = comparison.summary;

    comparison.rows.reserve(slip.rows.size());
    for (std::size_t i = 0; i < slip.rows.size(); ++i) {
        const SlipRow &row = slip.rows[i];
        const std::string_view typed = i < input.rowAmounts.size() ? std::string_view(input.rowAmounts[i]) : "";
        AmountCheck &check = comparison.rows.emplace_back(
            checkBox(typed, row.value, row.column, quotedName(row.code, row.description), separator));
        if (check.outcome == Outcome::Matches || check.outcome == Outcome::Differs)
            ++summary.compared;
        if (check.outcome == Outcome::Differs) {
            ++summary.differing;
            summary.balance += teachersSide(check.difference, row.column);
        }
    }

    const CalcState &values = slip.values;
    comparison.thaberes =
        checkBox(input.thaberes, values.totalhaberes, Column::Earnings, quotedName({}, kTotalHaberes), separator);
    comparison.tdescuentos = checkBox(input.tdescuentos, values.totaldescuentos, Column::Deductions,
                                      quotedName({}, kTotalDescuentos), separator);
    // The net pay is what was paid: like an earnings row.
    comparison.liquido =
        checkBox(input.liquido, values.totalliquido, Column::Earnings, quotedName({}, kLiquidoAPagar), separator);

    comparison.added.reserve(input.added.size());
    for (const AddedCode &added : input.added) {
        const AddedCheck &check = comparison.added.emplace_back(checkAdded(slip, added, separator));
        if (check.amount.outcome == Outcome::NotCalculated)
            ++summary.notCalculated;
    }

    summarise(comparison, separator);
    return comparison;
}

namespace {

// A cell of the text copy: what the teacher typed may hold tabs and line
// ends, which would break the columns.
std::string cell(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return out;
}

void addLine(std::string &out, std::initializer_list<std::string_view> columns)
{
    bool first = true;
    for (const std::string_view column : columns) {
        if (!first)
            out += '\t';
        out += cell(column);
        first = false;
    }
    out += '\n';
}

std::string_view verdictCell(const AmountCheck &check)
{
    return check.outcome == Outcome::Refused ? std::string_view("importe no válido") : std::string_view(check.verdict);
}

} // namespace

std::string comparisonText(const Slip &slip, const Comparison &comparison)
{
    std::string out = "Comparación con su recibo\n";
    for (const std::string &line : comparison.summary.lines)
        addLine(out, {line});
    addLine(out, {"Código", "Concepto", "Calculado", "En su recibo", "Resultado"});
    for (std::size_t i = 0; i < slip.rows.size() && i < comparison.rows.size(); ++i) {
        const SlipRow &row = slip.rows[i];
        addLine(out,
                {row.code, row.description, row.amount, comparison.rows[i].typedText, verdictCell(comparison.rows[i])});
    }
    addLine(out, {"", kTotalHaberes, slip.thaberes, comparison.thaberes.typedText, verdictCell(comparison.thaberes)});
    addLine(out, {"", kTotalDescuentos, slip.tdescuentos, comparison.tdescuentos.typedText,
                  verdictCell(comparison.tdescuentos)});
    addLine(out, {"", kLiquidoAPagar, slip.liquido, comparison.liquido.typedText, verdictCell(comparison.liquido)});
    for (const AddedCheck &added : comparison.added) {
        if (added.code.empty() && added.description.empty() && added.amount.outcome == Outcome::NoData)
            continue;
        std::string verdict(added.codeProblem.empty() ? verdictCell(added.amount) : "código no válido");
        if (added.amount.outcome == Outcome::NotCalculated)
            verdict += added.deduction ? " (descuento)" : " (haber)";
        addLine(out, {added.code, added.description, "", added.amount.typedText, verdict});
    }
    return out;
}

} // namespace recibo
