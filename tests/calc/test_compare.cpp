// The amounts of a paid slip typed back and compared with the exact slip of
// the pay scale's example: amounts as printed, verdicts to the centavo, codes
// the slip does not have, the summary and the text copy.

#include <QTest>

#include "calc/compare.h"
#include "calc_support.h"

using namespace recibo;
using namespace recibo::test;

namespace {

// The example's 18 rows; totals 1961,4107, 381,5578 and 1579,8529.
const Slip &exampleSlip()
{
    static const Slip slip = slipOf(exampleInput());
    return slip;
}

// Boxes as typed: "010=180" for a row by its code, "liquido=…" for a total,
// "+123|Bono|500|descuento" for an added code (any other last word: earnings).
ComparisonInput typed(const QStringList &boxes)
{
    ComparisonInput in;
    for (const QString &box : boxes) {
        if (box.startsWith('+')) {
            const QStringList parts = box.mid(1).split('|');
            in.added.push_back({parts[0].toStdString(), parts[1].toStdString(), parts[2].toStdString(),
                                parts[3] == "descuento"});
            continue;
        }
        const QString name = box.section('=', 0, 0);
        std::string amount = box.section('=', 1).toStdString();
        if (name == "thaberes" || name == "tdescuentos" || name == "liquido") {
            (name == "thaberes" ? in.thaberes : name == "tdescuentos" ? in.tdescuentos : in.liquido) = amount;
            continue;
        }
        const auto &rows = exampleSlip().rows;
        const auto row = std::find_if(rows.begin(), rows.end(), [&](const SlipRow &r) { return qtext(r.code) == name; });
        if (row == rows.end()) {
            QTest::qFail(qPrintable("no row " + name), __FILE__, __LINE__);
            continue;
        }
        const auto at = static_cast<std::size_t>(row - rows.begin());
        in.rowAmounts.resize(std::max(in.rowAmounts.size(), at + 1)); // rows after the last typed are missing
        in.rowAmounts[at] = std::move(amount);
    }
    return in;
}

QString outcomeName(Outcome outcome)
{
    static const char *const names[] = {"sin dato", "coincide", "difiere", "rechazado", "no calculado"};
    return names[static_cast<int>(outcome)];
}

QString textOf(const AmountCheck &check)
{
    return qtext(check.outcome == Outcome::Refused ? check.problem : check.verdict);
}

} // namespace

class TestCompare : public QObject {
    Q_OBJECT

private slots:
    void slipAmount_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qlonglong>("units"); // ten-thousandths; -1: refused

        const auto row = [](const char *name, const QString &text, qlonglong units) {
            QTest::newRow(name) << text << units;
        };
        row("sign, blank, grouping", "$ 1.914,73", 19147300);
        row("grouped", "1.914,73", 19147300);
        row("sign against it, one decimal", "$1914,7", 19147000);
        row("blanks around", "  914,73 ", 9147300);
        row("no-break blanks", "\u00A0$\u202F1.914,73\u00A0", 19147300);
        row("sign after it", "1914,73 $", 19147300);
        row("four decimals", "1914,7349", 19147349);
        row("two groups, whole", "1.914.730", 19147300000);
        row("centavos only", "0,5", 5000);
        row("largest", "999.999.999,9999", 9999999999999);
        row("empty", "", -1);
        row("sign alone", " $ ", -1);
        row("minus", "-5", -1);
        row("point as decimal separator", "1914.73", -1);
        row("group of two", "19.14", -1);
        row("group of four", "1.9140", -1);
        row("leading point", ".914", -1);
        row("trailing comma", "1914,", -1);
        row("no pesos", ",73", -1);
        row("five decimals", "1914,73491", -1);
        row("comma as grouping", "1,914,73", -1);
        row("two signs", "$$5", -1);
        row("blank inside", "1 914,73", -1);
        row("ten digits of pesos", "1.000.000.000", -1);
        row("letters", "1914,7a", -1);
    }
    void slipAmount()
    {
        QFETCH(QString, text);
        QFETCH(qlonglong, units);
        const std::optional<Money> amount = readSlipAmount(text.toStdString());
        QCOMPARE(amount ? amount->units() : -1, units);
    }

    // Each box against the example: 010 is 189, 172 366,6107, 504 7,3188.
    void verdicts_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QString>("difference");
        QTest::addColumn<QString>("words");

        const auto row = [](const char *box, const char *outcome, const char *difference, const char *words) {
            QTest::newRow(box) << box << outcome << difference << words;
        };
        row("172=366,61", "coincide", "-0,0007", "coincide");
        row("172=366,62", "coincide", "0,0093", "coincide");
        row("172=366,6", "difiere", "-0,0107", "le pagaron $ 0,0107 de menos");
        row("172=366,6207", "difiere", "0,01", "le pagaron $ 0,01 de más");
        row("001=$630,00", "coincide", "0", "coincide");
        row("010=180", "difiere", "-9", "le pagaron $ 9 de menos");
        row("010=201,34", "difiere", "12,34", "le pagaron $ 12,34 de más");
        row("504=7,32", "coincide", "0,0012", "coincide");
        row("504=7,31", "coincide", "-0,0088", "coincide");
        row("504=7,30", "difiere", "-0,0188", "le descontaron $ 0,0188 de menos");
        row("504=19,66", "difiere", "12,3412", "le descontaron $ 12,3412 de más");
        row("thaberes=1.961,42", "coincide", "0,0093", "coincide");
        row("thaberes=1.949,07", "difiere", "-12,3407", "le pagaron $ 12,3407 de menos");
        row("tdescuentos=381,55", "coincide", "-0,0078", "coincide");
        row("tdescuentos=393,9", "difiere", "12,3422", "le descontaron $ 12,3422 de más");
        row("liquido=1.579,85", "coincide", "-0,0029", "coincide");
        row("liquido=1.600", "difiere", "20,1471", "le pagaron $ 20,1471 de más");
        row("010=", "sin dato", "0", "sin dato");
        row("010=189.5", "rechazado", "0",
            "«010 Antigüedad»: escriba el importe como figura en su recibo, por ejemplo 1.914,73.");
        row("1010=1,2,3", "rechazado", "0",
            "«1010 Sal fam Cony»: escriba el importe como figura en su recibo, por ejemplo 1.914,73.");
        row("liquido=-5", "rechazado", "0",
            "«Liquido a pagar»: escriba el importe como figura en su recibo, por ejemplo 1.914,73.");
    }
    void verdicts()
    {
        QFETCH(QString, box);
        QFETCH(QString, outcome);
        QFETCH(QString, difference);
        QFETCH(QString, words);
        const Comparison comparison = compare(exampleSlip(), typed({box}));
        const QString name = box.section('=', 0, 0);
        const AmountCheck &check = name == "thaberes"      ? comparison.thaberes
                                   : name == "tdescuentos" ? comparison.tdescuentos
                                   : name == "liquido"     ? comparison.liquido
                                                           : comparison.rows[typed({box}).rowAmounts.size() - 1];
        QCOMPARE(outcomeName(check.outcome), outcome);
        QCOMPARE(qtext(moneyText(check.difference, ",")), difference);
        QCOMPARE(textOf(check), words);
    }

    void addedCodes_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QString>("codeProblem");
        QTest::addColumn<QString>("words");

        const auto row = [](const char *name, const char *box, const char *outcome, const char *codeProblem,
                            const char *words) { QTest::newRow(name) << box << outcome << codeProblem << words; };
        row("not on the slip", "+ 123 |Bono| $ 500|haber", "no calculado", "", "no calculado por recibo");
        row("on the slip, without its zero", "+10|Antig.|5|haber", "rechazado",
            "«10»: ese código ya figura en el recibo, en la fila 010 Antigüedad; escriba el importe allí.", "");
        row("no code", "+|Bono|5|haber", "rechazado",
            "«Bono»: escriba el código como figura en su recibo, por ejemplo 123.", "");
        row("nothing but the amount", "+||5|descuento", "rechazado",
            "«Código agregado»: escriba el código como figura en su recibo, por ejemplo 123.", "");
        row("letters in the code, amount refused too", "+12a||5 pesos|haber", "rechazado",
            "«12a»: escriba el código como figura en su recibo, por ejemplo 123.",
            "«12a»: escriba el importe como figura en su recibo, por ejemplo 1.914,73.");
        row("no amount", "+123|Bono||haber", "sin dato", "", "sin dato");
        row("amount refused", "+123|Bono|-5|haber", "rechazado", "",
            "«123 Bono»: escriba el importe como figura en su recibo, por ejemplo 1.914,73.");
        row("left empty", "+ || |haber", "sin dato", "", "");
    }
    void addedCodes()
    {
        QFETCH(QString, box);
        QFETCH(QString, outcome);
        QFETCH(QString, codeProblem);
        QFETCH(QString, words);
        const AddedCheck check = compare(exampleSlip(), typed({box})).added.at(0);
        QCOMPARE(outcomeName(check.amount.outcome), outcome);
        QCOMPARE(qtext(check.codeProblem), codeProblem);
        QCOMPARE(textOf(check.amount), words);
    }

    void summary_data()
    {
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("counts"); // rows compared, rows that differ, codes not calculated
        QTest::addColumn<QString>("balance"); // the teacher's side: above 0 in their favour
        QTest::addColumn<int>("side");
        QTest::addColumn<QStringList>("lines");

        const int even = int(Side::Even), favour = int(Side::InFavour), against = int(Side::Against);
        QTest::newRow("nothing typed") << QStringList() << "0 0 0" << "0" << even
                                       << QStringList{"No se comparó ninguna fila todavía."};
        QTest::newRow("a paper slip at centavos")
            << QStringList{"001=$630,00", "010=189",        "078=126",           "006=195",           "014=13,65",
                           "084=110",     "113=100",        "188=66,15",         "172=366,61",        "1001=150",
                           "1010=15",     "505=36,59",      "508=36,59",         "502=195,17",        "504=7,32",
                           "332=26,60",   "512=54,89",      "510=24,40",         "thaberes=1.961,41", "tdescuentos=381,56",
                           "liquido=1.579,85"}
            << "18 0 0" << "0" << even
            << QStringList{"Se compararon 18 filas: todas coinciden.", "Liquido a pagar: coincide."};
        QTest::newRow("three rows, one paid less")
            << QStringList{"001=630", "010=180", "505=36,59"} << "3 1 0" << "-9" << against
            << QStringList{"Se compararon 3 filas: 1 difiere.", "En total, las diferencias suman $ 9 en su contra."};
        QTest::newRow("paid more, taken more, net pay less")
            << QStringList{"010=200", "502=200", "liquido=1.575"} << "2 2 0" << "6,168" << favour
            << QStringList{"Se compararon 2 filas: 2 difieren.", "Liquido a pagar: le pagaron $ 4,8529 de menos.",
                           "En total, las diferencias suman $ 6,168 a su favor."};
        QTest::newRow("differences that cancel out")
            << QStringList{"010=194", "505=41,594"} << "2 2 0" << "0" << even
            << QStringList{"Se compararon 2 filas: 2 difieren.", "En total, las diferencias se compensan."};
        QTest::newRow("one row") << QStringList{"172=366,61"} << "1 0 0" << "0" << even
                                 << QStringList{"Se comparó 1 fila: coincide."};
        QTest::newRow("one row taken less, one refused")
            << QStringList{"510=20", "010=abc"} << "1 1 0" << "4,396" << favour
            << QStringList{"Se comparó 1 fila: difiere.", "En total, las diferencias suman $ 4,396 a su favor."};
        QTest::newRow("codes not calculated")
            << QStringList{"+123|Bono|500|haber", "+456|Préstamo|$ 20,5|descuento", "+010|Antig.|5|haber",
                           "+77||abc|haber", "+|||haber", "+99||1.000|descuento"}
            << "0 0 3" << "0" << even
            << QStringList{"No se comparó ninguna fila todavía.",
                           "3 códigos no calculados por recibo: 123 Bono, haber de $ 500; 456 Préstamo, descuento "
                           "de $ 20,5; 99, descuento de $ 1000."};
    }
    void summary()
    {
        QFETCH(QStringList, boxes);
        QFETCH(QString, counts);
        QFETCH(QString, balance);
        QFETCH(int, side);
        QFETCH(QStringList, lines);
        const ComparisonSummary summary = compare(exampleSlip(), typed(boxes)).summary;
        QCOMPARE(QString("%1 %2 %3").arg(summary.compared).arg(summary.differing).arg(summary.notCalculated), counts);
        QCOMPARE(qtext(moneyText(summary.balance, ",")), balance);
        QCOMPARE(int(summary.side), side);
        QStringList written;
        for (const std::string &line : summary.lines)
            written << qtext(line);
        QCOMPARE(written, lines);
    }

    void text()
    {
        const Slip &slip = exampleSlip();
        const Comparison comparison =
            compare(slip, typed({"001=630", "010=180", "504=7 pesos", "thaberes=1.961,41", "+123|Bono\tnavidad|500|haber",
                                 "+12a||5|descuento"}));
        // The title, 3 summary lines, the header, 18 rows, 3 totals, 2 added codes.
        const QStringList lines = qtext(comparisonText(slip, comparison)).split('\n');
        QCOMPARE(lines.size(), 29);
        QCOMPARE(lines.mid(0, 7), (QStringList{"Comparación con su recibo", "Se compararon 2 filas: 1 difiere.",
                                               "En total, las diferencias suman $ 9 en su contra.",
                                               "1 código no calculado por recibo: 123 Bono navidad, haber de $ 500.",
                                               "Código\tConcepto\tCalculado\tEn su recibo\tResultado",
                                               "001\tAsign. de la categoría\t$630\t$ 630\tcoincide",
                                               "010\tAntigüedad\t$ 189\t$ 180\tle pagaron $ 9 de menos"}));
        QCOMPARE(lines[13], "172\tAdic para mínimo\t$ 366,6107\t\tsin dato");
        QCOMPARE(lines[19], "504\tLey 4035\t$ 7,3188\t7 pesos\timporte no válido");
        QCOMPARE(lines.mid(23), (QStringList{"\tTotal Haberes\t$ 1961,4107\t$ 1961,41\tcoincide",
                                             "\tTotal descuentos\t$ 381,5578\t\tsin dato",
                                             "\tLiquido a pagar\t$ 1579,8529\t\tsin dato",
                                             "123\tBono navidad\t\t$ 500\tno calculado por recibo (haber)",
                                             "12a\t\t\t$ 5\tcódigo no válido", ""}));
    }
};

QTEST_GUILESS_MAIN(TestCompare)
#include "test_compare.moc"
