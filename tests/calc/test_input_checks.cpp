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
        QTest::addColumn<QString>("message"); // the whole message

        const PayPath cargo = PayPath::Cargo;
        const PayPath medio = PayPath::SecondaryHours;
        const PayPath superior = PayPath::HigherHours;

        // Each kind of refusal, for a field as the message names it.
        const auto empty = [](const char *field) { return QString::fromUtf8(field) + " está vacío: escriba un número."; };
        const auto notNumber = [](const char *field) {
            return QString::fromUtf8(field) + " debe ser un número, escrito solo con cifras y sin separador de miles; "
                                              "los decimales se escriben con coma (por ejemplo 7,5).";
        };
        const auto negative = [](const char *field) { return QString::fromUtf8(field) + " no puede ser negativo."; };
        const auto tooLarge = [](const char *field) {
            return QString::fromUtf8(field) + " es demasiado grande: el máximo es 999999999.";
        };
        const auto whole16 = [](const char *field) {
            return QString::fromUtf8(field) + " debe ser un número entero de 0 a 32767.";
        };
        const auto count = [](const char *field) {
            return QString::fromUtf8(field) + " debe ser una cantidad entera de 0 a 255.";
        };
        const char *const punbas = "«Puntos básicos»";
        const char *const days = "«Inasistencias Just» (días)";
        const char *const km = "«cantidad de km semanales»";

        QTest::newRow("punbas empty") << cargo << "punbas" << "" << empty(punbas);
        QTest::newRow("punbas blanks") << cargo << "punbas" << "  " << empty(punbas);
        QTest::newRow("punbas letters") << cargo << "punbas" << "abc" << notNumber(punbas);
        QTest::newRow("punbas grouping") << cargo << "punbas" << "1.000" << notNumber(punbas);
        QTest::newRow("punbas exponent") << cargo << "punbas" << "1e3" << notNumber(punbas);
        QTest::newRow("punbas negative") << cargo << "punbas" << "-1" << negative(punbas);
        QTest::newRow("punbas negative fraction") << cargo << "punbas" << "-0,4" << negative(punbas);
        QTest::newRow("punbas above 16 bits") << cargo << "punbas" << "40000" << whole16(punbas);
        QTest::newRow("punbas rounds above 16 bits") << cargo << "punbas" << "32767,5" << whole16(punbas);
        QTest::newRow("punbas huge") << cargo << "punbas" << "99999999999999999999" << tooLarge(punbas);
        QTest::newRow("punbas beyond a double") << cargo << "punbas" << QString(400, '9') << tooLarge(punbas);
        QTest::newRow("compbas letters") << cargo << "compbas" << "x" << notNumber("«Comp básico»");
        QTest::newRow("compbas negative") << cargo << "compbas" << "-0,5" << negative("«Comp básico»");
        QTest::newRow("compbas too large") << cargo << "compbas" << "1000000000" << tooLarge("«Comp básico»");
        QTest::newRow("compbas arabic digit") << cargo << "compbas" << "١" << notNumber("«Comp básico»");
        QTest::newRow("jorcom above 16 bits") << cargo << "jorcom" << "70000" << whole16("«Jorn. completa»");
        QTest::newRow("jorcom empty") << cargo << "jorcom" << "" << empty("«Jorn. completa»");
        QTest::newRow("proljor negative") << cargo << "proljor" << "-3" << negative("«Prol. de jornada»");
        QTest::newRow("proljor point") << cargo << "proljor" << "1.5" << notNumber("«Prol. de jornada»");
        QTest::newRow("tardif negative") << cargo << "tardif" << "-1" << negative("«Tarea diferenc.»");
        QTest::newRow("tardif two separators") << cargo << "tardif" << "1,2,3" << notNumber("«Tarea diferenc.»");
        QTest::newRow("tardif too large") << cargo << "tardif" << "1000000000" << tooLarge("«Tarea diferenc.»");
        QTest::newRow("tardif just above the largest")
            << cargo << "tardif" << "999999999,0001" << tooLarge("«Tarea diferenc.»");

        QTest::newRow("medio empty") << medio << "numerohorasmed" << "" << empty("«Número de horas N. Medio»");
        QTest::newRow("medio negative") << medio << "numerohorasmed" << "-1" << negative("«Número de horas N. Medio»");
        QTest::newRow("medio point") << medio << "numerohorasmed" << "7.5" << notNumber("«Número de horas N. Medio»");
        QTest::newRow("superior letters") << superior << "numerohorassup" << "x"
                                          << notNumber("«Número de horas N. Superior»");
        QTest::newRow("cod06 negative") << medio << "numhorascod06" << "-2"
                                        << negative("«Número de horas con código 06»");
        QTest::newRow("incentive letters") << superior << "numhorasincen" << "abc"
                                           << notNumber("«Número de horas con incentivo»");
        QTest::newRow("113 empty") << medio << "numhorascod113" << "" << empty("«Número de horas con código 113»");
        QTest::newRow("113 too large") << superior << "numhorascod113" << "1000000000"
                                       << tooLarge("«Número de horas con código 113»");

        QTest::newRow("days empty") << cargo << "dinasist" << "" << empty(days);
        QTest::newRow("days letters") << medio << "dinasist" << "x" << notNumber(days);
        QTest::newRow("days exponent") << cargo << "dinasist" << "1e3" << notNumber(days);
        QTest::newRow("days too large") << cargo << "dinasist" << "9999999999" << tooLarge(days);
        QTest::newRow("days one above the largest") << cargo << "dinasist" << "1000000000" << tooLarge(days);
        QTest::newRow("days one below the most negative") << cargo << "dinasist" << "-1000000000" << tooLarge(days);
        QTest::newRow("days beyond a double") << cargo << "dinasist" << "-" + QString(400, '9') << tooLarge(days);

        QTest::newRow("km above 16 bits") << cargo << "cantkm" << "40000" << whole16(km);
        QTest::newRow("km 32767,5 rounds above 16 bits") << cargo << "cantkm" << "32767,5" << whole16(km);
        QTest::newRow("km far below 0") << cargo << "cantkm" << "-40000" << negative(km);
        QTest::newRow("km negative") << cargo << "cantkm" << "-5" << negative(km);
        QTest::newRow("km negative fraction") << medio << "cantkm" << "-0,4" << negative(km);
        QTest::newRow("km letters") << superior << "cantkm" << "x" << notNumber(km);
        QTest::newRow("km empty") << cargo << "cantkm" << "" << empty(km);

        QTest::newRow("children 256") << cargo << "cantidadhijos" << "256" << count("«Hijos»");
        QTest::newRow("children 255,5 rounds to 256") << cargo << "cantidadhijos" << "255,5" << count("«Hijos»");
        QTest::newRow("children -1") << cargo << "cantidadhijos" << "-1" << count("«Hijos»");
        QTest::newRow("children -0,6 rounds to -1") << cargo << "cantidadhijos" << "-0,6" << count("«Hijos»");
        QTest::newRow("children letters") << medio << "cantidadhijos" << "dos" << notNumber("«Hijos»");
        QTest::newRow("disabled 82") << cargo << "cantidadhijosdisc" << "82"
                                     << "«Hijos Diferenc» admite como máximo 81 hijos.";
        QTest::newRow("disabled 81,5 rounds to 82") << cargo << "cantidadhijosdisc" << "81,5"
                                                    << "«Hijos Diferenc» admite como máximo 81 hijos.";
        QTest::newRow("disabled 256") << cargo << "cantidadhijosdisc" << "256" << count("«Hijos Diferenc»");
        QTest::newRow("disabled empty") << cargo << "cantidadhijosdisc" << "" << empty("«Hijos Diferenc»");

        QTest::newRow("zone typed") << cargo << "zona" << "Lejana"
                                    << "La zona «Lejana» no está en la lista. Elija una de estas: Común, Alejada radio "
                                       "urbano, Desfavorable, Muy desfavorable o Zona Inhóspita.";
        QTest::newRow("zone in other case") << medio << "zona" << " común "
                                            << "La zona «común» no está en la lista. Elija una de estas: Común, "
                                               "Alejada radio urbano, Desfavorable, Muy desfavorable o Zona Inhóspita.";
    }
    void refused()
    {
        QFETCH(PayPath, path);
        QFETCH(QString, control);
        QFETCH(QString, text);
        QFETCH(QString, message);

        const InputProblem problem = problemOf(inputWith(path, control, text));
        QCOMPARE(qtext(problem.control), control);
        QCOMPARE(qtext(problem.message), message);
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
        QTest::newRow("days 999999999, the largest") << PayPath::Cargo << "dinasist" << "999999999";
        QTest::newRow("days -999999999, the most negative") << PayPath::Cargo << "dinasist" << "-999999999";
        QTest::newRow("tardif 999999999") << PayPath::Cargo << "tardif" << "999999999";
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
        in.childrenCount = "175"; // 256 in all
        in.disabledChildren = true;
        in.disabledChildrenCount = "81";
        const InputProblem problem = problemOf(in);
        QCOMPARE(qtext(problem.control), QStringLiteral("cantidadhijos"));
        QCOMPARE(qtext(problem.message),
                 QStringLiteral("«Hijos» y «Hijos Diferenc» suman más de 255 hijos: el total admitido es 255."));

        in.childrenCount = "174"; // 255 in all
        QVERIFY(std::holds_alternative<Slip>(calculate(in)));
    }

    void noCargoChosen()
    {
        PayInput in = cargoInput("971");
        in.cargo.rowSelected = false;
        const InputProblem problem = problemOf(in);
        QCOMPARE(qtext(problem.control), QStringLiteral("codcargo"));
        QCOMPARE(qtext(problem.message), QStringLiteral("No hay un cargo elegido. Escriba el código del cargo o "
                                                        "seleccione su nombre en la lista, y pulse «Listo»."));
    }

    void noPathChosen()
    {
        const InputProblem problem = problemOf(blankInput(PayPath::None));
        QCOMPARE(qtext(problem.control), QStringLiteral("cargo"));
        QCOMPARE(qtext(problem.message),
                 QStringLiteral("Elija la categoría: «Cargo», «Hs. N. Medio» o «Hs. N. Superior»."));
    }

    void messageNamesTheSeparator()
    {
        PayInput in = cargoInput("971");
        in.decimalSeparator = ".";
        in.cargo.compbas = "7,5";
        QCOMPARE(qtext(problemOf(in).message),
                 QStringLiteral("«Comp básico» debe ser un número, escrito solo con cifras y sin separador de miles; "
                                "los decimales se escriben con punto (por ejemplo 7.5)."));
        in.cargo.compbas = "7.5";
        QVERIFY(std::holds_alternative<Slip>(calculate(in)));
        // A separator without a name of its own is shown as it is.
        in.decimalSeparator = "\u066B";
        QCOMPARE(qtext(problemOf(in).message),
                 QStringLiteral("«Comp básico» debe ser un número, escrito solo con cifras y sin separador de miles; "
                                "los decimales se escriben con «\u066B» (por ejemplo 7\u066B5)."));
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
