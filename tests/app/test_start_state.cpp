// The program as it starts: the entry window with every control in its start
// state, and the place of every control of the windows built from tables.

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>

#include "entry/ingreso_layout.h"
#include "forms/line.h"
#include "slip/haberes_layout.h"
#include "support/gui.h"

using namespace recibo;
using recibo::test::child;

class StartState : public QObject {
    Q_OBJECT

private slots:
    void init() { test::startFresh(); }

    void entryWindow()
    {
        QWidget *ingreso = &currentDesk().ingreso();
        QCOMPARE(ingreso->objectName(), QStringLiteral("ingreso"));
        QCOMPARE(ingreso->windowTitle(), QStringLiteral("Ingreso de datos"));
        QVERIFY(ingreso->isVisible());
        QCOMPARE(ingreso->size(), QSize(792, 573));
        QCOMPARE(ingreso->palette().color(QPalette::Window), QColor(0, 64, 64));
        QVERIFY(!currentDesk().hasAdvertencia());
        QVERIFY(!currentDesk().hasHaberes());
        QVERIFY(!currentDesk().hasErrorWindow());
    }

    void focusStartsInTheName()
    {
        Ingreso &ingreso = currentDesk().ingreso();
        QVERIFY(QTest::qWaitForWindowActive(&ingreso));
        QCOMPARE(ingreso.focusWidget(), child(ingreso, "docente"));
    }

    void controlStartState_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tooltip");
        QTest::addColumn<int>("checked"); // -1: not checkable
        const auto row = [](const char *name, bool visible, const char *text, const char *tooltip, int checked) {
            QTest::newRow(name) << QString::fromUtf8(name) << visible << QString::fromUtf8(text)
                                << QString::fromUtf8(tooltip) << checked;
        };
        row("Label5", true, "Apellido y nombre:", "", -1);
        row("docente", true, "", "", -1);
        row("Label10", true, "Desde Mayo de 2.008", "", -1);
        row("cargo", true, "Cargo", "Seleccione para evaluar un cargo", 0);
        row("horasmedio", true, "Hs. N. Medio", "Seleccione para evaluar horas de nivel medio", 0);
        row("horassup", true, "Hs. N. Superior", "Seleccione para evaluar horas de nivel superior", 0);
        row("cargoselect", false, "", "", -1);
        row("codcartit", false, "Código del cargo", "", -1);
        row("codcarval", false, "", "", -1);
        row("puncartit", false, "Puntaje del cargo", "", -1);
        row("puncompbastit", false, "Comp de Básico", "", -1);
        row("punproljortit", false, "Puntos prol jorn", "", -1);
        row("punjorcomtit", false, "Puntos Jor comp", "", -1);
        row("puntardiftit", false, "Puntos tarea difer", "", -1);
        row("puntardifval", false, "", "", -1);
        row("Label3", false, "Número de horas N. Medio", "", -1);
        row("numerohorasmed", false, "0", "Ingrese la cantidad de horas", -1);
        row("Label4", false, "Número de horas N. Superior", "", -1);
        row("numerohorassup", false, "0", "Ingrese la cantidad de horas", -1);
        row("Label2", false, "Número de horas con código 06", "", -1);
        row("numhorascod06", false, "0", "Ingrese la cantidad de horas", -1);
        row("Label7", false, "Número de horas con incentivo", "", -1);
        row("numhorasincen", false, "0", "Ingrese la cantidad de horas", -1);
        row("Label6", false, "Número de horas con código 113", "", -1);
        row("numhorascod113", false, "0", "Ingrese la cantidad de horas", -1);
        row("opincentivo", true, "Incentivo", "Deshabilite si no se cobra", 1);
        row("Text1", true, "Si", "¿Cuántos Km semanales?", -1);
        row("transporte", true, "Transporte", "", 0);
        row("cantkm", false, "0", "¿Cuántos Km semanales?", -1);
        row("mensajekm", false, "cantidad de km semanales", "", -1);
        row("inasist", true, "Inasistencias Just", "Haga Click si tiene inasistencias", 0);
        row("dinasist", false, "0", "Cantidad de días.", -1);
        row("hijos", true, "Hijos", "", 0);
        row("cantidadhijos", false, "0", "¿Cuántos Hijos?", -1);
        row("hijosdisc", true, "Hijos Diferenc", "", 0);
        row("cantidadhijosdisc", false, "0", "¿Cuántos Hijos?", -1);
        row("conyuge", true, "Conyuge", "", 0);
        row("Iosper", true, "IOSPER", "", 0);
        row("Osplad", true, "OSPLAD", "", 0);
        row("VESNAR", true, "VESNAR", "", 0);
        row("APORTEJUB", true, "Aporte jubilatorio", "", 0);
        row("cajacomp", true, "Caja compensadora", "", 0);
        row("Ley4035", true, "Ley 4035", "", 0);
        row("Seguro3011", true, "Seguro (3011)", "", 0);
        row("Option1", true, "Menos de 1 año", "0 %", 0);
        row("Option2", true, "Entre 1 y 2 años", "10 %", 0);
        row("Option3", true, "Entre 2 y 5 años", "15 %", 0);
        row("Option4", true, "Entre 5 y 7 años", "30 %", 0);
        row("Option5", true, "Entre 7 y 10 años", "40 %", 0);
        row("Option6", true, "Entre 10 y 12 años", "50 %", 0);
        row("Option7", true, "Entre 12 y 15 años", "60 %", 0);
        row("Option8", true, "Entre 15 y 17 años", "70 %", 0);
        row("Option9", true, "Entre 17 y 20 años", "80 %", 0);
        row("Option10", true, "Entre 20 y 22 años", "100 %", 0);
        row("Option11", true, "Entre 22 y 24 años", "110 %", 0);
        row("Option12", true, "Más de 24 años", "120 %", 0);
        row("porcantig", true, "0 %", "Porcentaje de Antigüedad", -1);
        row("Command1", true, "Calcular", "Genera el recibo", -1);
        row("Command2", true, "Salir", "", -1);
    }

    void controlStartState()
    {
        QFETCH(QString, name);
        QFETCH(bool, visible);
        QFETCH(QString, text);
        QFETCH(QString, tooltip);
        QFETCH(int, checked);
        Ingreso &ingreso = currentDesk().ingreso();
        QWidget *widget = child(ingreso, name);
        QVERIFY(widget);
        QCOMPARE(test::shown(widget), visible);
        QCOMPARE(test::caption(widget), text);
        QCOMPARE(widget->toolTip(), tooltip);
        if (checked >= 0) {
            auto *button = qobject_cast<QAbstractButton *>(widget);
            QVERIFY(button && button->isCheckable());
            QCOMPARE(button->isChecked(), checked == 1);
        }
    }

    void zoneShowsItsPromptWithNoItem()
    {
        auto *zona = child<QComboBox>(currentDesk().ingreso(), "zona");
        QCOMPARE(zona->currentIndex(), -1);
        QCOMPARE(zona->currentText(), QStringLiteral("Ubicación Escuela (Zona)"));
        const QStringList items = {"Común", "Alejada radio urbano", "Desfavorable", "Muy desfavorable",
                                   "Zona Inhóspita"};
        QCOMPARE(zona->count(), items.size());
        for (int i = 0; i < items.size(); ++i)
            QCOMPARE(zona->itemText(i), items[i]);
    }

    void categoryOptionsExcludeEachOther()
    {
        Ingreso &ingreso = currentDesk().ingreso();
        auto *cargo = child<QAbstractButton>(ingreso, "cargo");
        auto *medio = child<QAbstractButton>(ingreso, "horasmedio");
        medio->setChecked(true);
        cargo->setChecked(true);
        QVERIFY(!medio->isChecked());
        ingreso.deselectAllCategories();
        QVERIFY(!cargo->isChecked() && !medio->isChecked());
    }

    // Every control of the windows built from a table stands where its twips say.
    void geometry_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        const auto add = [](const char *window, std::span<const forms::Control> controls) {
            for (const forms::Control &c : controls) {
                if (c.kind == forms::Kind::Line)
                    continue;
                const QString name = QString::fromUtf8(c.name.data(), qsizetype(c.name.size()));
                QTest::addRow("%s.%s", window, qPrintable(name))
                    << QString::fromLatin1(window) << name << QRect(c.left, c.top, c.width, c.height);
            }
        };
        add("ingreso", ingresoControls());
        add("Haberes", haberesControls());
    }

    void geometry()
    {
        QFETCH(QString, window);
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        QWidget *form = window == "Haberes" ? static_cast<QWidget *>(&currentDesk().haberes())
                                            : static_cast<QWidget *>(&currentDesk().ingreso());
        QWidget *widget = child(*form, name);
        QVERIFY(widget);
        const QRect g = widget->geometry();
        const auto near = [](int px, int tw) { return qAbs(px * 15 - tw) <= 15; };
        QVERIFY2(near(g.x(), twips.x()) && near(g.y(), twips.y()) && near(g.width(), twips.width()) &&
                     near(g.height(), twips.height()),
                 qPrintable(QStringLiteral("%1 at %2,%3 %4x%5 px").arg(name).arg(g.x()).arg(g.y()).arg(g.width())
                                .arg(g.height())));
    }

    // A few places checked against the slip's own arithmetic, not the table.
    void slipRowPositions()
    {
        Haberes &haberes = currentDesk().haberes();
        for (int i = 0; i < 27; ++i) {
            QCOMPARE(child(haberes, QStringLiteral("cod(%1)").arg(i))->y(), (735 + 315 * i + 7) / 15);
            QCOMPARE(child<forms::Line>(haberes, QStringLiteral("Line8(%1)").arg(i))->y1(), 1050.0 + 315 * i);
        }
        QCOMPARE(child(haberes, "Label1(0)")->y(), 48);   // 720 twips
        QCOMPARE(child(haberes, "Label1(27)")->y(), 56);  // 105 twips below the first row
        QCOMPARE(child(haberes, "Label1(38)")->y(), 287); // 840 + 315 x 11 twips
        QCOMPARE(child(haberes, "Label1(39)")->y(), 301); // row 12 at its row top again
        QCOMPARE(child(haberes, "Label10(23)")->x(), 77); // 1155 twips
        const QRect earnings = child(haberes, "Label1(21)")->geometry();
        QCOMPARE(earnings.x() + earnings.width(), 350); // right edge at 5250 twips
        QCOMPARE(child<forms::Line>(haberes, "Line6")->lineWidth(), 3);
        QVERIFY(child<QGroupBox>(haberes, "sosten")->isAncestorOf(child(haberes, "Label1(53)")));
        QVERIFY(!child<QGroupBox>(haberes, "sosten")->isAncestorOf(child(haberes, "movedor")));
    }

    void slipStartState()
    {
        Haberes &haberes = currentDesk().haberes();
        QVERIFY(!haberes.isVisible());
        QCOMPARE(haberes.windowTitle(), QStringLiteral("Haberes"));
        for (int i = 0; i < 27; ++i) {
            QVERIFY(!child(haberes, QStringLiteral("cod(%1)").arg(i))->isVisibleTo(&haberes));
            QVERIFY(!child(haberes, QStringLiteral("Label19(%1)").arg(i))->isVisibleTo(&haberes));
            QVERIFY(child(haberes, QStringLiteral("Label10(%1)").arg(i))->isVisibleTo(&haberes));
        }
        for (const char *name : kWatermark) {
            QVERIFY(!child(haberes, name)->isVisibleTo(&haberes));
            QCOMPARE(test::caption(child(haberes, name)), QStringLiteral("VESNAR"));
        }
        QCOMPARE(test::caption(child(haberes, "Text12")), QStringLiteral("Poné tu comentario"));
        QCOMPARE(test::caption(child(haberes, "Text1")), QStringLiteral("Se imprime en blanco y negro"));
        QCOMPARE(child(haberes, "Imprimir")->toolTip(), QStringLiteral("Se imprime con fondo blanco."));
        QCOMPARE(child(haberes, "Volver")->toolTip(), QStringLiteral("Permite cambiar los datos ingresados"));
        QCOMPARE(child<QGroupBox>(haberes, "sosten")->title(), QStringLiteral("Recibo de haberes"));
    }

    void salirEndsTheProgram()
    {
        bool quit = false;
        Desk &desk = test::startFresh(&quit);
        test::click(child<QPushButton>(desk.ingreso(), "Command2"));
        QVERIFY(quit);
        QVERIFY(!desk.ingreso().isVisible());
    }

    void closingTheEntryWindowEndsTheProgram()
    {
        bool quit = false;
        Desk &desk = test::startFresh(&quit);
        desk.ingreso().close();
        QVERIFY(quit);
    }
};

QTEST_MAIN(StartState)
#include "test_start_state.moc"
