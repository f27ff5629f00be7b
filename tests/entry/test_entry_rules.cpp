// The entry window's rules, clicked and typed as a user does: what each
// category, optional item and seniority band shows, hides and resets.

#include <QCheckBox>
#include <QComboBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWheelEvent>

#include "support/gui.h"

using namespace recibo;
using recibo::test::child;
using recibo::test::click;
using recibo::test::shown;
using recibo::test::type;

namespace {

Ingreso &ingreso() { return currentDesk().ingreso(); }
QAbstractButton *button(const QString &name) { return child<QAbstractButton>(ingreso(), name); }
QLineEdit *box(const QString &name) { return child<QLineEdit>(ingreso(), name); }
bool visible(const QString &name) { return child(ingreso(), name)->isVisibleTo(&ingreso()); }

// Clicks a check box on its box, where a user aims (the family boxes carry
// the box at the right of the caption); other buttons in their middle.
void clickCheck(QAbstractButton *button)
{
    auto *check = qobject_cast<QCheckBox *>(button);
    if (!check) {
        click(button);
        return;
    }
    QStyleOptionButton option;
    option.initFrom(check);
    option.text = check->text();
    const QRect indicator = check->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, check);
    QTest::mouseClick(check, Qt::LeftButton, Qt::NoModifier, indicator.center());
}

// The hour inputs and their captions.
const QStringList kHourControls = {"numerohorasmed", "Label3", "numerohorassup", "Label4", "Label2",
                                   "numhorascod06",  "Label7", "numhorasincen",  "Label6", "numhorascod113"};
const QStringList kHourBoxes = {"numerohorasmed", "numerohorassup", "numhorascod06", "numhorasincen",
                                "numhorascod113"};

QStringList visibleHourControls()
{
    QStringList names;
    for (const QString &name : kHourControls)
        if (visible(name))
            names << name;
    return names;
}

QStringList hourTexts()
{
    QStringList texts;
    for (const QString &name : kHourBoxes)
        texts << box(name)->text();
    return texts;
}

bool chosenCargoDisplayVisible()
{
    for (const char *name : Ingreso::kChosenCargoDisplay)
        if (!visible(QString::fromLatin1(name)))
            return false;
    return true;
}

bool chosenCargoDisplayHidden()
{
    for (const char *name : Ingreso::kChosenCargoDisplay)
        if (visible(QString::fromLatin1(name)))
            return false;
    return true;
}

} // namespace

class EntryRulesTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        quitCalled_ = false;
        test::startFresh(&quitCalled_);
        QVERIFY(QTest::qWaitForWindowActive(&ingreso()));
    }

    void categoryShowsItsInputs_data();
    void categoryShowsItsInputs();
    void cargoAfterHoursResetsAllFive_data();
    void cargoAfterHoursResetsAllFive();
    void switchingHoursKeepsTheSharedBoxes();
    void hoursHideTheDialogAndTheChosenCargo();
    void hoursBeforeAnyDialogCreateItHidden();
    void cargoReopensADialogClosedThroughItsFrame();
    void optionSwitchedOffByProgramRunsNoRule();

    void optionalQuantity_data();
    void optionalQuantity();
    void transportAfter120();

    void incentiveMirroredAsSiNo();

    void seniority_data();
    void seniority();
    void seniority80Then100();

    void zoneTypedTextSelectsMatchingItem();
    void wheelOverAClosedCombo_data();
    void wheelOverAClosedCombo();

    void salirEndsTheProgram_data();
    void salirEndsTheProgram();

private:
    bool quitCalled_ = false;
};

// ---- categories ---------------------------------------------------------

void EntryRulesTest::categoryShowsItsInputs_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<bool>("dialogShown");

    const QStringList shared = {"Label2", "numhorascod06", "Label7", "numhorasincen", "Label6", "numhorascod113"};
    QTest::newRow("Cargo") << "cargo" << QStringList() << true;
    QTest::newRow("Hs. N. Medio") << "horasmedio" << QStringList{"numerohorasmed", "Label3"} + shared << false;
    QTest::newRow("Hs. N. Superior") << "horassup" << QStringList{"numerohorassup", "Label4"} + shared << false;
}

void EntryRulesTest::categoryShowsItsInputs()
{
    QFETCH(QString, category);
    QFETCH(QStringList, shown);
    QFETCH(bool, dialogShown);

    QCOMPARE(visibleHourControls(), QStringList());
    click(button(category));
    QVERIFY(button(category)->isChecked());
    QCOMPARE(visibleHourControls(), shown);
    QCOMPARE(hourTexts(), QStringList({"0", "0", "0", "0", "0"}));
    QCOMPARE(currentDesk().hasAdvertencia() && currentDesk().advertencia().isVisible(), dialogShown);
    QVERIFY(chosenCargoDisplayHidden());
    // The other two categories are off.
    for (const QString other : {"cargo", "horasmedio", "horassup"})
        QCOMPARE(button(other)->isChecked(), other == category);
}

void EntryRulesTest::cargoAfterHoursResetsAllFive_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("ownBox");
    QTest::newRow("after Hs. N. Medio") << "horasmedio" << "numerohorasmed";
    QTest::newRow("after Hs. N. Superior") << "horassup" << "numerohorassup";
}

void EntryRulesTest::cargoAfterHoursResetsAllFive()
{
    QFETCH(QString, category);
    QFETCH(QString, ownBox);

    click(button(category));
    type(box(ownBox), "10");
    type(box("numhorascod06"), "4");
    type(box("numhorasincen"), "5");
    type(box("numhorascod113"), "6");

    click(button("cargo"));
    QCOMPARE(visibleHourControls(), QStringList());
    QCOMPARE(hourTexts(), QStringList({"0", "0", "0", "0", "0"}));
    // The dialog opens with its initial content.
    Advertencia &dialog = currentDesk().advertencia();
    QVERIFY(dialog.isVisible());
    QCOMPARE(child<QLineEdit>(dialog, "codcargo")->text(), QStringLiteral("0"));

    // The boxes show "0" when an hours category comes back.
    click(button(category));
    QCOMPARE(box(ownBox)->text(), QStringLiteral("0"));
    QCOMPARE(box("numhorascod06")->text(), QStringLiteral("0"));
}

void EntryRulesTest::switchingHoursKeepsTheSharedBoxes()
{
    click(button("horassup"));
    type(box("numerohorassup"), "20");
    type(box("numhorascod06"), "4");
    type(box("numhorasincen"), "5");
    type(box("numhorascod113"), "6");

    click(button("horasmedio"));
    QVERIFY(!visible("numerohorassup"));
    QVERIFY(!visible("Label4"));
    QCOMPARE(hourTexts(), QStringList({"0", "0", "4", "5", "6"}));
    QVERIFY(visible("numerohorasmed"));

    type(box("numerohorasmed"), "12");
    click(button("horassup"));
    QVERIFY(!visible("numerohorasmed"));
    QVERIFY(!visible("Label3"));
    QCOMPARE(hourTexts(), QStringList({"0", "0", "4", "5", "6"}));

    // Clicking the selected category again keeps its own box too.
    type(box("numerohorassup"), "8");
    click(button("horassup"));
    QCOMPARE(hourTexts(), QStringList({"0", "8", "4", "5", "6"}));
}

void EntryRulesTest::hoursHideTheDialogAndTheChosenCargo()
{
    click(button("cargo"));
    Advertencia &dialog = currentDesk().advertencia();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    type(child<QLineEdit>(dialog, "codcargo"), "609");
    click(child<QAbstractButton>(dialog, "Command1"));
    QVERIFY(chosenCargoDisplayVisible());

    // "Cargo" leaves the display of the last choice while the dialog is open.
    click(button("cargo"));
    QVERIFY(dialog.isVisible());
    QVERIFY(chosenCargoDisplayVisible());

    click(button("horasmedio"));
    QVERIFY(!dialog.isVisible());
    QVERIFY(chosenCargoDisplayHidden());

    // Back to "Cargo": the same content, the display only after "Listo".
    click(button("cargo"));
    QVERIFY(dialog.isVisible());
    QCOMPARE(child<QLineEdit>(dialog, "codcargo")->text(), QStringLiteral("609"));
    QCOMPARE(child<QComboBox>(dialog, "cargox")->currentText(), QStringLiteral("Director 1era Categoría"));
    QCOMPARE(child<QLineEdit>(dialog, "punbas")->text(), QStringLiteral("2000"));
    QVERIFY(chosenCargoDisplayHidden());
    click(child<QAbstractButton>(dialog, "Command1"));
    QVERIFY(chosenCargoDisplayVisible());
    QCOMPARE(child<QLabel>(ingreso(), "codcarval")->text(), QStringLiteral("609"));

    click(button("horassup"));
    QVERIFY(chosenCargoDisplayHidden());
    QVERIFY(!dialog.isVisible());
}

void EntryRulesTest::hoursBeforeAnyDialogCreateItHidden()
{
    QVERIFY(!currentDesk().hasAdvertencia());
    click(button("horassup"));
    QVERIFY(currentDesk().hasAdvertencia());
    QVERIFY(!currentDesk().advertencia().isVisible());
    click(button("cargo"));
    QVERIFY(currentDesk().advertencia().isVisible());
    QCOMPARE(child<QLineEdit>(currentDesk().advertencia(), "codcargo")->text(), QStringLiteral("0"));
}

void EntryRulesTest::cargoReopensADialogClosedThroughItsFrame()
{
    click(button("cargo"));
    Advertencia &dialog = currentDesk().advertencia();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    type(child<QLineEdit>(dialog, "codcargo"), "925");
    dialog.close();
    QVERIFY(!dialog.isVisible());
    QVERIFY(button("cargo")->isChecked());
    click(button("cargo"));
    QVERIFY(dialog.isVisible());
    QCOMPARE(child<QLineEdit>(dialog, "codcargo")->text(), QStringLiteral("925"));
}

void EntryRulesTest::optionSwitchedOffByProgramRunsNoRule()
{
    click(button("horasmedio"));
    type(box("numerohorasmed"), "10");
    type(box("numhorascod06"), "4");
    ingreso().deselectCategory(Ingreso::Category::SecondaryHours);
    QVERIFY(!button("horasmedio")->isChecked());
    QVERIFY(!button("cargo")->isChecked());
    QVERIFY(!button("horassup")->isChecked());
    QVERIFY(visible("numerohorasmed"));
    QCOMPARE(hourTexts(), QStringList({"10", "0", "4", "0", "0"}));
    QVERIFY(!currentDesk().hasAdvertencia() || !currentDesk().advertencia().isVisible());

    // "Cargo" switched off by the program neither opens the dialog nor resets.
    click(button("cargo"));
    Advertencia &dialog = currentDesk().advertencia();
    dialog.hide();
    box("numhorascod06")->setText("7");
    ingreso().deselectCategory(Ingreso::Category::Cargo);
    QVERIFY(!button("cargo")->isChecked());
    QVERIFY(!dialog.isVisible());
    QCOMPARE(box("numhorascod06")->text(), QStringLiteral("7"));
}

// ---- optional quantities ------------------------------------------------

void EntryRulesTest::optionalQuantity_data()
{
    QTest::addColumn<QString>("check");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("caption"); // empty: none

    QTest::newRow("Inasistencias Just") << "inasist" << "dinasist" << "";
    QTest::newRow("Transporte") << "transporte" << "cantkm" << "mensajekm";
    QTest::newRow("Hijos") << "hijos" << "cantidadhijos" << "";
    QTest::newRow("Hijos Diferenc") << "hijosdisc" << "cantidadhijosdisc" << "";
}

void EntryRulesTest::optionalQuantity()
{
    QFETCH(QString, check);
    QFETCH(QString, field);
    QFETCH(QString, caption);

    const auto captionVisible = [&caption] { return caption.isEmpty() || visible(caption); };
    const auto captionHidden = [&caption] { return caption.isEmpty() || !visible(caption); };

    QVERIFY(!button(check)->isChecked());
    QVERIFY(!visible(field));
    QVERIFY(captionHidden());

    clickCheck(button(check));
    QVERIFY(button(check)->isChecked());
    QVERIFY(shown(box(field)));
    QVERIFY(captionVisible());
    QCOMPARE(box(field)->text(), QStringLiteral("0"));

    type(box(field), "3");
    clickCheck(button(check));
    QVERIFY(!button(check)->isChecked());
    QVERIFY(!visible(field));
    QVERIFY(captionHidden());
    QCOMPARE(box(field)->text(), QStringLiteral("0"));

    clickCheck(button(check));
    QVERIFY(visible(field));
    QCOMPARE(box(field)->text(), QStringLiteral("0"));
}

void EntryRulesTest::transportAfter120()
{
    click(button("transporte"));
    QVERIFY(visible("mensajekm"));
    QCOMPARE(child<QLabel>(ingreso(), "mensajekm")->text(), QStringLiteral("cantidad de km semanales"));
    type(box("cantkm"), "120");
    QCOMPARE(ingreso().payInput().kilometres, std::string("120"));

    click(button("transporte"));
    QVERIFY(!visible("cantkm"));
    QVERIFY(!visible("mensajekm"));
    QCOMPARE(box("cantkm")->text(), QStringLiteral("0"));
    const PayInput input = ingreso().payInput();
    QVERIFY(!input.transport);
    QCOMPARE(input.kilometres, std::string("0"));

    click(button("transporte"));
    QVERIFY(visible("cantkm"));
    QVERIFY(visible("mensajekm"));
    QCOMPARE(box("cantkm")->text(), QStringLiteral("0"));
}

// ---- incentive ----------------------------------------------------------

void EntryRulesTest::incentiveMirroredAsSiNo()
{
    QVERIFY(button("opincentivo")->isChecked());
    QCOMPARE(box("Text1")->text(), QStringLiteral("Si"));
    click(button("opincentivo"));
    QVERIFY(!button("opincentivo")->isChecked());
    QCOMPARE(box("Text1")->text(), QStringLiteral("No"));
    QVERIFY(!ingreso().payInput().incentive);
    click(button("opincentivo"));
    QCOMPARE(box("Text1")->text(), QStringLiteral("Si"));
    QVERIFY(ingreso().payInput().incentive);
}

// ---- seniority ----------------------------------------------------------

void EntryRulesTest::seniority_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shows");
    QTest::addColumn<QString>("row010"); // quantity|amount on 10 secondary hours ($407,61), empty for no row

    QTest::newRow("Option1") << "Option1" << "Menos de 1 año" << "0 %" << "";
    QTest::newRow("Option2") << "Option2" << "Entre 1 y 2 años" << "10 %" << "10 %|$ 40,761";
    QTest::newRow("Option3") << "Option3" << "Entre 2 y 5 años" << "15 %" << "15 %|$ 61,1415";
    QTest::newRow("Option4") << "Option4" << "Entre 5 y 7 años" << "30 %" << "30 %|$ 122,283";
    QTest::newRow("Option5") << "Option5" << "Entre 7 y 10 años" << "40 %" << "40 %|$ 163,044";
    QTest::newRow("Option6") << "Option6" << "Entre 10 y 12 años" << "50 %" << "50 %|$ 203,805";
    QTest::newRow("Option7") << "Option7" << "Entre 12 y 15 años" << "60 %" << "60 %|$ 244,566";
    QTest::newRow("Option8") << "Option8" << "Entre 15 y 17 años" << "70 %" << "70 %|$ 285,327";
    QTest::newRow("Option9") << "Option9" << "Entre 17 y 20 años" << "80 %" << "80 %|$ 326,088";
    QTest::newRow("Option10") << "Option10" << "Entre 20 y 22 años" << "100 %" << "100 %|$ 407,61";
    QTest::newRow("Option11") << "Option11" << "Entre 22 y 24 años" << "110 %" << "110 %|$ 448,371";
    QTest::newRow("Option12") << "Option12" << "Más de 24 años" << "120 %" << "120 %|$ 489,132";
}

void EntryRulesTest::seniority()
{
    QFETCH(QString, option);
    QFETCH(QString, caption);
    QFETCH(QString, shows);
    QFETCH(QString, row010);

    // Start from another band so that every row changes something.
    click(button(option == "Option12" ? "Option1" : "Option12"));
    QCOMPARE(button(option)->text(), caption);
    click(button(option));
    QVERIFY(button(option)->isChecked());
    QCOMPARE(box("porcantig")->text(), shows);
    QCOMPARE(button(option)->toolTip(), shows); // the percentage is also the tooltip

    // The slip pays the band's percentage of the hours.
    click(button("horasmedio"));
    type(box("numerohorasmed"), QStringLiteral("10"));
    click(button("Command1"));
    const Haberes &slip = currentDesk().haberes();
    const auto shownAt = [&slip](const char *array, int i) {
        return test::caption(child(slip, QStringLiteral("%1(%2)").arg(array).arg(i)));
    };
    QCOMPARE(shownAt("Label1", 0), QStringLiteral("$407,61"));
    QCOMPARE(shownAt("cod", 1) == "010" ? shownAt("Label10", 1) + '|' + shownAt("Label1", 1) : QString(), row010);
}

void EntryRulesTest::seniority80Then100()
{
    QCOMPARE(box("porcantig")->text(), QStringLiteral("0 %"));
    click(button("Option9"));
    QCOMPARE(box("porcantig")->text(), QStringLiteral("80 %"));
    click(button("Option10"));
    QCOMPARE(box("porcantig")->text(), QStringLiteral("100 %"));
    QVERIFY(!button("Option9")->isChecked());
    QCOMPARE(ingreso().payInput().seniorityOption, 10);
}

// ---- zone ---------------------------------------------------------------

// One notch of the mouse wheel, downwards, over the middle of `widget`.
void turnWheel(QWidget *widget)
{
    const QPointF at = QRectF(widget->rect()).center();
    QWheelEvent wheel(at, widget->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
}

void EntryRulesTest::wheelOverAClosedCombo_data()
{
    QTest::addColumn<QString>("combo");
    QTest::addColumn<bool>("focused");
    QTest::addColumn<int>("after"); // the item selected after one notch from item 1

    QTest::newRow("zona without focus") << "zona" << false << 1;
    QTest::newRow("zona with focus") << "zona" << true << 2;
    QTest::newRow("cargox without focus") << "cargox" << false << 1;
    QTest::newRow("cargox with focus") << "cargox" << true << 2;
}

void EntryRulesTest::wheelOverAClosedCombo()
{
    QFETCH(QString, combo);
    QFETCH(bool, focused);
    QFETCH(int, after);

    QWidget *window = &ingreso();
    if (combo == "cargox") {
        click(button("cargo"));
        window = &currentDesk().advertencia();
    }
    auto *box = child<QComboBox>(*window, combo);
    box->setCurrentIndex(1);
    const QString chosen = box->currentText();
    child(ingreso(), "docente")->setFocus();
    if (focused) {
        window->activateWindow();
        box->setFocus(Qt::TabFocusReason);
        QVERIFY(QTest::qWaitForWindowActive(window));
    }
    turnWheel(box);
    QCOMPARE(box->currentIndex(), after);
    if (!focused)
        QCOMPARE(box->currentText(), chosen);
}

void EntryRulesTest::zoneTypedTextSelectsMatchingItem()
{
    auto *zona = child<QComboBox>(ingreso(), "zona");
    QCOMPARE(zona->currentIndex(), -1);
    QCOMPARE(zona->currentText(), QStringLiteral("Ubicación Escuela (Zona)"));

    struct Typed {
        const char *text;
        int index;
    };
    const Typed typed[] = {{"Desfavorable", 2}, {"Zona Inhóspita", 4}, {"Común", 0}, {"Muy desfavorable", 3}};
    for (const Typed &t : typed) {
        type(zona->lineEdit(), QString::fromUtf8(t.text));
        QCOMPARE(zona->currentText(), QString::fromUtf8(t.text));
        QCOMPARE(zona->currentIndex(), t.index);
        QCOMPARE(ingreso().payInput().zoneIndex, t.index);
    }

    // Other text never becomes an item, not even with Enter.
    type(zona->lineEdit(), "Rural");
    QTest::keyClick(zona->lineEdit(), Qt::Key_Return);
    QCOMPARE(zona->count(), 5);
    QCOMPARE(zona->findText("Rural"), -1);
    if (currentDesk().hasErrorWindow())
        currentDesk().errorWindow().hide(); // Enter pressed "Calcular" with no category
}

// ---- exit ---------------------------------------------------------------

void EntryRulesTest::salirEndsTheProgram_data()
{
    QTest::addColumn<QString>("open"); // what is on the screen besides the entry window
    QTest::newRow("nothing else") << "";
    QTest::newRow("cargo dialog") << "advertencia";
    QTest::newRow("slip") << "Haberes";
}

void EntryRulesTest::salirEndsTheProgram()
{
    QFETCH(QString, open);
    if (open == "advertencia") {
        click(button("cargo"));
        QVERIFY(currentDesk().advertencia().isVisible());
    } else if (open == "Haberes") {
        click(button("horasmedio"));
        type(box("numerohorasmed"), "10");
        click(button("Command1"));
        QVERIFY(currentDesk().hasHaberes() && currentDesk().haberes().isVisible());
    }

    click(button("Command2"));
    QVERIFY(quitCalled_);
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->inherits("recibo::forms::Form"))
            QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));
    }
}

QTEST_MAIN(EntryRulesTest)

#include "test_entry_rules.moc"
