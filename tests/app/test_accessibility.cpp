// Keyboard and screen-reader use of the entry window: Tab walks the controls in
// the order of the layout, and every input is announced by its caption.

#include <QComboBox>

#include "support/gui.h"

using namespace recibo;
using recibo::test::child;

class Accessibility : public QObject {
    Q_OBJECT

private slots:
    void init() { test::startFresh(); }

    void tabFollowsTheLayout()
    {
        Ingreso &ingreso = currentDesk().ingreso();
        QVERIFY(QTest::qWaitForWindowActive(&ingreso));
        // An option group is one stop, as radio buttons are; the arrow keys
        // move inside it.
        const QStringList expected = {"docente",  "cargo",     "opincentivo", "Text1",    "transporte", "zona",
                                      "inasist",  "hijos",     "hijosdisc",   "conyuge",  "Iosper",     "Osplad",
                                      "VESNAR",   "APORTEJUB", "cajacomp",    "Ley4035",  "Seguro3011", "Option1",
                                      "porcantig", "Command1", "Command2",    "docente"};
        QStringList walked = {QApplication::focusWidget()->objectName()};
        for (int i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget *focus = QApplication::focusWidget();
            // The zone combo's own edit field stands for the combo.
            if (focus && !focus->objectName().size() && qobject_cast<QComboBox *>(focus->parentWidget()))
                focus = focus->parentWidget();
            walked << (focus ? focus->objectName() : QStringLiteral("(nada)"));
        }
        QCOMPARE(walked, expected);
    }

    void arrowsMoveInsideAnOptionGroup()
    {
        Ingreso &ingreso = currentDesk().ingreso();
        QVERIFY(QTest::qWaitForWindowActive(&ingreso));
        child(ingreso, "Option1")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Option2"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Option3"));
        child(ingreso, "cargo")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("horasmedio"));
    }

    void inputsAreAnnouncedByTheirCaptions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("docente") << "docente" << "Apellido y nombre";
        QTest::newRow("numerohorasmed") << "numerohorasmed" << "Número de horas N. Medio";
        QTest::newRow("numerohorassup") << "numerohorassup" << "Número de horas N. Superior";
        QTest::newRow("numhorascod06") << "numhorascod06" << "Número de horas con código 06";
        QTest::newRow("numhorasincen") << "numhorasincen" << "Número de horas con incentivo";
        QTest::newRow("numhorascod113") << "numhorascod113" << "Número de horas con código 113";
        QTest::newRow("cantkm") << "cantkm" << "cantidad de km semanales";
        QTest::newRow("zona") << "zona" << "Ubicación Escuela (Zona)";
        QTest::newRow("porcantig") << "porcantig" << "Porcentaje de Antigüedad";
        QTest::newRow("cargo") << "cargo" << "Cargo";
        QTest::newRow("Iosper") << "Iosper" << "IOSPER";
        QTest::newRow("Command1") << "Command1" << "Calcular";
    }

    void inputsAreAnnouncedByTheirCaptions()
    {
        QFETCH(QString, name);
        QFETCH(QString, spoken);
        QCOMPARE(child(currentDesk().ingreso(), name)->accessibleName(), spoken);
    }

    void everyInputHasAName()
    {
        for (auto *box : currentDesk().ingreso().findChildren<QLineEdit *>()) {
            if (box->objectName().isEmpty())
                continue; // the combo's own edit field
            QVERIFY2(!box->accessibleName().isEmpty(), qPrintable(box->objectName()));
        }
    }
};

QTEST_MAIN(Accessibility)
#include "test_accessibility.moc"
