#pragma once

// Shared helpers of the calculation tests: inputs as the windows would hand
// them over, and ways to look at the slip that comes back.

#include <QString>
#include <QStringList>
#include <QTest>

#include <string>
#include <string_view>
#include <variant>

#include "calc/calculate.h"

namespace recibo::test {

inline QString qtext(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Nothing chosen on the entry window but the path itself; every box reads "0".
inline PayInput blankInput(PayPath path)
{
    PayInput in;
    in.path = path;
    in.hoursSecondary = "0";
    in.hoursHigher = "0";
    in.hoursCode06 = "0";
    in.hoursIncentive = "0";
    in.hoursCode113 = "0";
    in.zoneText = "Ubicación Escuela (Zona)";
    in.absenceDays = "0";
    in.kilometres = "0";
    in.childrenCount = "0";
    in.disabledChildrenCount = "0";
    in.incentive = false;
    return in;
}

// A cargo whose point boxes hold the given texts (as after overtyping them).
inline PayInput cargoInput(std::string punbas, std::string compbas = "0", std::string jorcom = "0",
                           std::string proljor = "0", std::string tardif = "0")
{
    PayInput in = blankInput(PayPath::Cargo);
    in.cargo.rowSelected = true;
    in.cargo.code = "999";
    in.cargo.basicPointsItem = punbas;
    in.cargo.name = "Cargo de prueba";
    in.cargo.punbas = std::move(punbas);
    in.cargo.compbas = std::move(compbas);
    in.cargo.jorcom = std::move(jorcom);
    in.cargo.proljor = std::move(proljor);
    in.cargo.tardif = std::move(tardif);
    return in;
}

inline PayInput hoursInput(PayPath path, std::string hours, std::string code06 = "0", std::string incentive = "0",
                           std::string code113 = "0")
{
    PayInput in = blankInput(path);
    (path == PayPath::SecondaryHours ? in.hoursSecondary : in.hoursHigher) = std::move(hours);
    in.hoursCode06 = std::move(code06);
    in.hoursIncentive = std::move(incentive);
    in.hoursCode113 = std::move(code113);
    return in;
}

// The zone list item `index` picked on the entry window (-1: none, the field
// shows its prompt).
inline void pickZone(PayInput &in, int index)
{
    static const char *const items[] = {"Común", "Alejada radio urbano", "Desfavorable", "Muy desfavorable",
                                        "Zona Inhóspita"};
    in.zoneIndex = index;
    in.zoneText = index >= 0 ? items[index] : "Ubicación Escuela (Zona)";
}

inline void checkAllDeductions(PayInput &in) { in.deductions.fill(true); }

// The pay scale's complete example: 1000 basic points and nothing else,
// Entre 5 y 7 años (30 %), zone "Alejada radio urbano" (20 %), incentive,
// 2 children, spouse, no absence, all seven deductions.
inline PayInput exampleInput()
{
    PayInput in = cargoInput("1000");
    in.seniorityOption = 4;
    pickZone(in, 1);
    in.incentive = true;
    in.children = true;
    in.childrenCount = "2";
    in.spouse = true;
    checkAllDeductions(in);
    return in;
}

// The slip of a calculation that must pass the input checks.
inline Slip slipOf(const PayInput &in)
{
    std::variant<Slip, InputProblem> result = calculate(in);
    if (const InputProblem *problem = std::get_if<InputProblem>(&result)) {
        QTest::qFail(qPrintable(QStringLiteral("refused (%1): %2").arg(qtext(problem->control), qtext(problem->message))),
                     __FILE__, __LINE__);
        return {};
    }
    return std::get<Slip>(std::move(result));
}

// The problem of a calculation that must be refused (an empty one when it is not).
inline InputProblem problemOf(const PayInput &in)
{
    const std::variant<Slip, InputProblem> result = calculate(in);
    const InputProblem *problem = std::get_if<InputProblem>(&result);
    if (!problem)
        QTest::qFail("the calculation was not refused", __FILE__, __LINE__);
    return problem ? *problem : InputProblem{};
}

// The nth row with this code, or nullptr.
inline const SlipRow *findRow(const Slip &slip, std::string_view code, int nth = 0)
{
    for (const SlipRow &row : slip.rows)
        if (row.code == code && nth-- == 0)
            return &row;
    return nullptr;
}

// The codes of the slip in order, separated by blanks.
inline QString codes(const Slip &slip)
{
    QStringList list;
    for (const SlipRow &row : slip.rows)
        list << qtext(row.code);
    return list.join(' ');
}

// One row as "code|quantity|description|amount".
inline QString rowText(const SlipRow &row)
{
    return QStringList{qtext(row.code), qtext(row.quantity), qtext(row.description), qtext(row.amount)}.join('|');
}

// Amount text of the row with this code ("" when there is none).
inline QString amountOf(const Slip &slip, std::string_view code, int nth = 0)
{
    const SlipRow *row = findRow(slip, code, nth);
    return row ? qtext(row->amount) : QString();
}

inline QString quantityOf(const Slip &slip, std::string_view code, int nth = 0)
{
    const SlipRow *row = findRow(slip, code, nth);
    return row ? qtext(row->quantity) : QStringLiteral("<no row>");
}

} // namespace recibo::test

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(recibo::PayPath)
