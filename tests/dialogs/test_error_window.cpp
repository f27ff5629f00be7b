// "Calcular" without a category: the selection error window.

#include <QComboBox>
#include <QPushButton>

#include "support/gui.h"

using namespace recibo;
using recibo::test::child;

class ErrorWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { test::startFresh(); }

    void calcularWithoutCategoryShowsTheErrorWindow()
    {
        Desk &desk = currentDesk();
        test::click(child<QPushButton>(desk.ingreso(), "Command1"));
        QVERIFY(desk.hasErrorWindow());
        ErrorWindow &error = desk.errorWindow();
        QVERIFY(error.isVisible());
        QVERIFY(!error.isModal());
        QCOMPARE(error.objectName(), QStringLiteral("error"));
        QCOMPARE(error.windowTitle(), QStringLiteral("Error de selección"));
        QCOMPARE(error.size(), QSize(341, 101));
        QCOMPARE(error.palette().color(QPalette::Window), QColor(192, 0, 0));
        QCOMPARE(test::caption(child(error, "Label1")), QStringLiteral("No seleccionaste cargo ni horas"));
        QCOMPARE(child(error, "Label1")->palette().color(QPalette::WindowText), QColor(0, 255, 255));
        auto *aceptar = child<QPushButton>(error, "Aceptar");
        QCOMPARE(aceptar->text(), QStringLiteral("Aceptar"));
        QCOMPARE(aceptar->palette().color(QPalette::Button), QColor(255, 0, 0));
        QCOMPARE(aceptar->geometry(), QRect(112, 48, 120, 36));
        // The slip is neither created nor shown.
        QVERIFY(!desk.hasHaberes());
        // The entry window stays usable.
        QVERIFY(desk.ingreso().isEnabled() && desk.ingreso().isVisible());
    }

    void twiceLeavesOneWindow()
    {
        Desk &desk = currentDesk();
        auto *calcular = child<QPushButton>(desk.ingreso(), "Command1");
        test::click(calcular);
        test::click(calcular);
        int shown = 0;
        for (QWidget *window : QApplication::topLevelWidgets())
            if (window->objectName() == "error" && window->isVisible())
                ++shown;
        QCOMPARE(shown, 1);
    }

    void dismissed_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Aceptar") << 0;
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Enter del teclado numérico") << int(Qt::Key_Enter);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
        QTest::newRow("cierre de la ventana") << 1;
    }

    void dismissed()
    {
        QFETCH(int, how);
        Desk &desk = currentDesk();
        test::click(child<QPushButton>(desk.ingreso(), "Command1"));
        ErrorWindow &error = desk.errorWindow();
        QVERIFY(error.isVisible());
        if (how == 0)
            test::click(error.aceptar());
        else if (how == 1)
            error.close();
        else
            QTest::keyClick(error.aceptar(), Qt::Key(how));
        QVERIFY(!error.isVisible());
        // The same window comes back on the next error.
        ErrorWindow *first = &error;
        test::click(child<QPushButton>(desk.ingreso(), "Command1"));
        QCOMPARE(&desk.errorWindow(), first);
        QVERIFY(first->isVisible());
    }

    void enterOnTheEntryWindowPressesCalcular()
    {
        Desk &desk = currentDesk();
        auto *name = child<QLineEdit>(desk.ingreso(), "docente");
        test::type(name, QStringLiteral("Pérez, Ana"));
        QTest::keyClick(name, Qt::Key_Return);
        QVERIFY(desk.hasErrorWindow() && desk.errorWindow().isVisible());
        QCOMPARE(name->text(), QStringLiteral("Pérez, Ana"));
    }

    // Enter from the zone's field or a toggle button still means "Calcular".
    void enterFromOtherControls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("zona") << "zona";
        QTest::newRow("Option4") << "Option4";
        QTest::newRow("Iosper") << "Iosper";
    }

    void enterFromOtherControls()
    {
        QFETCH(QString, name);
        Desk &desk = currentDesk();
        QWidget *control = child(desk.ingreso(), name);
        if (auto *zona = qobject_cast<QComboBox *>(control))
            control = zona->lineEdit();
        control->setFocus();
        QTest::keyClick(control, Qt::Key_Return);
        QVERIFY(desk.hasErrorWindow() && desk.errorWindow().isVisible());
        if (auto *zona = child<QComboBox>(desk.ingreso(), "zona"))
            QCOMPARE(zona->count(), 5);
    }
};

QTEST_MAIN(ErrorWindowTest)
#include "test_error_window.moc"
