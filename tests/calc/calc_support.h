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
#include "calc/scale.h"

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
    in.seniorityText = "0 %";
    in.zoneText = std::string(kZonePrompt);
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

// A seniority option clicked on the entry window: it records the percentage
// in the state and the text of porcantig.
inline void pickSeniority(PayInput &in, CalcState &state, int option)
{
    in.seniorityOption = option;
    state.pctantig = static_cast<std::uint8_t>(seniorityPercent(option));
    in.seniorityText = std::to_string(state.pctantig) + " %";
}

inline void pickZone(PayInput &in, int index)
{
    in.zoneIndex = index;
    in.zoneText = index >= 0 ? std::string(zoneItems()[static_cast<std::size_t>(index)]) : std::string(kZonePrompt);
}

inline void checkAllDeductions(PayInput &in) { in.deductions.fill(true); }

// The slip of a calculation that must pass the input checks.
inline Slip slipOf(const PayInput &in, CalcState &state)
{
    std::variant<Slip, InputProblem> result = calculate(in, state);
    if (const InputProblem *problem = std::get_if<InputProblem>(&result)) {
        QTest::qFail(qPrintable(QStringLiteral("refused (%1): %2").arg(qtext(problem->control), qtext(problem->message))),
                     __FILE__, __LINE__);
        return {};
    }
    return std::get<Slip>(std::move(result));
}

inline Slip slipOf(const PayInput &in)
{
    CalcState state;
    state.pctantig = static_cast<std::uint8_t>(seniorityPercent(in.seniorityOption));
    return slipOf(in, state);
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

// Every value of the calculation state, to compare two states.
inline QList<qint64> stateValues(const CalcState &s)
{
    return {s.ptsbasicos,          s.ptsjorcom,           s.ptsproljor,         s.ptstardif.units(),
            s.montojorcom.units(), s.montoproljor.units(), s.montobasico.units(), s.montocompbas.units(),
            s.montotardif.units(), s.pctantig,             s.montoantig.units(),  s.pctzona,
            s.montozona.units(),   s.montoart23.units(),   s.montoproduct.units(), s.montoincentivo.units(),
            s.montonegro.units(),  s.montoplus.units(),    s.montoreajuste.units(), s.baseaportes.units(),
            s.montominimo.units(), s.kmsemanales,          s.montotransporte.units(), s.numhijos,
            s.montohijos.units(),  s.numhijosdisc,         s.montohijosdisc.units(), s.montoconyuge.units(),
            s.montoiosper.units(), s.montoosplad.units(),  s.montojubilacion.units(), s.montoley4035.units(),
            s.montovesnar.units(), s.montocajacomp.units(), s.montoseguro.units(), s.totalhaberes.units(),
            s.totaldescuentos.units(), s.totalliquido.units()};
}

} // namespace recibo::test

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(recibo::PayPath)
