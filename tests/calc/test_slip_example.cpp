// The complete slip of the pay scale's example, its totals block, the
// positions of that block for other row counts, and the explanations the
// rows carry.

#include <QTest>

#include "calc_support.h"

using namespace recibo;
using namespace recibo::test;

namespace {

// 1000 basic points and nothing else, Entre 5 y 7 años (30 %), zone
// "Alejada radio urbano" (20 %), incentive, 2 children, spouse, no absence,
// all seven deductions.
PayInput exampleInput()
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

} // namespace

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

        QTest::newRow("001 of 971 points") << "971" << "001" << 0 << "971 puntos × 0,63 = 611,73";
        QTest::newRow("002 of 170 points") << "971+170+620" << "002" << 0 << "170 puntos × 0,63 = 107,1";
        QTest::newRow("052 of 620 points") << "971+170+620" << "052" << 0 << "620 puntos × 0,77 = 477,4";
        QTest::newRow("010 on 1196,23") << "971+170+620" << "010" << 0
                                        << "30 % de 1196,23 (básico + comp. + tarea dif. + jornada)";
        QTest::newRow("078 on 1196,23") << "971+170+620" << "078" << 0
                                        << "20 % de 1196,23 (básico + comp. + tarea dif. + jornada)";
        QTest::newRow("001 of 10 hours") << "10 hours" << "001" << 0 << "10 horas × 64,7 puntos × 0,63 = 407,61";
        QTest::newRow("006 of 12 hours") << "10 hours" << "006" << 0 << "12 horas con código 06 × 9,4 = 112,8";
        QTest::newRow("084 capped") << "10 hours" << "084" << 0 << "31 horas × 7,33 = 227,23, tope 220";
        QTest::newRow("113 by the hour") << "10 hours" << "113" << 0 << "12 horas × 6,66 = 79,92";
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
        QTest::newRow("029") << "transport" << "029" << 0 << "301 km × 0,13472 × 4 = 162,20288, tope 161,8";
    }
    void explanations()
    {
        QFETCH(QString, example);
        QFETCH(QString, code);
        QFETCH(int, nth);
        QFETCH(QString, explanation);

        PayInput in;
        if (example == "971") {
            in = cargoInput("971");
        } else if (example == "971+170+620") {
            in = cargoInput("971", "170", "620");
            in.seniorityOption = 4;
            pickZone(in, 1);
        } else if (example == "10 hours") {
            in = hoursInput(PayPath::SecondaryHours, "10", "12", "31", "12");
        } else if (example == "1 day") {
            in = exampleInput();
            in.absenceDays = "1";
        } else if (example == "transport") {
            in = cargoInput("971");
            in.transport = true;
            in.kilometres = "301";
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

        const Slip plain = slipOf(cargoInput("971"));
        QCOMPARE(qtext(plain.tdescuentosExplanation), QStringLiteral("Sin descuentos: 0"));
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
