// The rows of each group with the figures of the pay scale's worked examples
// and the edges of its bands and thresholds.

#include <QTest>

#include "calc_support.h"

using namespace recibo;
using namespace recibo::test;

namespace {

// The rows a cargo's points give, before the seniority row and the others.
QStringList pathRows(const Slip &slip)
{
    QStringList rows;
    for (const SlipRow &row : slip.rows) {
        if (row.code == "010" || row.code == "078" || row.code == "006")
            break;
        rows << rowText(row);
    }
    return rows;
}

} // namespace

class TestRows : public QObject {
    Q_OBJECT

private slots:
    // --- rows 001, 002, 052, 052, 016 of a cargo -------------------------

    void cargoRows_data()
    {
        QTest::addColumn<QStringList>("points"); // punbas, compbas, jorcom, proljor, tardif
        QTest::addColumn<QStringList>("rows");

        QTest::newRow("971 basic points only") << QStringList{"971", "0", "0", "0", "0"}
                                               << QStringList{"001|1|Asign. de la categoría|$611,73"};
        QTest::newRow("170 complement points")
            << QStringList{"971", "170", "0", "0", "0"}
            << QStringList{"001|1|Asign. de la categoría|$611,73", "002||Comp. de Básico|$ 107,1"};
        QTest::newRow("620 full-day points")
            << QStringList{"971", "0", "620", "0", "0"}
            << QStringList{"001|1|Asign. de la categoría|$611,73", "052||Jornada completa|$ 477,4"};
        QTest::newRow("150 differentiated-task points")
            << QStringList{"971", "0", "0", "0", "150"}
            << QStringList{"001|1|Asign. de la categoría|$611,73", "016||Tarea diferenciada|$ 94,5"};
        QTest::newRow("extended day only")
            << QStringList{"971", "0", "0", "500", "0"}
            << QStringList{"001|1|Asign. de la categoría|$611,73", "052||Prol. de Jornada|$ 385"};
        // Overtyped boxes: each day row shows its own amount.
        QTest::newRow("both day rows, own amounts")
            << QStringList{"971", "170", "620", "500", "150"}
            << QStringList{"001|1|Asign. de la categoría|$611,73", "002||Comp. de Básico|$ 107,1",
                           "052||Jornada completa|$ 477,4", "052||Prol. de Jornada|$ 385",
                           "016||Tarea diferenciada|$ 94,5"};
        QTest::newRow("decimal complement points")
            << QStringList{"971", "0,5", "0", "0", "0"}
            << QStringList{"001|1|Asign. de la categoría|$611,73", "002||Comp. de Básico|$ 0,315"};
        QTest::newRow("decimal task points as money")
            << QStringList{"971", "0", "0", "0", "1,00005"}
            << QStringList{"001|1|Asign. de la categoría|$611,73", "016||Tarea diferenciada|$ 0,63"};
        QTest::newRow("basic points rounded to even") << QStringList{"970,5", "0", "0", "0", "0"}
                                                      << QStringList{"001|1|Asign. de la categoría|$611,1"};
        QTest::newRow("basic points 971,5 rounded to even") << QStringList{"971,5", "0", "0", "0", "0"}
                                                            << QStringList{"001|1|Asign. de la categoría|$612,36"};
        QTest::newRow("basic points with a plus sign") << QStringList{"+971", "0", "0", "0", "0"}
                                                       << QStringList{"001|1|Asign. de la categoría|$611,73"};
        // Half a ten-thousandth of a task point: a tie, to the even 0, so no row.
        QTest::newRow("task points -0") << QStringList{"971", "0", "0", "0", "-0"}
                                        << QStringList{"001|1|Asign. de la categoría|$611,73"};
        QTest::newRow("task points 0,00005") << QStringList{"971", "0", "0", "0", "0,00005"}
                                             << QStringList{"001|1|Asign. de la categoría|$611,73"};
        // 0,00015 is a tie that goes up to 0,0002; 0,0002 x 0,63 = 0,000126.
        QTest::newRow("task points 0,00015")
            << QStringList{"971", "0", "0", "0", "0,00015"}
            << QStringList{"001|1|Asign. de la categoría|$611,73", "016||Tarea diferenciada|$ 0,0001"};
    }
    void cargoRows()
    {
        QFETCH(QStringList, points);
        QFETCH(QStringList, rows);
        const PayInput in = cargoInput(points[0].toStdString(), points[1].toStdString(), points[2].toStdString(),
                                       points[3].toStdString(), points[4].toStdString());
        QCOMPARE(pathRows(slipOf(in)), rows);
    }

    void cargoRowsCloseUp()
    {
        // Basic and task points only: row 016 stands at position 1.
        const Slip slip = slipOf(cargoInput("971", "0", "0", "0", "150"));
        QCOMPARE(qtext(slip.rows.at(1).code), QStringLiteral("016"));
    }

    void cargoHead()
    {
        PayInput in = cargoInput("3429", "0", "0", "0", "0");
        in.cargo.code = "609";
        in.cargo.basicPointsItem = "1480";
        in.cargo.name = "Director 1era Categoría";
        const Slip slip = slipOf(in);
        QCOMPARE(qtext(slip.head.label11), QStringLiteral("Código del cargo"));
        QCOMPARE(qtext(slip.head.numcargo), QStringLiteral("609"));
        QCOMPARE(qtext(slip.head.punbasicos), QStringLiteral("1480")); // the list item, not the box
        QCOMPARE(qtext(slip.head.carsel), QStringLiteral("Director 1era Categoría"));
        QVERIFY(slip.head.showPointBoxes);
    }

    // --- row 001 of hours ------------------------------------------------

    void hoursRows_data()
    {
        QTest::addColumn<PayPath>("path");
        QTest::addColumn<QString>("hours");
        QTest::addColumn<QString>("punbasicos");
        QTest::addColumn<QString>("row");

        QTest::newRow("10 secondary hours") << PayPath::SecondaryHours << "10" << "647"
                                            << "001|10|Hs. N. Medio|$407,61";
        QTest::newRow("10 higher hours") << PayPath::HigherHours << "10" << "869" << "001|10|Hs. N. Superior|$547,47";
        QTest::newRow("7,5 secondary hours") << PayPath::SecondaryHours << "7,5" << "485,25"
                                             << "001|7,5|Hs. N. Medio|$305,7075";
        QTest::newRow("12 secondary hours") << PayPath::SecondaryHours << "12" << "776,4"
                                            << "001|12|Hs. N. Medio|$489,132";
        QTest::newRow("1 secondary hour") << PayPath::SecondaryHours << "1" << "64,7" << "001|1|Hs. N. Medio|$40,761";
        QTest::newRow("0 hours") << PayPath::SecondaryHours << "0" << "0" << "001|0|Hs. N. Medio|$0";
        QTest::newRow("hours as typed") << PayPath::HigherHours << " 10 " << "869" << "001| 10 |Hs. N. Superior|$547,47";
        QTest::newRow("pasted blanks") << PayPath::SecondaryHours << "\u00A07,5\u202F\r\n" << "485,25"
                                       << "001|\u00A07,5\u202F\r\n|Hs. N. Medio|$305,7075";
    }
    void hoursRows()
    {
        QFETCH(PayPath, path);
        QFETCH(QString, hours);
        QFETCH(QString, punbasicos);
        QFETCH(QString, row);
        const Slip slip = slipOf(hoursInput(path, hours.toStdString()));
        QCOMPARE(rowText(slip.rows.at(0)), row);
        QCOMPARE(qtext(slip.head.label11), QStringLiteral("Cantidad de horas"));
        QCOMPARE(qtext(slip.head.numcargo), hours);
        QCOMPARE(qtext(slip.head.punbasicos), punbasicos);
        QCOMPARE(qtext(slip.head.carsel), path == PayPath::SecondaryHours ? QStringLiteral("Horas de nivel medio")
                                                                           : QStringLiteral("Horas de nivel superior"));
        QVERIFY(!slip.head.showPointBoxes);
        QCOMPARE(codes(slip).left(3), QStringLiteral("001"));
        QVERIFY(!findRow(slip, "002") && !findRow(slip, "052") && !findRow(slip, "016"));
    }

    // --- rows 010 and 078 -----------------------------------------------

    void seniorityZone_data()
    {
        QTest::addColumn<QStringList>("points"); // punbas, compbas, jorcom; or "hours" and the secondary hours
        QTest::addColumn<int>("option");
        QTest::addColumn<int>("zone");
        QTest::addColumn<QString>("seniority"); // quantity|amount of 010, or empty for no row
        QTest::addColumn<QString>("zoneRow");   // quantity|amount of 078, or empty

        QTest::newRow("971, 30 %, zone 1") << QStringList{"971", "0", "0"} << 4 << 1 << "30 %|$ 183,519"
                                           << "20 %|$ 122,346";
        QTest::newRow("971 + 170 + 620, 20 % zone") << QStringList{"971", "170", "620"} << 0 << 1 << ""
                                                    << "20 %|$ 239,246";
        QTest::newRow("15 % of 611.73") << QStringList{"971", "0", "0"} << 3 << -1 << "15 %|$ 91,7595" << "";
        QTest::newRow("no seniority picked") << QStringList{"971", "0", "0"} << 0 << -1 << "" << "";
        QTest::newRow("Menos de 1 año") << QStringList{"971", "0", "0"} << 1 << 0 << "" << "";
        QTest::newRow("no such option counts as none") << QStringList{"971", "0", "0"} << 13 << -1 << "" << "";
        QTest::newRow("Desfavorable 40 %") << QStringList{"1000", "0", "0"} << 12 << 2 << "120 %|$ 756"
                                           << "40 %|$ 252";
        QTest::newRow("Muy desfavorable 80 %") << QStringList{"1000", "0", "0"} << 10 << 3 << "100 %|$ 630"
                                               << "80 %|$ 504";
        QTest::newRow("Zona Inhóspita 120 %") << QStringList{"1000", "0", "0"} << 2 << 4 << "10 %|$ 63"
                                              << "120 %|$ 756";
        QTest::newRow("hours: base is the basic amount") << QStringList{"hours", "10"} << 4 << 1
                                                         << "30 %|$ 122,283" << "20 %|$ 81,522";
        // 10 % of 305,7075 is 30,57075 exactly, but the division by 100 in
        // double precision leaves it just below the half.
        QTest::newRow("percentage in double precision") << QStringList{"hours", "7,5"} << 2 << -1 << "10 %|$ 30,5707"
                                                        << "";
    }
    void seniorityZone()
    {
        QFETCH(QStringList, points);
        QFETCH(int, option);
        QFETCH(int, zone);
        QFETCH(QString, seniority);
        QFETCH(QString, zoneRow);
        PayInput in = points[0] == "hours" ? hoursInput(PayPath::SecondaryHours, points[1].toStdString())
                                           : cargoInput(points[0].toStdString(), points[1].toStdString(),
                                                        points[2].toStdString());
        in.seniorityOption = option;
        pickZone(in, zone);
        const Slip slip = slipOf(in);
        const auto shown = [&](std::string_view code) {
            const SlipRow *row = findRow(slip, code);
            return row ? qtext(row->quantity) + '|' + qtext(row->amount) : QString();
        };
        QCOMPARE(shown("010"), seniority);
        QCOMPARE(shown("078"), zoneRow);
        if (seniority.isEmpty())
            QCOMPARE(slip.values.montoantig, Money());
        if (zoneRow.isEmpty())
            QCOMPARE(slip.values.montozona, Money());
    }

    // --- rows 006 and 014 -----------------------------------------------

    void cargoSupplement_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<int>("fullDay");
        QTest::addColumn<int>("basic");
        QTest::addColumn<QString>("row006");
        QTest::addColumn<QString>("row014");

        QTest::newRow("Option4, J 0, P 971") << 4 << 0 << 971 << "$ 225" << "$ 15,75";
        QTest::newRow("Option3, J 0, P 2500") << 3 << 0 << 2500 << "$ 0" << "$ 0";
        QTest::newRow("Option12, J 657, P 971") << 12 << 657 << 971 << "$ 620" << "$ 43,4";
        QTest::newRow("Option12, J 657, P 1170") << 12 << 657 << 1170 << "$ 510" << "$ 35,7";
        QTest::newRow("Option1, J 657") << 1 << 657 << 971 << "$ 0" << "$ 0";
        QTest::newRow("none, J 657") << 0 << 657 << 971 << "$ 0" << "$ 0";
        QTest::newRow("none, J 0") << 0 << 0 << 971 << "$ 80" << "$ 5,6";
        // Every band edge, on the line of Option5: 250 210 250 200 180 140 | 440 400.
        QTest::newRow("P 971") << 5 << 0 << 971 << "$ 250" << "$ 17,5";
        QTest::newRow("P 972") << 5 << 0 << 972 << "$ 210" << "$ 14,7";
        QTest::newRow("P 1169") << 5 << 0 << 1169 << "$ 210" << "$ 14,7";
        QTest::newRow("P 1170") << 5 << 0 << 1170 << "$ 250" << "$ 17,5";
        QTest::newRow("P 1400") << 5 << 0 << 1400 << "$ 250" << "$ 17,5";
        QTest::newRow("P 1401") << 5 << 0 << 1401 << "$ 200" << "$ 14";
        QTest::newRow("P 1942") << 5 << 0 << 1942 << "$ 200" << "$ 14";
        QTest::newRow("P 1943") << 5 << 0 << 1943 << "$ 180" << "$ 12,6";
        QTest::newRow("P 2220") << 5 << 0 << 2220 << "$ 180" << "$ 12,6";
        QTest::newRow("P 2221") << 5 << 0 << 2221 << "$ 140" << "$ 9,8";
        QTest::newRow("J 619") << 5 << 619 << 971 << "$ 250" << "$ 17,5";
        QTest::newRow("J 620, P 971") << 5 << 620 << 971 << "$ 440" << "$ 30,8";
        QTest::newRow("J 620, P 972") << 5 << 620 << 972 << "$ 400" << "$ 28";
        QTest::newRow("J 620, P 3429") << 5 << 620 << 3429 << "$ 400" << "$ 28";
        QTest::newRow("Option9, P 1170") << 9 << 0 << 1170 << "$ 395" << "$ 27,65";
        QTest::newRow("Option11, J 700, P 972") << 11 << 700 << 972 << "$ 505" << "$ 35,35";
    }
    void cargoSupplement()
    {
        QFETCH(int, option);
        QFETCH(int, fullDay);
        QFETCH(int, basic);
        QFETCH(QString, row006);
        QFETCH(QString, row014);
        PayInput in = cargoInput(std::to_string(basic), "0", std::to_string(fullDay));
        in.seniorityOption = option;
        const Slip slip = slipOf(in);
        QCOMPARE(amountOf(slip, "006"), row006);
        QCOMPARE(quantityOf(slip, "006"), QString());
        QCOMPARE(amountOf(slip, "014"), row014);
        QCOMPARE(quantityOf(slip, "014"), QStringLiteral("0,7"));
        QCOMPARE(qtext(findRow(slip, "006")->description), QStringLiteral("Adic. Art 2 y 3 Dcrto 5863/05"));
        QCOMPARE(qtext(findRow(slip, "014")->description), QStringLiteral("Product Dcrto 5863/05"));
    }

    void productivityQuantityUsesTheSeparator()
    {
        PayInput in = cargoInput("971");
        in.decimalSeparator = ".";
        QCOMPARE(quantityOf(slipOf(in), "014"), QStringLiteral("0.7"));
    }

    void hoursSupplement_data()
    {
        QTest::addColumn<PayPath>("path");
        QTest::addColumn<QString>("hours06");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("row006");
        QTest::addColumn<QString>("row014");

        QTest::newRow("secondary 12") << PayPath::SecondaryHours << "12" << "12" << "$ 112,8" << "$ 7,896";
        QTest::newRow("secondary 35") << PayPath::SecondaryHours << "35" << "30" << "$ 282" << "$ 19,74";
        QTest::newRow("secondary 30") << PayPath::SecondaryHours << "30" << "30" << "$ 282" << "$ 19,74";
        QTest::newRow("secondary 29,5") << PayPath::SecondaryHours << "29,5" << "29,5" << "$ 277,3" << "$ 19,411";
        QTest::newRow("secondary 0") << PayPath::SecondaryHours << "0" << "0" << "$ 0" << "$ 0";
        QTest::newRow("higher 20") << PayPath::HigherHours << "20" << "15" << "$ 141" << "$ 9,87";
        QTest::newRow("higher 15") << PayPath::HigherHours << "15" << "15" << "$ 141" << "$ 9,87";
        QTest::newRow("higher 14") << PayPath::HigherHours << "14" << "14" << "$ 131,6" << "$ 9,212";
        QTest::newRow("higher 14,99") << PayPath::HigherHours << "14,99" << "14,99" << "$ 140,906" << "$ 9,8634";
    }
    void hoursSupplement()
    {
        QFETCH(PayPath, path);
        QFETCH(QString, hours06);
        QFETCH(QString, quantity);
        QFETCH(QString, row006);
        QFETCH(QString, row014);
        const Slip slip = slipOf(hoursInput(path, "10", hours06.toStdString()));
        QCOMPARE(quantityOf(slip, "006"), quantity);
        QCOMPARE(amountOf(slip, "006"), row006);
        QCOMPARE(amountOf(slip, "014"), row014);
    }

    // --- rows 084, 113 and 188 -------------------------------------------

    void cargoNational_data()
    {
        QTest::addColumn<int>("fullDay");
        QTest::addColumn<bool>("incentive");
        QTest::addColumn<QString>("row084");
        QTest::addColumn<QString>("row113");

        QTest::newRow("no incentive") << 0 << false << "" << "$ 100";
        QTest::newRow("no incentive, J 600") << 600 << false << "" << "$ 200";
        QTest::newRow("incentive, J 0") << 0 << true << "$ 110" << "$ 100";
        QTest::newRow("incentive, J 599") << 599 << true << "$ 110" << "$ 100";
        QTest::newRow("incentive, J 600") << 600 << true << "$ 220" << "$ 200";
    }
    void cargoNational()
    {
        QFETCH(int, fullDay);
        QFETCH(bool, incentive);
        QFETCH(QString, row084);
        QFETCH(QString, row113);
        PayInput in = cargoInput("971", "0", std::to_string(fullDay));
        in.incentive = incentive;
        const Slip slip = slipOf(in);
        QCOMPARE(amountOf(slip, "084"), row084);
        QCOMPARE(amountOf(slip, "113"), row113);
        QCOMPARE(quantityOf(slip, "113"), QString());
        if (!row084.isEmpty())
            QCOMPARE(quantityOf(slip, "084"), QString());
    }

    void hoursNational_data()
    {
        QTest::addColumn<PayPath>("path");
        QTest::addColumn<QString>("incentiveHours");
        QTest::addColumn<QString>("hours113");
        QTest::addColumn<QString>("row084"); // quantity|amount, empty for no row
        QTest::addColumn<QString>("row113");

        QTest::newRow("secondary 30") << PayPath::SecondaryHours << "30" << "0" << "30|$ 219,9" << "0|$ 0";
        QTest::newRow("secondary 31") << PayPath::SecondaryHours << "31" << "0" << "30|$ 220" << "0|$ 0";
        // 30 hours typed as "30,0": the quantity is the limit, not the text.
        QTest::newRow("secondary 30,0") << PayPath::SecondaryHours << "30,0" << "30,0" << "30|$ 219,9" << "30|$ 199,8";
        QTest::newRow("secondary 30,5") << PayPath::SecondaryHours << "30,5" << "0" << "30|$ 220" << "0|$ 0";
        QTest::newRow("secondary 12") << PayPath::SecondaryHours << "12" << "12" << "12|$ 87,96" << "12|$ 79,92";
        QTest::newRow("secondary 29,9") << PayPath::SecondaryHours << "29,9" << "29,9" << "29,9|$ 219,167"
                                        << "29,9|$ 199,134";
        QTest::newRow("secondary 113 at 30") << PayPath::SecondaryHours << "0" << "30" << "" << "30|$ 199,8";
        QTest::newRow("secondary 113 at 31") << PayPath::SecondaryHours << "0" << "31" << "" << "30|$ 200";
        QTest::newRow("higher 24") << PayPath::HigherHours << "24" << "24" << "24|$ 219,984" << "24|$ 199,992";
        QTest::newRow("higher 25") << PayPath::HigherHours << "25" << "25" << "24|$ 220" << "24|$ 200";
        QTest::newRow("higher 10") << PayPath::HigherHours << "10" << "10" << "10|$ 91,66" << "10|$ 83,33";
        QTest::newRow("nothing") << PayPath::HigherHours << "0" << "0" << "" << "0|$ 0";
    }
    void hoursNational()
    {
        QFETCH(PayPath, path);
        QFETCH(QString, incentiveHours);
        QFETCH(QString, hours113);
        QFETCH(QString, row084);
        QFETCH(QString, row113);
        for (const bool incentiveBox : {false, true}) { // the hours paths do not look at it
            PayInput in = hoursInput(path, "10", "0", incentiveHours.toStdString(), hours113.toStdString());
            in.incentive = incentiveBox;
            const Slip slip = slipOf(in);
            const auto shown = [&](std::string_view code) {
                const SlipRow *row = findRow(slip, code);
                return row ? qtext(row->quantity) + '|' + qtext(row->amount) : QString();
            };
            QCOMPARE(shown("084"), row084);
            QCOMPARE(shown("113"), row113);
        }
    }

    void plusRow()
    {
        // 945 x 0.07 of the complete example.
        PayInput in = cargoInput("1000");
        in.seniorityOption = 4;
        pickZone(in, 1);
        const Slip slip = slipOf(in);
        const SlipRow *row = findRow(slip, "188");
        QVERIFY(row);
        QCOMPARE(rowText(*row), QStringLiteral("188|7.0|Plus Productividad|$ 66,15"));

        // The quantity is "7.0" whatever the separator.
        in.decimalSeparator = ".";
        QCOMPARE(quantityOf(slipOf(in), "188"), QStringLiteral("7.0"));
    }

    // --- absence reduction, row 440 --------------------------------------

    void absence_data()
    {
        QTest::addColumn<QString>("days");
        QTest::addColumn<QString>("row440"); // quantity|amount, empty for no row
        QTest::addColumn<QString>("iosper"); // 3 % of the base that is left

        // The plus is 66.15 and the base without reduction 1219.8.
        QTest::newRow("1 day") << "1" << "1|$ 16,5375" << "$ 36,0979";
        QTest::newRow("2 days") << "2" << "2|$ 33,075" << "$ 35,6017";
        QTest::newRow("3 days") << "3" << "3|$ 49,6125" << "$ 35,1056";
        QTest::newRow("2,5 days") << "2,5" << "" << "$ 36,594";
        QTest::newRow("4 days: the whole plus") << "4" << "4|$ 66,15" << "$ 34,6095";
        QTest::newRow("3,5 days") << "3,5" << "3,5|$ 66,15" << "$ 34,6095";
        QTest::newRow("0 days") << "0" << "" << "$ 36,594";
        QTest::newRow("-1 days") << "-1" << "" << "$ 36,594";
        QTest::newRow("as typed") << " 2 " << " 2 |$ 33,075" << "$ 35,6017";
        QTest::newRow("2,0 is 2") << "2,0" << "2,0|$ 33,075" << "$ 35,6017";
    }
    void absence()
    {
        QFETCH(QString, days);
        QFETCH(QString, row440);
        QFETCH(QString, iosper);
        PayInput in = cargoInput("1000");
        in.seniorityOption = 4;
        pickZone(in, 1);
        in.absenceDays = days.toStdString();
        in.deductions[Iosper] = true;
        const Slip slip = slipOf(in);
        const SlipRow *row = findRow(slip, "440");
        QCOMPARE(row ? qtext(row->quantity) + '|' + qtext(row->amount) : QString(), row440);
        if (row) {
            QCOMPARE(row->column, Column::Deductions);
            QCOMPARE(qtext(row->description), QStringLiteral("Reajuste cod. 188"));
        }
        QCOMPARE(amountOf(slip, "505"), iosper);
        QCOMPARE(amountOf(slip, "188"), QStringLiteral("$ 66,15")); // the plus row keeps its whole amount
    }

    // --- row 172 ------------------------------------------------------

    void minimum_data()
    {
        QTest::addColumn<QString>("basic");
        QTest::addColumn<QString>("compbas");
        QTest::addColumn<int>("option");
        QTest::addColumn<int>("zone");
        QTest::addColumn<QString>("days");
        QTest::addColumn<bool>("incentive");
        QTest::addColumn<QString>("row172"); // amount, empty for no row

        QTest::newRow("1000 points, Menos de 1 año") << "1000" << "0" << 1 << 0 << "0" << true << "$ 538,0236";
        QTest::newRow("complete example") << "1000" << "0" << 4 << 1 << "0" << true << "$ 366,6107";
        QTest::newRow("900 points: never") << "900" << "0" << 1 << 0 << "0" << true << "";
        QTest::newRow("901 points") << "901" << "0" << 1 << 0 << "0" << true << "$ 591,6793";
        QTest::newRow("large pay: no top-up") << "3000" << "0" << 12 << 4 << "0" << true << "";
        // The take-home estimate comes to exactly 1290: nothing to top up.
        QTest::newRow("bolsillo exactly 1290") << "901" << "972,985873015873" << 3 << 1 << "1" << false << "";
    }
    void minimum()
    {
        QFETCH(QString, basic);
        QFETCH(QString, compbas);
        QFETCH(int, option);
        QFETCH(int, zone);
        QFETCH(QString, days);
        QFETCH(bool, incentive);
        QFETCH(QString, row172);
        PayInput in = cargoInput(basic.toStdString(), compbas.toStdString());
        in.seniorityOption = option;
        pickZone(in, zone);
        in.absenceDays = days.toStdString();
        in.incentive = incentive;
        const Slip slip = slipOf(in);
        QCOMPARE(amountOf(slip, "172"), row172);
        if (row172.isEmpty())
            QCOMPARE(slip.values.montominimo, Money());
        else
            QCOMPARE(qtext(findRow(slip, "172")->description), QStringLiteral("Adic para mínimo"));
        if (QByteArray(QTest::currentDataTag()) == "bolsillo exactly 1290")
            QCOMPARE(slip.values.bolsillo, 1290.0);
    }

    void minimumExampleBandSum()
    {
        // The example of the rule: 1000 points, Menos de 1 año, Común,
        // incentive: band sum 1507.7236, so 75 a child.
        PayInput in = cargoInput("1000");
        in.seniorityOption = 1;
        pickZone(in, 0);
        in.incentive = true;
        in.children = true;
        in.childrenCount = "1";
        const Slip slip = slipOf(in);
        QCOMPARE(slip.values.baseaportes, Money::fromUnits(7597000));
        QCOMPARE(amountOf(slip, "1001"), QStringLiteral("$ 75"));
        QVERIFY(qtext(findRow(slip, "1001")->explanation).contains(QStringLiteral("1507,7236")));
    }

    void minimumNeverOnHours()
    {
        for (const PayPath path : {PayPath::SecondaryHours, PayPath::HigherHours}) {
            const Slip slip = slipOf(hoursInput(path, "1"));
            QVERIFY(!findRow(slip, "172"));
        }
    }

    // --- row 029 ------------------------------------------------------

    void transport_data()
    {
        QTest::addColumn<QString>("km");
        QTest::addColumn<QString>("row029");

        QTest::newRow("300 km") << "300" << "$ 161,664";
        QTest::newRow("301 km: the cap") << "301" << "$ 161,8";
        QTest::newRow("5000 km: the cap") << "5000" << "$ 161,8";
        QTest::newRow("0 km") << "0" << "$ 0";
        QTest::newRow("100 km") << "100" << "$ 53,888";
        QTest::newRow("100,5 km rounds to 100") << "100,5" << "$ 53,888";
        QTest::newRow("101,5 km rounds to 102") << "101,5" << "$ 54,9658";
    }
    void transport()
    {
        QFETCH(QString, km);
        QFETCH(QString, row029);
        PayInput in = cargoInput("971");
        in.transport = true;
        in.kilometres = km.toStdString();
        const Slip slip = slipOf(in);
        QCOMPARE(amountOf(slip, "029"), row029);
        QCOMPARE(quantityOf(slip, "029"), QString());
        QCOMPARE(qtext(findRow(slip, "029")->description), QStringLiteral("transporte por KM"));
    }

    void transportUnchecked()
    {
        PayInput in = cargoInput("971");
        in.transport = true;
        in.kilometres = "300";
        const Slip first = slipOf(in);
        in.transport = false;
        const Slip second = slipOf(in);
        QVERIFY(!findRow(second, "029"));
        QCOMPARE(first.values.totalhaberes - second.values.totalhaberes, Money::fromUnits(1616640));
        QCOMPARE(second.values.montotransporte, Money());
    }

    // --- rows 1001, 1002, 1003 and 1010 -----------------------------------

    void childBands_data()
    {
        QTest::addColumn<QString>("compbas"); // tuned so that the band sum lands on the edge
        QTest::addColumn<QString>("perChild");

        QTest::newRow("band sum exactly 1900") << "1643,2428" << "$ 75";
        QTest::newRow("band sum 1900,0001") << "1643,2429" << "$ 75"; // the same sum: 0.63 x c rounds alike
        QTest::newRow("band sum exactly 2600") << "2681,6644" << "$ 60";
        QTest::newRow("band sum 2599,9999") << "2681,6643" << "$ 60";
        QTest::newRow("band sum 2600,0001") << "2681,6646" << "$ 45";
    }
    void childBands()
    {
        QFETCH(QString, compbas);
        QFETCH(QString, perChild);
        PayInput in = cargoInput("900", compbas.toStdString());
        in.children = true;
        in.childrenCount = "1";
        const Slip slip = slipOf(in);
        QCOMPARE(amountOf(slip, "1001"), perChild);
    }

    void childBandSums()
    {
        // The explanation shows the band sum the rule compared.
        const auto why = [](const char *compbas) {
            PayInput in = cargoInput("900", compbas);
            in.children = true;
            in.childrenCount = "2";
            const Slip slip = slipOf(in);
            return qtext(findRow(slip, "1001")->explanation);
        };
        QCOMPARE(why("1643,2428"), QStringLiteral("2 hijos × 75 = 150 (haberes de 1900: hasta 1900)"));
        QCOMPARE(why("2681,6644"), QStringLiteral("2 hijos × 60 = 120 (haberes de 2600: más de 1900 y hasta 2600)"));
        QCOMPARE(why("2681,6646"), QStringLiteral("2 hijos × 45 = 90 (haberes de 2600,0001: más de 2600)"));
    }

    void family_data()
    {
        QTest::addColumn<QString>("children");    // empty: box unchecked
        QTest::addColumn<QString>("disabled");    // empty: box unchecked
        QTest::addColumn<bool>("spouse");
        QTest::addColumn<QStringList>("rows");

        QTest::newRow("0 children") << "0" << "" << false << QStringList{"1001|0|Sal fam hijo|$ 0"};
        QTest::newRow("2 + 1 disabled") << "2" << "1" << false
                                        << QStringList{"1001|2|Sal fam hijo|$ 150",
                                                       "1002|1|Sal fam hijo diferenciado|$ 400",
                                                       "1003|3|Familia numerosa|$ 3"};
        QTest::newRow("81 disabled") << "" << "81" << false
                                     << QStringList{"1002|81|Sal fam hijo diferenciado|$ 32400",
                                                    "1003|81|Familia numerosa|$ 3"};
        QTest::newRow("3 children") << "3" << "" << false
                                    << QStringList{"1001|3|Sal fam hijo|$ 225", "1003|3|Familia numerosa|$ 3"};
        QTest::newRow("2 children") << "2" << "" << false << QStringList{"1001|2|Sal fam hijo|$ 150"};
        QTest::newRow("2,5 children round to 2") << "2,5" << "" << false << QStringList{"1001|2|Sal fam hijo|$ 150"};
        QTest::newRow("spouse") << "" << "" << true << QStringList{"1010||Sal fam Cony|$ 15"};
        QTest::newRow("255 in all") << "174" << "81" << true
                                    << QStringList{"1001|174|Sal fam hijo|$ 13050",
                                                   "1002|81|Sal fam hijo diferenciado|$ 32400",
                                                   "1003|255|Familia numerosa|$ 3", "1010||Sal fam Cony|$ 15"};
    }
    void family()
    {
        QFETCH(QString, children);
        QFETCH(QString, disabled);
        QFETCH(bool, spouse);
        QFETCH(QStringList, rows);
        PayInput in = cargoInput("971");
        in.children = !children.isEmpty();
        in.childrenCount = in.children ? children.toStdString() : "0";
        in.disabledChildren = !disabled.isEmpty();
        in.disabledChildrenCount = in.disabledChildren ? disabled.toStdString() : "0";
        in.spouse = spouse;
        const Slip slip = slipOf(in);
        QStringList shown;
        for (const SlipRow &row : slip.rows)
            if (row.code.size() == 4)
                shown << rowText(row);
        QCOMPARE(shown, rows);
        if (const SlipRow *row = findRow(slip, "1010"))
            QVERIFY(!row->showQuantity);
        for (const SlipRow &row : slip.rows)
            if (row.code != "1010")
                QVERIFY(row.showQuantity);
    }

    // --- deductions -----------------------------------------------------

    void deductions_data()
    {
        QTest::addColumn<bool>("incentive");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QStringList>("rows");

        QTest::newRow("base 1219,8 with incentive 110")
            << true << "1219,8"
            << QStringList{"505|3 %|IOSPER|$ 36,594",        "508|3 %|OSPLAD|$ 36,594",
                           "502|16 %|Aporte Jub.|$ 195,168", "504|0,6 %|Ley 4035|$ 7,3188",
                           "332|2 %|VESNAR|$ 26,596",        "512|4,5 %|Caja Comp.|$ 54,891",
                           "510|2 %|Seguro 3011|$ 24,396"};
        QTest::newRow("base 1219,8 without incentive")
            << false << "1219,8"
            << QStringList{"505|3 %|IOSPER|$ 36,594",        "508|3 %|OSPLAD|$ 36,594",
                           "502|16 %|Aporte Jub.|$ 195,168", "504|0,6 %|Ley 4035|$ 7,3188",
                           "332|2 %|VESNAR|$ 24,396",        "512|4,5 %|Caja Comp.|$ 54,891",
                           "510|2 %|Seguro 3011|$ 24,396"};
    }
    void deductions()
    {
        QFETCH(bool, incentive);
        QFETCH(QString, base);
        QFETCH(QStringList, rows);
        PayInput in = cargoInput("1000");
        in.seniorityOption = 4;
        pickZone(in, 1);
        in.incentive = incentive;
        checkAllDeductions(in);
        const Slip slip = slipOf(in);
        QCOMPARE(qtext(moneyText(slip.values.baseaportes, ",")), base);
        QStringList shown;
        for (const SlipRow &row : slip.rows)
            if (row.column == Column::Deductions)
                shown << rowText(row);
        QCOMPARE(shown, rows);
    }

    void deductionsOnBase1000()
    {
        // 900 basic points and no seniority or zone: the base is the basic and
        // complement amounts, 80 + 5.6 of the decree and the plus; the
        // complement points are tuned to a base of exactly 1000.
        PayInput in = cargoInput("900", "456,4752");
        checkAllDeductions(in);
        const Slip slip = slipOf(in);
        QCOMPARE(qtext(moneyText(slip.values.baseaportes, ",")), QStringLiteral("1000"));
        QStringList amounts;
        for (const SlipRow &row : slip.rows)
            if (row.column == Column::Deductions)
                amounts << qtext(row.amount);
        QCOMPARE(amounts, (QStringList{"$ 30", "$ 30", "$ 160", "$ 6", "$ 20", "$ 45", "$ 20"}));
        QCOMPARE(slip.tdescuentos, std::string("$ 311"));
    }

    void vesnarWithIncentive220()
    {
        // 630 basic + 462 full day, 80 + 5,6 of the decree and a plus of
        // 76,44: a base of 1254,04, and 2 % of it with the incentive of 220.
        PayInput in = cargoInput("1000", "0", "600");
        in.incentive = true;
        in.deductions[Vesnar] = true;
        const Slip slip = slipOf(in);
        QCOMPARE(amountOf(slip, "332"), QStringLiteral("$ 29,4808"));
        QCOMPARE(qtext(findRow(slip, "332")->explanation),
                 QStringLiteral("2 % de la base de aportes 1254,04 + incentivo 220"));
    }

    void noDeductions()
    {
        const Slip slip = slipOf(cargoInput("971"));
        for (const SlipRow &row : slip.rows)
            QCOMPARE(row.column, Column::Earnings);
        QCOMPARE(slip.tdescuentos, std::string("$ 0"));
    }
};

QTEST_GUILESS_MAIN(TestRows)
#include "test_rows.moc"
