// The complete slip of the pay scale's example, its totals block, the
// positions of that block for other row counts, and the explanations the
// rows carry.

#include <QTest>

#include "calc/slip_text.h"
#include "calc_support.h"

using namespace recibo;
using namespace recibo::test;

class TestSlipExample : public QObject {
    Q_OBJECT

private slots:
    void completeExample_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<bool>("deduction");

        const auto row = [](const char *code, const char *quantity, const char *description, const char *amount,
                            bool deduction) {
            QTest::newRow(code) << code << quantity << description << amount << deduction;
        };
        row("001", "1", "Asign. de la categoría", "$630", false);
        row("010", "30 %", "Antigüedad", "$ 189", false);
        row("078", "20 %", "As. por zona", "$ 126", false);
        row("006", "", "Adic. Art 2 y 3 Dcrto 5863/05", "$ 195", false);
        row("014", "0,7", "Product Dcrto 5863/05", "$ 13,65", false);
        row("084", "", "Incentivo de Nación", "$ 110", false);
        row("113", "", "Negro de Nación", "$ 100", false);
        row("188", "7.0", "Plus Productividad", "$ 66,15", false);
        row("172", "", "Adic para mínimo", "$ 366,6107", false);
        row("1001", "2", "Sal fam hijo", "$ 150", false);
        row("1010", "", "Sal fam Cony", "$ 15", false);
        row("505", "3 %", "IOSPER", "$ 36,594", true);
        row("508", "3 %", "OSPLAD", "$ 36,594", true);
        row("502", "16 %", "Aporte Jub.", "$ 195,168", true);
        row("504", "0,6 %", "Ley 4035", "$ 7,3188", true);
        row("332", "2 %", "VESNAR", "$ 26,596", true);
        row("512", "4,5 %", "Caja Comp.", "$ 54,891", true);
        row("510", "2 %", "Seguro 3011", "$ 24,396", true);
    }
    void completeExample()
    {
        QFETCH(QString, code);
        QFETCH(QString, quantity);
        QFETCH(QString, description);
        QFETCH(QString, amount);
        QFETCH(bool, deduction);

        const Slip slip = slipOf(exampleInput());
        QCOMPARE(slip.rows.size(), std::size_t(18));

        // The row stands at the position of its line in the table.
        const QStringList order{"001",  "010",  "078", "006", "014", "084", "113", "188", "172",
                                "1001", "1010", "505", "508", "502", "504", "332", "512", "510"};
        const auto position = static_cast<std::size_t>(order.indexOf(code));
        QVERIFY(position < slip.rows.size());
        const SlipRow &row = slip.rows[position];
        QCOMPARE(qtext(row.code), code);
        QCOMPARE(qtext(row.quantity), quantity);
        QCOMPARE(row.showQuantity, code != "1010");
        QCOMPARE(qtext(row.description), description);
        QCOMPARE(qtext(row.amount), amount);
        QCOMPARE(row.column, deduction ? Column::Deductions : Column::Earnings);
    }

    void completeExampleTotals()
    {
        const Slip slip = slipOf(exampleInput());
        QCOMPARE(qtext(moneyText(slip.values.baseaportes, ",")), QStringLiteral("1219,8"));
        QCOMPARE(qtext(slip.thaberes), QStringLiteral("$ 1961,4107"));
        QCOMPARE(qtext(slip.tdescuentos), QStringLiteral("$ 381,5578"));
        QCOMPARE(qtext(slip.liquido), QStringLiteral("$ 1579,8529"));
        QCOMPARE(slip.values.totalhaberes, Money::fromUnits(19614107));
        QCOMPARE(slip.values.totaldescuentos, Money::fromUnits(3815578));
        QCOMPARE(slip.values.totalliquido, Money::fromUnits(15798529));

        QCOMPARE(slip.layout.line6, 6720.0f);
        QCOMPARE(slip.layout.haberesTop, 6920.0f);
        QCOMPARE(slip.layout.descuentosTop, 7320.0f);
        QCOMPARE(slip.layout.liquidoTop, 7720.0f);
        QCOMPARE(slip.layout.line17, 8020.0f);
        QCOMPARE(slip.layout.verticalLinesY2, 8020.0f);
    }

    void completeExampleWithPointSeparator()
    {
        PayInput in = exampleInput();
        in.decimalSeparator = ".";
        const Slip slip = slipOf(in);
        QCOMPARE(qtext(slip.thaberes), QStringLiteral("$ 1961.4107"));
        QCOMPARE(amountOf(slip, "014"), QStringLiteral("$ 13.65"));
        QCOMPARE(quantityOf(slip, "014"), QStringLiteral("0.7"));
        // The fixed percentages of the deductions keep their comma.
        QCOMPARE(quantityOf(slip, "504"), QStringLiteral("0,6 %"));
        QCOMPARE(quantityOf(slip, "512"), QStringLiteral("4,5 %"));
    }

    void totalsLayout_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<float>>("positions"); // Line6, thaberes, Line15, tdescuentos, Line16, liquido, Line17

        QTest::newRow("18 rows") << 18 << QList<float>{6720, 6920, 7220, 7320, 7620, 7720, 8020};
        QTest::newRow("20 rows") << 20 << QList<float>{7350, 7550, 7850, 7950, 8250, 8350, 8650};
        QTest::newRow("26 rows") << 26 << QList<float>{9240, 9440, 9740, 9840, 10140, 10240, 10540};
        QTest::newRow("5 rows") << 5 << QList<float>{2625, 2825, 3125, 3225, 3525, 3625, 3925};
    }
    void totalsLayout()
    {
        QFETCH(int, rows);
        QFETCH(QList<float>, positions);
        const TotalsLayout layout = recibo::totalsLayout(rows);
        QCOMPARE((QList<float>{layout.line6, layout.haberesTop, layout.line15, layout.descuentosTop, layout.line16,
                               layout.liquidoTop, layout.line17}),
                 positions);
        QCOMPARE(layout.verticalLinesY2, layout.line17);
    }

    void largestSlip()
    {
        // Every row there is: 18 earnings rows (both day rows) and 8 deductions.
        PayInput in = cargoInput("901", "1", "1", "1", "1");
        in.seniorityOption = 4;
        pickZone(in, 1);
        in.incentive = true;
        in.absenceDays = "1";
        in.transport = true;
        in.kilometres = "100";
        in.children = true;
        in.childrenCount = "2";
        in.disabledChildren = true;
        in.disabledChildrenCount = "1";
        in.spouse = true;
        checkAllDeductions(in);
        const Slip slip = slipOf(in);
        QCOMPARE(codes(slip), QStringLiteral("001 002 052 052 016 010 078 006 014 084 113 188 172 029 1001 1002 "
                                             "1003 1010 440 505 508 502 504 332 512 510"));
        QCOMPARE(slip.layout.line17, 10540.0f);
    }

    void smallestSlip()
    {
        const Slip slip = slipOf(hoursInput(PayPath::HigherHours, "0"));
        QCOMPARE(codes(slip), QStringLiteral("001 006 014 113 188"));
        for (const SlipRow &row : slip.rows)
            QCOMPARE(qtext(row.amount), row.code == "001" ? QStringLiteral("$0") : QStringLiteral("$ 0"));
        QCOMPARE(qtext(slip.liquido), QStringLiteral("$ 0"));
        QCOMPARE(slip.layout.line6, 2625.0f);
    }

    void explanations_data()
    {
        QTest::addColumn<QString>("example");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("nth");
        QTest::addColumn<QString>("explanation");

        QTest::newRow("001 of 971 points") << "cargo 971 0 0 0 0" << "001" << 0 << "971 puntos × 0,63 = 611,73";
        QTest::newRow("002 of 170 points") << "971+170+620" << "002" << 0 << "170 puntos × 0,63 = 107,1";
        QTest::newRow("052 of 620 points") << "971+170+620" << "052" << 0 << "620 puntos × 0,77 = 477,4";
        QTest::newRow("010 on 1196,23") << "971+170+620" << "010" << 0
                                        << "30 % de 1196,23 (básico + comp. + tarea dif. + jornada)";
        QTest::newRow("078 on 1196,23") << "971+170+620" << "078" << 0
                                        << "20 % de 1196,23 (básico + comp. + tarea dif. + jornada)";
        QTest::newRow("001 of 10 hours") << "medio 10 12 31 12" << "001" << 0 << "10 horas × 64,7 puntos × 0,63 = 407,61";
        QTest::newRow("006 of 12 hours") << "medio 10 12 31 12" << "006" << 0 << "12 horas con código 06 × 9,4 = 112,8";
        QTest::newRow("084 capped") << "medio 10 12 31 12" << "084" << 0 << "31 horas × 7,33 = 227,23, tope 220";
        QTest::newRow("113 by the hour") << "medio 10 12 31 12" << "113" << 0 << "12 horas × 6,66 = 79,92";
        QTest::newRow("006 of the table") << "complete" << "006" << 0
                                          << "Tabla del decreto 5863/05: Entre 5 y 7 años, 1000 puntos básicos "
                                             "(de 972 a 1169), jornada completa 0 puntos (menos de 620) = 195";
        QTest::newRow("014") << "complete" << "014" << 0 << "195 × 0,07 = 13,65";
        QTest::newRow("084 cargo") << "complete" << "084" << 0
                                   << "Monto fijo con menos de 600 puntos de jornada completa: 110";
        QTest::newRow("188") << "complete" << "188" << 0
                             << "7 % de 945 (básico + comp. + tarea dif. + jornada + antigüedad + zona)";
        QTest::newRow("172") << "complete" << "172" << 0
                             << "1290 − 923,38932 = 366,6107; estimado de bolsillo 923,38932 = 1095,15 − 0,196 × "
                                "876,33";
        QTest::newRow("1001") << "complete" << "1001" << 0
                              << "2 hijos × 75 = 150 (haberes de 1796,4107: hasta 1900)";
        QTest::newRow("1010") << "complete" << "1010" << 0 << "Monto fijo por cónyuge: 15";
        QTest::newRow("505") << "complete" << "505" << 0 << "3 % de la base de aportes 1219,8";
        QTest::newRow("504") << "complete" << "504" << 0 << "0,6 % de la base de aportes 1219,8";
        QTest::newRow("332") << "complete" << "332" << 0 << "2 % de la base de aportes 1219,8 + incentivo 110";
        QTest::newRow("440") << "1 day" << "440" << 0
                             << "Plus de productividad 66,15 × 0,25 = 16,5375 (1 día de inasistencia)";
        QTest::newRow("029") << "transport 301" << "029" << 0 << "301 km × 0,13472 × 4 = 162,20288, tope 161,8";
        QTest::newRow("029 below the cap") << "transport 300" << "029" << 0 << "300 km × 0,13472 × 4 = 161,664";

        // Task points typed with decimals are read to the ten-thousandth: each
        // digit at its weight, then the fifth decimal rounds, a tie to the even.
        QTest::newRow("016 four decimals") << "cargo 971 0 0 0 150,1234" << "016" << 0
                                           << "150,1234 puntos × 0,63 = 94,5777";
        QTest::newRow("016 below the tie") << "cargo 971 0 0 0 150,12344" << "016" << 0
                                           << "150,1234 puntos × 0,63 = 94,5777";
        QTest::newRow("016 tie, even stays") << "cargo 971 0 0 0 150,12345" << "016" << 0
                                             << "150,1234 puntos × 0,63 = 94,5777";
        QTest::newRow("016 tie and zeros") << "cargo 971 0 0 0 150,1234500" << "016" << 0
                                           << "150,1234 puntos × 0,63 = 94,5777";
        QTest::newRow("016 tie, odd goes up") << "cargo 971 0 0 0 150,12355" << "016" << 0
                                              << "150,1236 puntos × 0,63 = 94,5779";
        QTest::newRow("016 tie and a digit after") << "cargo 971 0 0 0 150,123450001" << "016" << 0
                                                   << "150,1235 puntos × 0,63 = 94,5778";
        QTest::newRow("016 tie and digits after") << "cargo 971 0 0 0 150,12345100" << "016" << 0
                                                  << "150,1235 puntos × 0,63 = 94,5778";
        QTest::newRow("016 fifth decimal 6") << "cargo 971 0 0 0 150,12346" << "016" << 0
                                             << "150,1235 puntos × 0,63 = 94,5778";
        QTest::newRow("016 fifth decimal 7") << "cargo 971 0 0 0 150,12347" << "016" << 0
                                             << "150,1235 puntos × 0,63 = 94,5778";
        QTest::newRow("016 fifth decimal 8") << "cargo 971 0 0 0 150,12348" << "016" << 0
                                             << "150,1235 puntos × 0,63 = 94,5778";
        QTest::newRow("016 fifth decimal 9") << "cargo 971 0 0 0 150,12349" << "016" << 0
                                             << "150,1235 puntos × 0,63 = 94,5778";
        QTest::newRow("016 plus sign") << "cargo 971 0 0 0 +159,5" << "016" << 0 << "159,5 puntos × 0,63 = 100,485";
        QTest::newRow("016 one point") << "cargo 971 0 0 0 1" << "016" << 0 << "1 punto × 0,63 = 0,63";
        // Task points count in the base of seniority and zone.
        QTest::newRow("010 with task points") << "cargo 971 0 0 0 150 Option4" << "010" << 0
                                              << "30 % de 706,23 (básico + comp. + tarea dif. + jornada)";
        // Complement points below one still count in the plus.
        QTest::newRow("002 of 0,4 points") << "cargo 971 0,4 0 0 0" << "002" << 0 << "0,4 puntos × 0,63 = 0,252";
        QTest::newRow("188 with 0,4 complement points")
            << "cargo 971 0,4 0 0 0" << "188" << 0
            << "7 % de 611,982 (básico + comp. + tarea dif. + jornada + antigüedad + zona)";

        // The band of the decree table, every kind of column.
        QTest::newRow("006 no band chosen") << "cargo 971 0 0 0 0" << "006" << 0
                                            << "Tabla del decreto 5863/05: sin antigüedad elegida, 971 puntos básicos "
                                               "(hasta 971), jornada completa 0 puntos (menos de 620) = 80";
        QTest::newRow("006 Menos de 1 año") << "cargo 971 0 0 0 0 Option1" << "006" << 0
                                            << "Tabla del decreto 5863/05: Menos de 1 año, 971 puntos básicos "
                                               "(hasta 971), jornada completa 0 puntos (menos de 620) = 80";
        QTest::newRow("006 no such band") << "cargo 971 0 0 0 0 Option13" << "006" << 0
                                          << "Tabla del decreto 5863/05: sin antigüedad elegida, 971 puntos básicos "
                                             "(hasta 971), jornada completa 0 puntos (menos de 620) = 80";
        QTest::newRow("006 a middle band") << "cargo 1400 0 619 0 0 Option5" << "006" << 0
                                           << "Tabla del decreto 5863/05: Entre 7 y 10 años, 1400 puntos básicos "
                                              "(de 1170 a 1400), jornada completa 619 puntos (menos de 620) = 250";
        QTest::newRow("006 the top band") << "cargo 2221 0 0 0 0 Option5" << "006" << 0
                                          << "Tabla del decreto 5863/05: Entre 7 y 10 años, 2221 puntos básicos "
                                             "(2221 o más), jornada completa 0 puntos (menos de 620) = 140";
        QTest::newRow("006 full day, up to 971") << "cargo 971 0 620 0 0 Option5" << "006" << 0
                                                 << "Tabla del decreto 5863/05: Entre 7 y 10 años, 971 puntos básicos "
                                                    "(hasta 971), jornada completa 620 puntos (620 o más) = 440";
        QTest::newRow("006 full day, from 972") << "cargo 972 0 620 0 0 Option5" << "006" << 0
                                                << "Tabla del decreto 5863/05: Entre 7 y 10 años, 972 puntos básicos "
                                                   "(972 o más), jornada completa 620 puntos (620 o más) = 400";
        QTest::newRow("113 cargo with full day") << "cargo 971 0 600 0 0" << "113" << 0
                                                 << "Monto fijo con 600 puntos o más de jornada completa: 200";

        // One hour, one child: the singular.
        QTest::newRow("001 of 1 hour") << "medio 1 1 1 1" << "001" << 0 << "1 hora × 64,7 puntos × 0,63 = 40,761";
        QTest::newRow("006 of 1 hour") << "medio 1 1 1 1" << "006" << 0 << "1 hora con código 06 × 9,4 = 9,4";
        QTest::newRow("084 of 1 hour") << "medio 1 1 1 1" << "084" << 0 << "1 hora × 7,33 = 7,33";
        QTest::newRow("113 of 1 hour") << "medio 1 1 1 1" << "113" << 0 << "1 hora × 6,66 = 6,66";
        QTest::newRow("1001 of 1 child") << "family 1 1" << "1001" << 0
                                         << "1 hijo × 75 = 75 (haberes de 1503,892: hasta 1900)";
        QTest::newRow("1002 of 1 child") << "family 1 1" << "1002" << 0 << "1 hijo × 400 = 400";
        QTest::newRow("1003") << "family 2 1" << "1003" << 0 << "Monto fijo con 3 hijos (3 o más): 3";

        // Amounts that land exactly on their cap or fixed amount.
        QTest::newRow("113 exactly at the cap") << "medio 10 0 0 30,03003003003003" << "113" << 0
                                                << "30,03003003003 horas × 6,66 = 200, tope 200";
        QTest::newRow("006 of 30 secondary hours") << "medio 10 30 0 0" << "006" << 0
                                                   << "30 horas con código 06 (30 o más): monto fijo 282";
        QTest::newRow("006 of 15 higher hours") << "superior 10 15 0 0" << "006" << 0
                                                << "15 horas con código 06 (15 o más): monto fijo 141";

        // The last day of the absence table, and more days than it has.
        QTest::newRow("440 of 3 days") << "3 days" << "440" << 0
                                       << "Plus de productividad 66,15 × 0,75 = 49,6125 (3 días de inasistencia)";
        QTest::newRow("440 of 4 days") << "4 days" << "440" << 0
                                       << "Todo el plus de productividad: 66,15 (4 días de inasistencia, más de 3)";
    }
    void explanations()
    {
        QFETCH(QString, example);
        QFETCH(QString, code);
        QFETCH(int, nth);
        QFETCH(QString, explanation);

        // "cargo P C J PJ T [OptionN]": the five point boxes and a seniority
        // band; "medio|superior H H06 HINC H113": the four hours boxes;
        // "family N D": both boxes of children checked; "N days": the
        // complete example with absence; "transport KM".
        const QStringList w = example.split(' ');
        const auto word = [&](int i) { return w.value(i).toStdString(); };
        PayInput in;
        if (w[0] == "cargo") {
            in = cargoInput(word(1), word(2), word(3), word(4), word(5));
            in.seniorityOption = w.size() > 6 ? w[6].mid(6).toInt() : 0;
        } else if (w[0] == "medio" || w[0] == "superior") {
            in = hoursInput(w[0] == "medio" ? PayPath::SecondaryHours : PayPath::HigherHours, word(1), word(2), word(3),
                            word(4));
        } else if (w[0] == "family") {
            in = cargoInput("971");
            in.children = in.disabledChildren = true;
            in.childrenCount = word(1);
            in.disabledChildrenCount = word(2);
        } else if (w.size() == 2 && w[1].startsWith("day")) {
            in = exampleInput();
            in.absenceDays = word(0);
        } else if (w[0] == "transport") {
            in = cargoInput("971");
            in.transport = true;
            in.kilometres = word(1);
        } else if (example == "971+170+620") {
            in = cargoInput("971", "170", "620");
            in.seniorityOption = 4;
            pickZone(in, 1);
        } else {
            in = exampleInput();
        }
        const Slip slip = slipOf(in);
        const SlipRow *row = findRow(slip, code.toStdString(), nth);
        QVERIFY(row);
        QCOMPARE(qtext(row->explanation), explanation);
    }

    void totalsExplanations()
    {
        const Slip slip = slipOf(exampleInput());
        QCOMPARE(qtext(slip.thaberesExplanation),
                 QStringLiteral("630 + 189 + 126 + 195 + 13,65 + 110 + 100 + 66,15 + 366,6107 + 150 + 15 = 1961,4107"));
        QCOMPARE(qtext(slip.tdescuentosExplanation),
                 QStringLiteral("36,594 + 36,594 + 195,168 + 7,3188 + 26,596 + 54,891 + 24,396 = 381,5578"));
        QCOMPARE(qtext(slip.liquidoExplanation),
                 QStringLiteral("Total haberes 1961,4107 − total descuentos 381,5578 = 1579,8529"));

        PayInput in = cargoInput("971");
        const Slip plain = slipOf(in);
        QCOMPARE(qtext(plain.tdescuentosExplanation), QStringLiteral("Sin descuentos: 0"));
        // A total of one term is that term: 3 % of the base of 740,1511.
        in.deductions[Iosper] = true;
        QCOMPARE(qtext(slipOf(in).tdescuentosExplanation), QStringLiteral("22,2045"));
        in.deductions[Osplad] = true;
        QCOMPARE(qtext(slipOf(in).tdescuentosExplanation), QStringLiteral("22,2045 + 22,2045 = 44,409"));
    }

    void slipAsText()
    {
        // The smallest slip; a comment typed over lines keeps them, whatever
        // the line ends, and blank lines at its end are dropped.
        const Slip slip = slipOf(hoursInput(PayPath::HigherHours, "0"));
        const QString rows = QStringLiteral("Desde Mayo de 2.008\n"
                                            "Horas de nivel superior\n"
                                            "Cantidad de horas\t0\n"
                                            "Puntaje\t0\n"
                                            "Código\tCantidad\tConcepto\tHaberes\tDescuentos\n"
                                            "001\t0\tHs. N. Superior\t$0\t\n"
                                            "006\t0\tAdic. Art 2 y 3 Dcrto 5863/05\t$ 0\t\n"
                                            "014\t0,7\tProduct Dcrto 5863/05\t$ 0\t\n"
                                            "113\t0\tNegro de Nación\t$ 0\t\n"
                                            "188\t7.0\tPlus Productividad\t$ 0\t\n"
                                            "\t\tTotal Haberes\t$ 0\t\n"
                                            "\t\tTotal descuentos\t\t$ 0\n"
                                            "\t\tLiquido a pagar\t\t$ 0\n"
                                            "Ana\n"
                                            "hoy\n");
        QCOMPARE(qtext(slipText(slip, {"Ana", "hoy", "Marzo\r\ncon descuento\rpagado\n\r"})),
                 rows + "Marzo\ncon descuento\npagado\n");
        QCOMPARE(qtext(slipText(slip, {"Ana", "hoy", "\r\n"})), rows);

        // On the cargo path the panel carries the four point boxes as the
        // calculation read them, overtyped ones included.
        const QString cargo = qtext(slipText(slipOf(cargoInput("971", "170", "620", "0", "12,5")), {}));
        QVERIFY2(cargo.startsWith(QStringLiteral("Desde Mayo de 2.008\n"
                                                 "Cargo de prueba\n"
                                                 "Código del cargo\t999\n"
                                                 "Puntaje\t971\n"
                                                 "Ptos. Comp Básico\t170\n"
                                                 "Prol jorn\t0\n"
                                                 "Jorn Comp\t620\n"
                                                 "Tarea dif\t12,5\n"
                                                 "Código\tCantidad\t")),
                 qPrintable(cargo));
    }

    void everyRowExplained()
    {
        const Slip slip = slipOf(exampleInput());
        for (const SlipRow &row : slip.rows)
            QVERIFY2(!row.explanation.empty(), row.code.c_str());
    }
};

QTEST_GUILESS_MAIN(TestSlipExample)
#include "test_slip_example.moc"
