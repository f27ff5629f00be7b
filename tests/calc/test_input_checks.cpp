// Input that the calculation cannot use is refused, naming the box and
// saying what it should hold; what it can use is accepted.

#include <QTest>

#include "calc_support.h"

using namespace recibo;
using namespace recibo::test;

namespace {

// Puts `text` in the box named `control`, checking its check box where it
// has one, on an input of the path that reads it.
PayInput inputWith(PayPath path, const QString &control, const QString &text)
{
    PayInput in = path == PayPath::Cargo ? cargoInput("971", "170", "0", "0", "0") : hoursInput(path, "10");
    const std::string value = text.toStdString();
    if (control == "punbas")
        in.cargo.punbas = value;
    else if (control == "compbas")
        in.cargo.compbas = value;
    else if (control == "jorcom")
        in.cargo.jorcom = value;
    else if (control == "proljor")
        in.cargo.proljor = value;
    else if (control == "tardif")
        in.cargo.tardif = value;
    else if (control == "numerohorasmed")
        in.hoursSecondary = value;
    else if (control == "numerohorassup")
        in.hoursHigher = value;
    else if (control == "numhorascod06")
        in.hoursCode06 = value;
    else if (control == "numhorasincen")
        in.hoursIncentive = value;
    else if (control == "numhorascod113")
        in.hoursCode113 = value;
    else if (control == "dinasist")
        in.absenceDays = value;
    else if (control == "cantkm") {
        in.transport = true;
        in.kilometres = value;
    } else if (control == "cantidadhijos") {
        in.children = true;
        in.childrenCount = value;
    } else if (control == "cantidadhijosdisc") {
        in.disabledChildren = true;
        in.disabledChildrenCount = value;
    } else if (control == "zona")
        in.zoneText = value;
    else
        qFatal("unknown box %s", qPrintable(control));
    return in;
}

} // namespace

class TestInputChecks : public QObject {
    Q_OBJECT

private slots:
    void refused_data()
    {
        QTest::addColumn<PayPath>("path");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("says"); // a piece of the message

        const PayPath cargo = PayPath::Cargo;
        const PayPath medio = PayPath::SecondaryHours;
        const PayPath superior = PayPath::HigherHours;

        QTest::newRow("punbas empty") << cargo << "punbas" << "" << "«Puntos básicos» está vacío";
        QTest::newRow("punbas blanks") << cargo << "punbas" << "  " << "«Puntos básicos» está vacío";
        QTest::newRow("punbas letters") << cargo << "punbas" << "abc" << "los decimales se escriben con coma";
        QTest::newRow("punbas grouping") << cargo << "punbas" << "1.000" << "«Puntos básicos» debe ser un número";
        QTest::newRow("punbas exponent") << cargo << "punbas" << "1e3" << "«Puntos básicos»";
        QTest::newRow("punbas negative") << cargo << "punbas" << "-1" << "«Puntos básicos» no puede ser negativo";
        QTest::newRow("punbas negative fraction") << cargo << "punbas" << "-0,4" << "no puede ser negativo";
        QTest::newRow("punbas above 16 bits") << cargo << "punbas" << "40000" << "de 0 a 32767";
        QTest::newRow("punbas rounds above 16 bits") << cargo << "punbas" << "32767,5" << "de 0 a 32767";
        QTest::newRow("punbas huge") << cargo << "punbas" << "99999999999999999999"
                                     << "«Puntos básicos» es demasiado grande";
        QTest::newRow("punbas beyond a double") << cargo << "punbas" << QString(400, '9')
                                                << "«Puntos básicos» es demasiado grande";
        QTest::newRow("compbas letters") << cargo << "compbas" << "x" << "«Comp básico»";
        QTest::newRow("compbas negative") << cargo << "compbas" << "-0,5" << "«Comp básico» no puede ser negativo";
        QTest::newRow("compbas too large") << cargo << "compbas" << "1000000000" << "demasiado grande";
        QTest::newRow("compbas arabic digit") << cargo << "compbas" << "١" << "«Comp básico»";
        QTest::newRow("jorcom above 16 bits") << cargo << "jorcom" << "70000" << "«Jorn. completa»";
        QTest::newRow("jorcom empty") << cargo << "jorcom" << "" << "«Jorn. completa» está vacío";
        QTest::newRow("proljor negative") << cargo << "proljor" << "-3" << "«Prol. de jornada» no puede ser negativo";
        QTest::newRow("proljor point") << cargo << "proljor" << "1.5" << "«Prol. de jornada»";
        QTest::newRow("tardif negative") << cargo << "tardif" << "-1" << "«Tarea diferenc.» no puede ser negativo";
        QTest::newRow("tardif two separators") << cargo << "tardif" << "1,2,3" << "«Tarea diferenc.»";
        QTest::newRow("tardif too large") << cargo << "tardif" << "1000000000" << "999999999";

        QTest::newRow("medio empty") << medio << "numerohorasmed" << "" << "«Número de horas N. Medio» está vacío";
        QTest::newRow("medio negative") << medio << "numerohorasmed" << "-1" << "«Número de horas N. Medio»";
        QTest::newRow("medio point") << medio << "numerohorasmed" << "7.5" << "con coma (por ejemplo 7,5)";
        QTest::newRow("superior letters") << superior << "numerohorassup" << "x" << "«Número de horas N. Superior»";
        QTest::newRow("cod06 negative") << medio << "numhorascod06" << "-2"
                                        << "«Número de horas con código 06» no puede ser negativo";
        QTest::newRow("incentive letters") << superior << "numhorasincen" << "abc"
                                           << "«Número de horas con incentivo»";
        QTest::newRow("113 empty") << medio << "numhorascod113" << "" << "«Número de horas con código 113»";
        QTest::newRow("113 too large") << superior << "numhorascod113" << "1000000000" << "demasiado grande";

        QTest::newRow("days empty") << cargo << "dinasist" << "" << "«Inasistencias Just» (días) está vacío";
        QTest::newRow("days letters") << medio << "dinasist" << "x" << "«Inasistencias Just» (días)";
        QTest::newRow("days exponent") << cargo << "dinasist" << "1e3" << "«Inasistencias Just»";
        QTest::newRow("days too large") << cargo << "dinasist" << "9999999999" << "demasiado grande";
        QTest::newRow("days beyond a double") << cargo << "dinasist" << "-" + QString(400, '9')
                                              << "«Inasistencias Just» (días) es demasiado grande";

        QTest::newRow("km above 16 bits") << cargo << "cantkm" << "40000" << "de 0 a 32767";
        QTest::newRow("km far below 0") << cargo << "cantkm" << "-40000" << "«cantidad de km semanales»";
        QTest::newRow("km negative") << cargo << "cantkm" << "-5"
                                     << "«cantidad de km semanales» no puede ser negativo";
        QTest::newRow("km negative fraction") << medio << "cantkm" << "-0,4" << "no puede ser negativo";
        QTest::newRow("km letters") << superior << "cantkm" << "x" << "«cantidad de km semanales»";
        QTest::newRow("km empty") << cargo << "cantkm" << "" << "«cantidad de km semanales» está vacío";

        QTest::newRow("children 256") << cargo << "cantidadhijos" << "256" << "«Hijos» debe ser una cantidad";
        QTest::newRow("children 255,5 rounds to 256") << cargo << "cantidadhijos" << "255,5" << "de 0 a 255";
        QTest::newRow("children -1") << cargo << "cantidadhijos" << "-1" << "«Hijos»";
        QTest::newRow("children letters") << medio << "cantidadhijos" << "dos" << "«Hijos»";
        QTest::newRow("disabled 82") << cargo << "cantidadhijosdisc" << "82" << "«Hijos Diferenc» admite como máximo 81";
        QTest::newRow("disabled 81,5 rounds to 82") << cargo << "cantidadhijosdisc" << "81,5" << "81";
        QTest::newRow("disabled empty") << cargo << "cantidadhijosdisc" << "" << "«Hijos Diferenc» está vacío";

        QTest::newRow("zone typed") << cargo << "zona" << "Lejana" << "La zona «Lejana» no está en la lista";
        QTest::newRow("zone in other case") << medio << "zona" << "común" << "Común, Alejada radio urbano";
    }
    void refused()
    {
        QFETCH(PayPath, path);
        QFETCH(QString, control);
        QFETCH(QString, text);
        QFETCH(QString, says);

        const InputProblem problem = problemOf(inputWith(path, control, text));
        QCOMPARE(qtext(problem.control), control);
        QVERIFY2(qtext(problem.message).contains(says), problem.message.c_str());
    }

    void accepted_data()
    {
        QTest::addColumn<PayPath>("path");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");

        QTest::newRow("punbas 32767") << PayPath::Cargo << "punbas" << "32767";
        QTest::newRow("punbas 32766,5 rounds to even") << PayPath::Cargo << "punbas" << "32766,5";
        QTest::newRow("punbas blanks around") << PayPath::Cargo << "punbas" << " 971 ";
        QTest::newRow("punbas no-break spaces") << PayPath::Cargo << "punbas" << "\u00A0971\u202F";
        QTest::newRow("compbas ideographic space") << PayPath::Cargo << "compbas" << "\u3000170,5\u2003";
        QTest::newRow("tardif line end") << PayPath::Cargo << "tardif" << "150\r\n";
        QTest::newRow("hours tab and line feed") << PayPath::SecondaryHours << "numerohorasmed" << "\t7,5\n";
        QTest::newRow("hours near 0") << PayPath::SecondaryHours << "numerohorasmed" << "0," + QString(400, '0') + "1";
        QTest::newRow("compbas decimals") << PayPath::Cargo << "compbas" << "170,25";
        QTest::newRow("compbas 999999999") << PayPath::Cargo << "compbas" << "999999999";
        QTest::newRow("hours -0") << PayPath::SecondaryHours << "numerohorasmed" << "-0";
        QTest::newRow("hours 999999999") << PayPath::HigherHours << "numerohorassup" << "999999999";
        QTest::newRow("days -1") << PayPath::Cargo << "dinasist" << "-1";
        QTest::newRow("days 2,5") << PayPath::Cargo << "dinasist" << "2,5";
        QTest::newRow("km -0") << PayPath::Cargo << "cantkm" << "-0";
        QTest::newRow("km 32767") << PayPath::Cargo << "cantkm" << "32767";
        QTest::newRow("children -0,4 rounds to 0") << PayPath::Cargo << "cantidadhijos" << "-0,4";
        QTest::newRow("children 255") << PayPath::Cargo << "cantidadhijos" << "255";
        QTest::newRow("disabled 81") << PayPath::Cargo << "cantidadhijosdisc" << "81";
        QTest::newRow("zone item typed") << PayPath::Cargo << "zona" << "Desfavorable";
        QTest::newRow("zone item with blanks") << PayPath::Cargo << "zona" << " Muy desfavorable ";
        QTest::newRow("zone empty") << PayPath::Cargo << "zona" << "";
        QTest::newRow("zone blanks") << PayPath::Cargo << "zona" << "   ";
        QTest::newRow("zone prompt") << PayPath::Cargo << "zona" << "Ubicación Escuela (Zona)";
    }
    void accepted()
    {
        QFETCH(PayPath, path);
        QFETCH(QString, control);
        QFETCH(QString, text);
        const std::variant<Slip, InputProblem> result = calculate(inputWith(path, control, text));
        const InputProblem *problem = std::get_if<InputProblem>(&result);
        QVERIFY2(!problem, problem ? problem->message.c_str() : "");
    }

    void boxesOfAnotherPathAreNotRead()
    {
        // Unchecked boxes and the boxes of the other paths may hold anything.
        PayInput in = cargoInput("971");
        in.hoursSecondary = in.hoursHigher = in.hoursCode06 = in.hoursIncentive = in.hoursCode113 = "x";
        in.kilometres = in.childrenCount = in.disabledChildrenCount = "x";
        QVERIFY(std::holds_alternative<Slip>(calculate(in)));

        PayInput hours = hoursInput(PayPath::SecondaryHours, "10");
        hours.hoursHigher = "x";
        hours.cargo.punbas = hours.cargo.compbas = hours.cargo.jorcom = hours.cargo.proljor = hours.cargo.tardif = "x";
        QVERIFY(std::holds_alternative<Slip>(calculate(hours)));
    }

    void tooManyChildrenInAll()
    {
        PayInput in = cargoInput("971");
        in.children = true;
        in.childrenCount = "200";
        in.disabledChildren = true;
        in.disabledChildrenCount = "81";
        const InputProblem problem = problemOf(in);
        QCOMPARE(qtext(problem.control), QStringLiteral("cantidadhijos"));
        QVERIFY(qtext(problem.message).contains(QStringLiteral("255")));

        in.childrenCount = "174"; // 255 in all
        QVERIFY(std::holds_alternative<Slip>(calculate(in)));
    }

    void noCargoChosen()
    {
        PayInput in = cargoInput("971");
        in.cargo.rowSelected = false;
        const InputProblem problem = problemOf(in);
        QCOMPARE(qtext(problem.control), QStringLiteral("codcargo"));
        QVERIFY(qtext(problem.message).contains(QStringLiteral("cargo")));
    }

    void noPathChosen() { QCOMPARE(qtext(problemOf(blankInput(PayPath::None)).control), QStringLiteral("cargo")); }

    void messageNamesTheSeparator()
    {
        PayInput in = cargoInput("971");
        in.decimalSeparator = ".";
        in.cargo.compbas = "7,5";
        const InputProblem problem = problemOf(in);
        QVERIFY2(qtext(problem.message).contains(QStringLiteral("con punto (por ejemplo 7.5)")),
                 problem.message.c_str());
        in.cargo.compbas = "7.5";
        QVERIFY(std::holds_alternative<Slip>(calculate(in)));
    }

    void zoneTextCountsAsTheItem_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("row078"); // quantity, empty for no row

        QTest::newRow("typed item, nothing selected") << "Desfavorable" << -1 << "40 %";
        QTest::newRow("typed item wins over the list") << "Zona Inhóspita" << 1 << "120 %";
        QTest::newRow("prompt, nothing selected") << "Ubicación Escuela (Zona)" << -1 << "";
        QTest::newRow("emptied field, item selected before") << "" << 3 << "";
        QTest::newRow("prompt, item selected before") << "Ubicación Escuela (Zona)" << 2 << "";
        QTest::newRow("Común") << "Común" << 0 << "";
    }
    void zoneTextCountsAsTheItem()
    {
        QFETCH(QString, text);
        QFETCH(int, index);
        QFETCH(QString, row078);
        PayInput in = cargoInput("1000");
        in.zoneText = text.toStdString();
        in.zoneIndex = index;
        const Slip slip = slipOf(in);
        const SlipRow *row = findRow(slip, "078");
        QCOMPARE(row ? qtext(row->quantity) : QString(), row078);
    }
};

QTEST_GUILESS_MAIN(TestInputChecks)
#include "test_input_checks.moc"
