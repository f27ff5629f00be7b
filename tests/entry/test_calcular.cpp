// "Calcular" from the windows, as a user works: the complete slip of a cargo
// shown row by row, and input the calculation cannot use refused with a
// message that names the field, the slip left as it was.

#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>

#include "forms/line.h"
#include "support/gui.h"

using namespace recibo;
using recibo::test::child;

namespace {

Ingreso &entry() { return currentDesk().ingreso(); }
Haberes &slip() { return currentDesk().haberes(); }
QLineEdit *box(QWidget &window, const char *name) { return child<QLineEdit>(window, name); }
void press(QWidget &window, const char *name) { test::click(child<QAbstractButton>(window, name)); }

// A cargo chosen by its code in the selection dialog, then "Listo".
void chooseCargo(const QString &code)
{
    press(entry(), "cargo");
    Advertencia &dialog = currentDesk().advertencia();
    test::type(box(dialog, "codcargo"), code);
    press(dialog, "Command1");
}

QWidget *at(const char *array, int i) { return child(slip(), QStringLiteral("%1(%2)").arg(array).arg(i)); }

QMessageBox *message() { return entry().inputMessage(); }

} // namespace

class Calcular : public QObject {
    Q_OBJECT

private slots:
    void init() { test::startFresh(); }

    // 1000 basic points and nothing else (the dialog's boxes overtyped), 30 %
    // seniority, zone "Alejada radio urbano", incentive, two children, spouse
    // and every deduction.
    void theCompleteSlipOfACargo()
    {
        test::type(box(entry(), "docente"), QStringLiteral("Pérez, Ana"));
        press(entry(), "cargo");
        Advertencia &dialog = currentDesk().advertencia();
        test::type(box(dialog, "codcargo"), QStringLiteral("609"));
        box(dialog, "punbas")->setText(QStringLiteral("1000")); // read-only for the user
        test::type(box(dialog, "compbas"), QStringLiteral("0"));
        press(dialog, "Command1");
        press(entry(), "Option4");
        auto *zona = child<QComboBox>(entry(), "zona");
        zona->setFocus();
        zona->lineEdit()->selectAll();
        test::type(zona->lineEdit(), QStringLiteral("Alejada radio urbano"));
        press(entry(), "hijos");
        test::type(box(entry(), "cantidadhijos"), QStringLiteral("2"));
        press(entry(), "conyuge");
        for (const char *name : {"Iosper", "Osplad", "VESNAR", "APORTEJUB", "cajacomp", "Ley4035", "Seguro3011"})
            press(entry(), name);
        press(entry(), "Command1");

        QVERIFY(slip().isVisible());
        QVERIFY(!message() || !message()->isVisible());
        struct Row {
            const char *code, *quantity, *description, *amount;
            bool deduction;
        };
        const Row rows[] = {
            {"001", "1", "Asign. de la categoría", "$630", false},
            {"010", "30 %", "Antigüedad", "$ 189", false},
            {"078", "20 %", "As. por zona", "$ 126", false},
            {"006", "", "Adic. Art 2 y 3 Dcrto 5863/05", "$ 195", false},
            {"014", "0,7", "Product Dcrto 5863/05", "$ 13,65", false},
            {"084", "", "Incentivo de Nación", "$ 110", false},
            {"113", "", "Negro de Nación", "$ 100", false},
            {"188", "7.0", "Plus Productividad", "$ 66,15", false},
            {"172", "", "Adic para mínimo", "$ 366,6107", false},
            {"1001", "2", "Sal fam hijo", "$ 150", false},
            {"1010", nullptr, "Sal fam Cony", "$ 15", false},
            {"505", "3 %", "IOSPER", "$ 36,594", true},
            {"508", "3 %", "OSPLAD", "$ 36,594", true},
            {"502", "16 %", "Aporte Jub.", "$ 195,168", true},
            {"504", "0,6 %", "Ley 4035", "$ 7,3188", true},
            {"332", "2 %", "VESNAR", "$ 26,596", true},
            {"512", "4,5 %", "Caja Comp.", "$ 54,891", true},
            {"510", "2 %", "Seguro 3011", "$ 24,396", true},
        };
        const Haberes &h = slip();
        for (int i = 0; i < 18; ++i) {
            const Row &row = rows[i];
            const QByteArray where = QByteArray("row ") + QByteArray::number(i) + " " + row.code;
            QVERIFY2(at("cod", i)->isVisibleTo(&h), where);
            QCOMPARE(test::caption(at("cod", i)), QString::fromUtf8(row.code));
            QCOMPARE(at("Label10", i)->isVisibleTo(&h), row.quantity != nullptr);
            if (row.quantity)
                QCOMPARE(test::caption(at("Label10", i)), QString::fromUtf8(row.quantity));
            QCOMPARE(test::caption(at("Label19", i)), QString::fromUtf8(row.description));
            QWidget *amount = at("Label1", row.deduction ? i + 27 : i);
            QVERIFY2(amount->isVisibleTo(&h), where);
            QVERIFY2(!at("Label1", row.deduction ? i : i + 27)->isVisibleTo(&h), where);
            QCOMPARE(test::caption(amount), QString::fromUtf8(row.amount));
            QVERIFY2(!amount->toolTip().isEmpty(), where); // says how it was computed
        }
        for (int i = 18; i < 27; ++i)
            QVERIFY(!at("cod", i)->isVisibleTo(&h));
        QCOMPARE(test::caption(child(h, "thaberes")), QStringLiteral("$ 1961,4107"));
        QCOMPARE(test::caption(child(h, "tdescuentos")), QStringLiteral("$ 381,5578"));
        QCOMPARE(test::caption(child(h, "liquido")), QStringLiteral("$ 1579,8529"));
        QCOMPARE(child<forms::Line>(h, "Line6")->y1(), 6720.0);
        QCOMPARE(child(h, "thaberes")->y(), qRound(6920 / 15.0));
        QCOMPARE(child(h, "Label16")->y(), qRound(7320 / 15.0));
        QCOMPARE(child(h, "liquido")->y(), qRound(7720 / 15.0));
        QCOMPARE(child<forms::Line>(h, "Line17")->y2(), 8020.0);
        QCOMPARE(child<forms::Line>(h, "Line1")->y2(), 8020.0);

        // The head of the slip: the catalogue's code and points, the name.
        QCOMPARE(test::caption(child(h, "Label11")), QStringLiteral("Código del cargo"));
        QCOMPARE(test::caption(child(h, "numcargo")), QStringLiteral("609"));
        QCOMPARE(test::caption(child(h, "punbasicos")), QStringLiteral("2000"));
        QCOMPARE(test::caption(child(h, "carsel")), QStringLiteral("Director 1era Categoría"));
        QCOMPARE(test::caption(child(h, "docente")), QStringLiteral("Pérez, Ana"));
        // Explanations come from the same figures.
        QCOMPARE(at("Label1", 0)->toolTip(), QStringLiteral("1000 puntos × 0,63 = 630"));
        QVERIFY2(at("Label1", 11 + 27)->toolTip().contains(QStringLiteral("1219,8")),
                 qPrintable(at("Label1", 38)->toolTip()));
    }

    void hoursOnTheSecondaryPath()
    {
        press(entry(), "horasmedio");
        test::type(box(entry(), "numerohorasmed"), QStringLiteral("7,5"));
        test::type(box(entry(), "numhorascod06"), QStringLiteral("35"));
        press(entry(), "Command1");
        QCOMPARE(test::caption(at("Label10", 0)), QStringLiteral("7,5"));
        QCOMPARE(test::caption(at("Label1", 0)), QStringLiteral("$305,7075"));
        QCOMPARE(test::caption(at("cod", 1)), QStringLiteral("006"));
        QCOMPARE(test::caption(at("Label10", 1)), QStringLiteral("30"));
        QCOMPARE(test::caption(at("Label1", 1)), QStringLiteral("$ 282"));
        QCOMPARE(test::caption(child(slip(), "Label11")), QStringLiteral("Cantidad de horas"));
        QCOMPARE(test::caption(child(slip(), "carsel")), QStringLiteral("Horas de nivel medio"));
        QVERIFY(!child(slip(), "compbas")->isVisibleTo(&slip()));
    }

    // Bad input: a message that names the field, the focus on it, the slip
    // neither cleared nor shown again, and what was typed left as it was.
    void refused_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("check");  // a box to check first, or empty
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("named");  // the caption the message must name
        QTest::newRow("hours with a point") << "horasmedio" << "" << "numerohorasmed" << "7.5"
                                            << "Número de horas N. Medio";
        QTest::newRow("hours empty") << "horassup" << "" << "numerohorassup" << "" << "Número de horas N. Superior";
        QTest::newRow("hours negative") << "horasmedio" << "" << "numhorascod06" << "-2"
                                        << "Número de horas con código 06";
        QTest::newRow("incentive hours letters") << "horassup" << "" << "numhorasincen" << "doce"
                                                 << "Número de horas con incentivo";
        QTest::newRow("absence days") << "horasmedio" << "inasist" << "dinasist" << "2 días" << "Inasistencias";
        QTest::newRow("kilometres empty") << "horasmedio" << "transporte" << "cantkm" << ""
                                          << "cantidad de km semanales";
        QTest::newRow("children above 255") << "horasmedio" << "hijos" << "cantidadhijos" << "300" << "Hijos";
        QTest::newRow("children with disability above 81") << "horassup" << "hijosdisc" << "cantidadhijosdisc"
                                                           << "82" << "Hijos Diferenc";
        QTest::newRow("thousands separator") << "horasmedio" << "" << "numhorascod113" << "1.000"
                                             << "Número de horas con código 113";
    }

    void refused()
    {
        QFETCH(QString, category);
        QFETCH(QString, check);
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, named);
        // A good slip first.
        press(entry(), "horasmedio");
        test::type(box(entry(), "numerohorasmed"), QStringLiteral("10"));
        press(entry(), "Command1");
        QCOMPARE(test::caption(at("Label1", 0)), QStringLiteral("$407,61"));
        const QString when = test::caption(child(slip(), "Text10"));

        press(entry(), qPrintable(category));
        if (!check.isEmpty())
            press(entry(), qPrintable(check));
        if (category == "horassup" && field != "numerohorassup")
            test::type(box(entry(), "numerohorassup"), QStringLiteral("4"));
        test::type(box(entry(), qPrintable(field)), typed);
        press(entry(), "Command1");

        QVERIFY(message() && message()->isVisible());
        QVERIFY(!message()->isModal());
        QVERIFY2(message()->text().contains(named), qPrintable(message()->text()));
        QCOMPARE(entry().focusWidget(), child(entry(), field));
        QCOMPARE(box(entry(), qPrintable(field))->text(), typed);
        // The slip still shows the earlier calculation.
        QCOMPARE(test::caption(at("Label1", 0)), QStringLiteral("$407,61"));
        QCOMPARE(test::caption(at("Label10", 0)), QStringLiteral("10"));
        QCOMPARE(test::caption(child(slip(), "Text10")), when);

        // Once the field is mended the message goes and the slip is new.
        test::type(box(entry(), qPrintable(field)), QStringLiteral("1"));
        press(entry(), "Command1");
        QVERIFY(!message()->isVisible());
        QVERIFY(slip().isVisible());
    }

    void aDecimalCommaIsExplained()
    {
        press(entry(), "horasmedio");
        test::type(box(entry(), "numerohorasmed"), QStringLiteral("7.5"));
        press(entry(), "Command1");
        QVERIFY(message()->text().contains(QStringLiteral("coma")));
        QVERIFY(!currentDesk().hasHaberes() || !slip().isVisible());
    }

    void zoneTextThatIsNoZone()
    {
        press(entry(), "horasmedio");
        auto *zona = child<QComboBox>(entry(), "zona");
        zona->setFocus();
        zona->lineEdit()->selectAll();
        test::type(zona->lineEdit(), QStringLiteral("Lejana"));
        press(entry(), "Command1");
        QVERIFY(message() && message()->isVisible());
        QVERIFY(message()->text().contains(QStringLiteral("Lejana")));
        QCOMPARE(zona->currentText(), QStringLiteral("Lejana"));
        QCOMPARE(zona->count(), 5); // nothing added to the list
    }

    void cargoWithdrawnAskForACargo()
    {
        chooseCargo(QStringLiteral("609"));
        press(entry(), "cargo");
        Advertencia &dialog = currentDesk().advertencia();
        press(dialog, "Command2"); // Salir sin datos
        press(entry(), "cargo");
        press(dialog, "Command1"); // Listo with the old code and no row
        QVERIFY(child<QAbstractButton>(entry(), "cargo")->isChecked());
        press(entry(), "Command1");
        QVERIFY(message() && message()->isVisible());
        QVERIFY2(message()->text().contains(QStringLiteral("cargo")), qPrintable(message()->text()));
        QVERIFY(!currentDesk().hasHaberes() || !slip().isVisible());
    }

    void aSecondCalculationOnAnotherPathLeavesNoTrace()
    {
        chooseCargo(QStringLiteral("808")); // full day points: rows 002 and 052
        press(entry(), "Option12");
        press(entry(), "transporte");
        test::type(box(entry(), "cantkm"), QStringLiteral("300"));
        press(entry(), "Iosper");
        press(entry(), "Command1");
        QCOMPARE(test::caption(at("cod", 2)), QStringLiteral("052"));
        QCOMPARE(test::caption(at("Label19", 2)), QStringLiteral("Jornada completa"));

        press(slip(), "Volver");
        press(entry(), "horassup");
        press(entry(), "transporte"); // off again
        press(entry(), "Iosper");
        press(entry(), "Option1");
        press(entry(), "Command1");
        QStringList codes;
        for (int i = 0; i < 27; ++i)
            if (at("cod", i)->isVisibleTo(&slip()))
                codes << test::caption(at("cod", i));
        // No hours at all: no row 084, and nothing of the cargo, the transport
        // or the deduction of the first slip.
        QCOMPARE(codes, QStringList({"001", "006", "014", "113", "188"}));
        QCOMPARE(test::caption(at("Label1", 0)), QStringLiteral("$0"));
        QCOMPARE(test::caption(child(slip(), "thaberes")), QStringLiteral("$ 0"));
        QCOMPARE(test::caption(child(slip(), "tdescuentos")), QStringLiteral("$ 0"));
    }
};

QTEST_MAIN(Calcular)
#include "test_calcular.moc"
