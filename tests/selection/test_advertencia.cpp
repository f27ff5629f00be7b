// The cargo selection dialog, driven as a user drives it: the entry window's
// "Cargo" opens it, codes are typed key by key, names are picked from the
// list with the mouse or the arrow keys, and the buttons are clicked.

#include <QAbstractItemView>
#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>

#include <algorithm>
#include <cmath>

#include <QFontInfo>

#include "forms/controls.h"
#include "forms/locale_text.h"
#include "support/gui.h"

using namespace recibo;
using recibo::test::child;
using recibo::test::click;
using recibo::test::shown;
using recibo::forms::qtext;
using recibo::test::type;

namespace {

Ingreso &ingreso() { return currentDesk().ingreso(); }
Advertencia &dialog() { return currentDesk().advertencia(); }

QLineEdit *dialogBox(const char *name) { return child<QLineEdit>(dialog(), QString::fromLatin1(name)); }
QComboBox *nameBox() { return child<QComboBox>(dialog(), QStringLiteral("cargox")); }
QPushButton *listo() { return child<QPushButton>(dialog(), QStringLiteral("Command1")); }
QPushButton *salirSinDatos() { return child<QPushButton>(dialog(), QStringLiteral("Command2")); }
QAbstractButton *cargoOption() { return child<QAbstractButton>(ingreso(), QStringLiteral("cargo")); }
QLabel *entryLabel(const char *name) { return child<QLabel>(ingreso(), QString::fromLatin1(name)); }
QLineEdit *slipBox(const char *name)
{
    return child<QLineEdit>(currentDesk().haberes(), QString::fromLatin1(name));
}

// "Cargo" on the entry window, as the user opens the dialog.
void openDialog()
{
    click(cargoOption());
    QVERIFY(dialog().isVisible());
    QVERIFY(QTest::qWaitForWindowActive(&dialog()));
}

void typeCode(const QString &code) { type(dialogBox("codcargo"), code); }

// Picks row `index` of the name list with the mouse: opens the list, scrolls
// to the item and clicks it.
void pickWithMouse(int index)
{
    QComboBox *combo = nameBox();
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    QTRY_VERIFY(view->isVisible());
    const QModelIndex item = view->model()->index(index, 0);
    view->scrollTo(item);
    const QPoint at = view->visualRect(item).center();
    QTest::mouseMove(view->viewport(), at);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTRY_VERIFY(!view->isVisible());
}

// Everything the dialog shows and hands on, to compare two ways of choosing.
QStringList dialogState()
{
    const CargoChoice choice = dialog().choice();
    return {dialogBox("codcargo")->text(),
            nameBox()->currentText(),
            QString::number(nameBox()->currentIndex()),
            dialogBox("punbas")->text(),
            dialogBox("compbas")->text(),
            dialogBox("proljor")->text(),
            dialogBox("jorcom")->text(),
            dialogBox("tardif")->text(),
            listo()->isEnabled() ? "Listo habilitado" : "Listo deshabilitado",
            choice.rowSelected ? "fila" : "sin fila",
            QString::fromStdString(choice.code),
            QString::fromStdString(choice.basicPointsItem),
            QString::fromStdString(choice.name)};
}

// The five point boxes in the order basic, complement, extended day, full day, task.
QStringList pointBoxes()
{
    return {dialogBox("punbas")->text(), dialogBox("compbas")->text(), dialogBox("proljor")->text(),
            dialogBox("jorcom")->text(), dialogBox("tardif")->text()};
}

QStringList chosenCargoDisplay()
{
    return {entryLabel("cargoselect")->text(),   entryLabel("codcarval")->text(),
            entryLabel("puncarval")->text(),     entryLabel("puncompbasval")->text(),
            entryLabel("punproljorval")->text(), entryLabel("punjorcomval")->text(),
            entryLabel("puntardifval")->text()};
}

QStringList slipPanel()
{
    return {slipBox("numcargo")->text(), slipBox("punbasicos")->text(), slipBox("compbas")->text(),
            slipBox("proljor")->text(),  slipBox("jorcom")->text(),     slipBox("tardif")->text()};
}

bool chosenCargoDisplayShown()
{
    for (const char *name : Ingreso::kChosenCargoDisplay)
        if (!shown(ingreso().findChild<QWidget *>(QString::fromLatin1(name))))
            return false;
    return true;
}

bool chosenCargoDisplayHidden()
{
    for (const char *name : Ingreso::kChosenCargoDisplay)
        if (ingreso().findChild<QWidget *>(QString::fromLatin1(name))->isVisibleTo(&ingreso()))
            return false;
    return true;
}

} // namespace

class AdvertenciaTest : public QObject {
    Q_OBJECT

private slots:
    void init() { test::startFresh(); }

    // Layout and start.
    void layout_data();
    void layout();
    void looks_data();
    void looks();
    void window();
    void createdOnFirstUseOnly();
    void startContent();
    void focusStartsInTheCodeBoxAndTabGoesToNameThenListo();

    // Choosing by code.
    void typedCode_data();
    void typedCode();
    void typingKeyByKey();
    void clickingIntoTheCodeBoxEmptiesIt();

    // Choosing by name.
    void pickedName_data();
    void pickedName();
    void arrowKeysPickNames();
    void pickRunsTheCodeRuleOnceLikeTypingTheCode_data();
    void pickRunsTheCodeRuleOnceLikeTypingTheCode();
    void pickingTheChosenRowAgainRestoresItsPoints();
    void typingIntoTheNameBoxChoosesNothing();

    // Handing the choice on.
    void listoHandsTheChoiceOn();
    void listoRightAfterFirstOpening();
    void enterAcceptsATypedCode();
    void enterInTheNameBoxAccepts();
    void enterWithListoDisabledDoesNothing();
    void escapeIsBoundToNothing();
    void salirSinDatosThenReopenThenListo();
    void nameTypedByHandAfterAPick();
    void overtypedPointBoxesAreUsedAsTyped();
    void closingThroughTheFrameKeepsEverything();
    void trailingBlankOfCode795Stays();
};

// ---- layout -------------------------------------------------------------

void AdvertenciaTest::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tooltip");

    const QString codeTip = "Escriba el código del cargo. Si luego de escribir las tres cifras no se selecciona "
                            "el cargo, vuelva a elegir un código correcto.";
    const QString automatic = "Se selecciona automáticamente";
    const auto row = [](const char *name, int left, int top, int width, int height, const QString &text,
                        const QString &tooltip) {
        QTest::newRow(name) << QString::fromLatin1(name) << QRect(left, top, width, height) << text << tooltip;
    };
    row("Label2", 60, 105, 5895, 420, "Seleccione el cargo o el código del cargo", "");
    row("Label1", 120, 720, 1695, 330, "Código del cargo", "");
    row("Label3", 1920, 720, 1485, 330, "Puntos básicos", "");
    row("Label8", 3600, 720, 1335, 330, "Comp básico", "");
    row("Label5", 5040, 720, 1485, 330, "Prol. de jornada", "");
    row("Label6", 6600, 720, 1395, 330, "Jorn. completa", "");
    row("Label7", 8160, 720, 1485, 330, "Tarea diferenc.", "");
    row("codcargo", 240, 1320, 1275, 330, "0", codeTip);
    row("punbas", 2040, 1320, 1065, 330, "", automatic);
    row("compbas", 3720, 1320, 1155, 330, "", codeTip);
    row("proljor", 5280, 1320, 1065, 330, "", automatic);
    row("jorcom", 6840, 1320, 960, 330, "", automatic);
    row("tardif", 8400, 1320, 960, 330, "", automatic);
    row("Label4", 120, 2760, 1485, 330, "Cargo", "");
    row("cargox", 1785, 2760, 7050, 345, "", "Seleccione el cargo");
    row("Picture1", 360, 3600, 3975, 3015, "", "");
    row("Command1", 6480, 4800, 2325, 435, "Listo", "");
    row("Command2", 6480, 5520, 2325, 435, "Salir sin datos", "");
}

void AdvertenciaTest::layout()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QFETCH(QString, text);
    QFETCH(QString, tooltip);

    openDialog();
    QWidget *widget = child(dialog(), name);
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget(), static_cast<QWidget *>(&dialog()));
    QVERIFY(shown(widget));
    const QRect g = widget->geometry();
    const double px = forms::kTwipsPerPixel;
    const QString where =
        QStringLiteral("%1 at %2,%3 %4x%5").arg(name).arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height());
    QVERIFY2(std::abs(g.x() - twips.x() / px) <= 1 && std::abs(g.y() - twips.y() / px) <= 1 &&
                 std::abs(g.width() - twips.width() / px) <= 1 && std::abs(g.height() - twips.height() / px) <= 1,
             qPrintable(where));
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        QCOMPARE(combo->currentText(), text);
    else
        QCOMPARE(test::caption(widget), text);
    QCOMPARE(widget->toolTip(), tooltip);
}

void AdvertenciaTest::looks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("foreground"); // invalid: not specified
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");

    const QColor lightCyan(192, 255, 255), darkBlue(0, 0, 192), paleCyan(128, 255, 255), green(0, 192, 0);
    for (const char *box : {"codcargo", "punbas", "compbas", "proljor", "jorcom", "tardif"})
        QTest::newRow(box) << QString::fromLatin1(box) << lightCyan << darkBlue << 9.75 << true;
    QTest::newRow("cargox") << "cargox" << lightCyan << darkBlue << 9.0 << false;
    for (const char *heading : {"Label1", "Label3", "Label8", "Label5", "Label6", "Label7"})
        QTest::newRow(heading) << QString::fromLatin1(heading) << paleCyan << QColor() << 9.0 << true;
    QTest::newRow("Label4") << "Label4" << green << QColor() << 0.0 << false;
    QTest::newRow("Label2") << "Label2" << green << QColor() << 0.0 << false;
    QTest::newRow("Command1") << "Command1" << green << QColor() << 12.0 << true;
    QTest::newRow("Command2") << "Command2" << green << QColor() << 12.0 << true;
}

void AdvertenciaTest::looks()
{
    QFETCH(QString, name);
    QFETCH(QColor, background);
    QFETCH(QColor, foreground);
    QFETCH(double, points);
    QFETCH(bool, bold);

    QWidget *widget = child(dialog(), name);
    const bool isBox = qobject_cast<QLineEdit *>(widget) || qobject_cast<QComboBox *>(widget);
    const bool isButton = qobject_cast<QPushButton *>(widget);
    const QPalette palette = widget->palette();
    const QPalette::ColorRole back = isBox ? QPalette::Base : isButton ? QPalette::Button : QPalette::Window;
    const QPalette::ColorRole fore = isBox ? QPalette::Text : QPalette::WindowText;
    QCOMPARE(palette.color(back), background);
    if (foreground.isValid())
        QCOMPARE(palette.color(fore), foreground);
    // Drawn in Arial, or in the face the system draws Arial with.
    QCOMPARE(QFontInfo(widget->font()).family(), QFontInfo(QFont(QStringLiteral("Arial"))).family());
    if (points > 0)
        QCOMPARE(widget->font().pointSizeF(), points);
    QCOMPARE(widget->font().bold(), bold);
}

void AdvertenciaTest::window()
{
    openDialog();
    Advertencia &shownDialog = dialog();
    QCOMPARE(shownDialog.objectName(), QStringLiteral("advertencia"));
    QCOMPARE(shownDialog.windowTitle(), QStringLiteral("Selección de cargo"));
    QCOMPARE(shownDialog.size(), QSize(649, 457)); // 9735 × 6855 twips
    QCOMPARE(shownDialog.palette().color(QPalette::Window), QColor(0, 128, 128));
    QVERIFY(shownDialog.isWindow());
    // Not modal: the entry window stays usable behind it.
    QCOMPARE(shownDialog.windowModality(), Qt::NonModal);
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(ingreso().isVisible() && ingreso().isEnabled());
    click(child<QAbstractButton>(ingreso(), "opincentivo"));
    QCOMPARE(child<QLineEdit>(ingreso(), "Text1")->text(), QStringLiteral("No"));
}

void AdvertenciaTest::createdOnFirstUseOnly()
{
    QVERIFY(!currentDesk().hasAdvertencia());
    openDialog();
    Advertencia *first = &dialog();
    click(salirSinDatos());
    QVERIFY(!first->isVisible());
    openDialog();
    QCOMPARE(&dialog(), first);
    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(windows.begin(), windows.end(),
                           [](QWidget *w) { return w->objectName() == QLatin1String("advertencia"); }),
             1);
}

void AdvertenciaTest::startContent()
{
    openDialog();
    QCOMPARE(dialogBox("codcargo")->text(), QStringLiteral("0"));
    QCOMPARE(nameBox()->currentText(), QString());
    QCOMPARE(nameBox()->currentIndex(), -1);
    QCOMPARE(pointBoxes(), QStringList({"", "", "", "", ""}));
    QVERIFY(listo()->isEnabled());
    QVERIFY(salirSinDatos()->isEnabled());
    QVERIFY(dialogBox("punbas")->isReadOnly());
    for (const char *name : {"codcargo", "compbas", "proljor", "jorcom", "tardif"})
        QVERIFY2(!dialogBox(name)->isReadOnly(), name);
    QVERIFY(nameBox()->isEditable());

    // The name list is the catalogue's names in its order.
    QCOMPARE(nameBox()->count(), 311);
    for (int i = 0; i < kCargoCount; ++i) {
        QCOMPARE(nameBox()->itemText(i), qtext(cargoCatalogue()[static_cast<std::size_t>(i)].cargox));
    }

    const CargoChoice choice = dialog().choice();
    QVERIFY(!choice.rowSelected);
    QCOMPARE(choice.code, std::string());
    QCOMPARE(choice.basicPointsItem, std::string());
    QCOMPARE(dialog().codigocargo().selected, -1);
    QCOMPARE(dialog().puntosbasicos().selected, -1);
}

void AdvertenciaTest::focusStartsInTheCodeBoxAndTabGoesToNameThenListo()
{
    openDialog();
    QVERIFY(QTest::qWaitForWindowActive(&dialog()));
    QCOMPARE(QApplication::focusWidget(), dialogBox("codcargo"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus == nameBox() || focus == nameBox()->lineEdit());
    QTest::keyClick(focus, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), listo());
    // Tabbing through changes nothing.
    QCOMPARE(dialogBox("codcargo")->text(), QStringLiteral("0"));
    QVERIFY(listo()->isEnabled());
}

// ---- choosing by code ---------------------------------------------------

void AdvertenciaTest::typedCode_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("points"); // basic, complement, extended day, full day, task

    const QStringList empty{"", "", "", "", ""};
    QTest::newRow("6") << "6" << -1 << "" << empty;
    QTest::newRow("64") << "64" << -1 << "" << empty;
    QTest::newRow("645") << "645" << 2 << "Asesor Pedag Proyecto 13" << QStringList{"2329", "0", "0", "0", "0"};
    QTest::newRow("6451") << "6451" << -1 << "" << empty;
    QTest::newRow("999 is row 0") << "999" << 0 << "Analista Princ Tec Doc"
                                  << QStringList{"3146", "0", "0", "0", "0"};
    QTest::newRow("609") << "609" << 30 << "Director 1era Categoría" << QStringList{"2000", "36", "0", "0", "0"};
    QTest::newRow("925") << "925" << 15 << "Bibliotecario" << QStringList{"971", "170", "0", "0", "0"};
    QTest::newRow("738") << "738" << 197 << "Maestro Jardín De Infantes"
                         << QStringList{"971", "170", "0", "0", "17"};
    const CargoRow &lowest = cargoCatalogue()[109];
    QTest::newRow("600, lowest") << "600" << 109 << qtext(lowest.cargox)
                                 << QStringList{qtext(lowest.puntosbasicos), qtext(lowest.compbasico),
                                                qtext(lowest.proljornada), qtext(lowest.jorcompleta),
                                                qtext(lowest.tareadif)};
    QTest::newRow("0645") << "0645" << -1 << "" << empty;
    QTest::newRow("leading blank") << " 645" << -1 << "" << empty;
    QTest::newRow("trailing blank") << "645 " << -1 << "" << empty;
    QTest::newRow("123, below the codes") << "123" << -1 << "" << empty;
    QTest::newRow("601, not a code") << "601" << -1 << "" << empty;
    QTest::newRow("letters") << "abc" << -1 << "" << empty;
    QTest::newRow("accented letters") << "ñá" << -1 << "" << empty;
    QTest::newRow("0") << "0" << -1 << "" << empty;
}

void AdvertenciaTest::typedCode()
{
    QFETCH(QString, code);
    QFETCH(int, row);
    QFETCH(QString, name);
    QFETCH(QStringList, points);

    openDialog();
    typeCode(code);
    QCOMPARE(dialogBox("codcargo")->text(), code); // what was typed stays
    QCOMPARE(nameBox()->currentIndex(), row);
    QCOMPARE(nameBox()->currentText(), name);
    QCOMPARE(pointBoxes(), points);
    QCOMPARE(listo()->isEnabled(), row >= 0);
    QCOMPARE(dialog().codigocargo().selected, row);
    QCOMPARE(dialog().puntosbasicos().selected, row);
    const CargoChoice choice = dialog().choice();
    QCOMPARE(choice.rowSelected, row >= 0);
    QCOMPARE(QString::fromStdString(choice.code), row >= 0 ? code : QString());
    QCOMPARE(QString::fromStdString(choice.basicPointsItem), points.first());
    QCOMPARE(QString::fromStdString(choice.name), name);
}

void AdvertenciaTest::typingKeyByKey()
{
    openDialog();
    QLineEdit *code = dialogBox("codcargo");
    type(code, QString()); // an empty code box
    QVERIFY(!listo()->isEnabled());

    struct Step {
        const char *key;
        const char *shows;
        int row;
    };
    const Step steps[] = {{"6", "6", -1}, {"4", "64", -1}, {"5", "645", 2}, {"1", "6451", -1}};
    for (const Step &step : steps) {
        QTest::keyClicks(code, QString::fromLatin1(step.key));
        QCOMPARE(code->text(), QString::fromLatin1(step.shows));
        QCOMPARE(nameBox()->currentIndex(), step.row);
        QCOMPARE(listo()->isEnabled(), step.row >= 0);
        if (step.row < 0) {
            QCOMPARE(nameBox()->currentText(), QString());
            QCOMPARE(pointBoxes(), QStringList({"", "", "", "", ""}));
        } else {
            QCOMPARE(nameBox()->currentText(), QStringLiteral("Asesor Pedag Proyecto 13"));
            QCOMPARE(pointBoxes(), QStringList({"2329", "0", "0", "0", "0"}));
        }
    }
    // Backspace back to a code finds it again.
    QTest::keyClick(code, Qt::Key_Backspace);
    QCOMPARE(nameBox()->currentIndex(), 2);
    QVERIFY(listo()->isEnabled());
}

void AdvertenciaTest::clickingIntoTheCodeBoxEmptiesIt()
{
    openDialog();
    // Even the initial "0" goes at the first click.
    QTest::mouseClick(dialogBox("codcargo"), Qt::LeftButton);
    QCOMPARE(dialogBox("codcargo")->text(), QString());
    QVERIFY(!listo()->isEnabled());

    typeCode("609");
    QVERIFY(listo()->isEnabled());
    QTest::mouseClick(dialogBox("codcargo"), Qt::LeftButton);
    QCOMPARE(dialogBox("codcargo")->text(), QString());
    QCOMPARE(nameBox()->currentText(), QString());
    QCOMPARE(nameBox()->currentIndex(), -1);
    QCOMPARE(pointBoxes(), QStringList({"", "", "", "", ""}));
    QVERIFY(!listo()->isEnabled());
    QVERIFY(!dialog().choice().rowSelected);

    // The box keeps the focus: the next keys are the new code.
    QTest::keyClicks(dialogBox("codcargo"), "999");
    QCOMPARE(nameBox()->currentIndex(), 0);
}

// ---- choosing by name ---------------------------------------------------

void AdvertenciaTest::pickedName_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("points"); // basic, complement, extended day, full day, task

    QTest::newRow("first Bibliotecario") << 13 << "633" << "Bibliotecario" << QStringList{"941", "174", "0", "0", "0"};
    QTest::newRow("third Bibliotecario") << 15 << "925" << "Bibliotecario" << QStringList{"971", "170", "0", "0", "0"};
    QTest::newRow("fourth Bibliotecario")
        << 16 << "996" << "Bibliotecario" << QStringList{"1480", "104", "0", "0", "0"};
    QTest::newRow("first Maestro Jardín")
        << 197 << "738" << "Maestro Jardín De Infantes" << QStringList{"971", "170", "0", "0", "17"};
    QTest::newRow("second Maestro Jardín")
        << 198 << "987" << "Maestro Jardín De Infantes" << QStringList{"1170", "144", "0", "0", "0"};
    QTest::newRow("first row") << 0 << "999" << "Analista Princ Tec Doc" << QStringList{"3146", "0", "0", "0", "0"};
    QTest::newRow("last row") << 310 << "733" << "Visitador" << QStringList{"1150", "147", "0", "0", "0"};
}

void AdvertenciaTest::pickedName()
{
    QFETCH(int, row);
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(QStringList, points);

    openDialog();
    typeCode("64"); // "Listo" disabled before the pick
    pickWithMouse(row);
    QCOMPARE(nameBox()->currentIndex(), row);
    QCOMPARE(nameBox()->currentText(), name);
    QCOMPARE(dialogBox("codcargo")->text(), code);
    QCOMPARE(pointBoxes(), points);
    QVERIFY(listo()->isEnabled());
    QCOMPARE(dialog().codigocargo().selected, row);
    QCOMPARE(dialog().puntosbasicos().selected, row);
    QCOMPARE(QString::fromStdString(dialog().choice().code), code);
}

void AdvertenciaTest::arrowKeysPickNames()
{
    openDialog();
    typeCode("633"); // the first "Bibliotecario", row 13
    QComboBox *combo = nameBox();
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(dialogBox("codcargo")->text(), QStringLiteral("750"));
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(combo->currentIndex(), 15);
    QCOMPARE(combo->currentText(), QStringLiteral("Bibliotecario"));
    QCOMPARE(dialogBox("codcargo")->text(), QStringLiteral("925"));
    QCOMPARE(dialogBox("punbas")->text(), QStringLiteral("971"));
    QTest::keyClick(combo, Qt::Key_Up);
    QTest::keyClick(combo, Qt::Key_Up);
    QTest::keyClick(combo, Qt::Key_Up);
    QCOMPARE(dialogBox("codcargo")->text(), QStringLiteral("936")); // "Bedel", row 12
    QCOMPARE(dialogBox("punbas")->text(), QStringLiteral("1250"));
}

void AdvertenciaTest::pickRunsTheCodeRuleOnceLikeTypingTheCode_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("code");
    QTest::newRow("row 0") << 0 << "999";
    QTest::newRow("third Bibliotecario") << 15 << "925";
    QTest::newRow("second Maestro Jardín") << 198 << "987";
    QTest::newRow("code 795") << 295 << "795";
}

void AdvertenciaTest::pickRunsTheCodeRuleOnceLikeTypingTheCode()
{
    QFETCH(int, row);
    QFETCH(QString, code);

    openDialog();
    typeCode(code);
    const QStringList typed = dialogState();

    test::startFresh();
    openDialog();
    QSignalSpy codeRule(&dialog(), &Advertencia::codeChecked);
    pickWithMouse(row);
    QCOMPARE(codeRule.count(), 1);
    QCOMPARE(codeRule.first().first().toInt(), row);
    QCOMPARE(dialogState(), typed);
}

void AdvertenciaTest::pickingTheChosenRowAgainRestoresItsPoints()
{
    openDialog();
    typeCode("925");
    type(dialogBox("compbas"), "50");
    QSignalSpy codeRule(&dialog(), &Advertencia::codeChecked);
    pickWithMouse(15); // the code box already reads 925
    QCOMPARE(codeRule.count(), 1);
    QCOMPARE(dialogBox("codcargo")->text(), QStringLiteral("925"));
    QCOMPARE(pointBoxes(), QStringList({"971", "170", "0", "0", "0"}));
}

void AdvertenciaTest::typingIntoTheNameBoxChoosesNothing()
{
    openDialog();
    typeCode("925");
    const QStringList before = pointBoxes();
    QSignalSpy codeRule(&dialog(), &Advertencia::codeChecked);

    // The exact name of another row, then leaving the box: still no choice.
    QLineEdit *field = nameBox()->lineEdit();
    type(field, "Bedel");
    QCOMPARE(field->text(), QStringLiteral("Bedel"));
    QTest::keyClick(field, Qt::Key_Tab);
    QCOMPARE(nameBox()->currentText(), QStringLiteral("Bedel"));
    // A beginning is not completed into a name either.
    type(field, "Bib");
    QCOMPARE(nameBox()->currentText(), QStringLiteral("Bib"));

    QCOMPARE(codeRule.count(), 0);
    QCOMPARE(dialogBox("codcargo")->text(), QStringLiteral("925"));
    QCOMPARE(pointBoxes(), before);
    QCOMPARE(dialog().codigocargo().selected, 15);
    QCOMPARE(nameBox()->count(), 311);
}

// ---- handing the choice on ----------------------------------------------

void AdvertenciaTest::listoHandsTheChoiceOn()
{
    openDialog();
    QVERIFY(chosenCargoDisplayHidden());
    typeCode("609");
    QVERIFY(!currentDesk().hasHaberes());
    click(listo());

    // The slip window exists now, not shown, with the selection panel filled.
    QVERIFY(currentDesk().hasHaberes());
    QVERIFY(!currentDesk().haberes().isVisible());
    QCOMPARE(slipPanel(), QStringList({"609", "2000", "36", "0", "0", "0"}));

    QVERIFY(chosenCargoDisplayShown());
    QCOMPARE(chosenCargoDisplay(), QStringList({"Director 1era Categoría", "609", "2000", "36", "0", "0", "0"}));
    // The captions keep their fixed texts.
    QCOMPARE(entryLabel("codcartit")->text(), QStringLiteral("Código del cargo"));
    QCOMPARE(entryLabel("puncartit")->text(), QStringLiteral("Puntaje del cargo"));
    QCOMPARE(entryLabel("punproljortit")->text(), QStringLiteral("Puntos prol jorn"));
    QCOMPARE(entryLabel("punjorcomtit")->text(), QStringLiteral("Puntos Jor comp"));
    QCOMPARE(entryLabel("puntardiftit")->text(), QStringLiteral("Puntos tarea difer"));
    QCOMPARE(entryLabel("puncompbastit")->text(), QStringLiteral("Comp de Básico"));

    QVERIFY(cargoOption()->isChecked());
    QVERIFY(ingreso().isVisible());
    QVERIFY(!dialog().isVisible());

    // Reopening shows the choice as it was left.
    openDialog();
    QCOMPARE(dialogBox("codcargo")->text(), QStringLiteral("609"));
    QCOMPARE(nameBox()->currentText(), QStringLiteral("Director 1era Categoría"));
    QCOMPARE(pointBoxes(), QStringList({"2000", "36", "0", "0", "0"}));
}

void AdvertenciaTest::listoRightAfterFirstOpening()
{
    openDialog();
    QVERIFY(cargoOption()->isChecked());
    click(listo());

    QCOMPARE(slipPanel(), QStringList({"0", "", "", "", "", ""}));
    QVERIFY(chosenCargoDisplayShown());
    QCOMPARE(chosenCargoDisplay(), QStringList({"", "0", "", "", "", "", ""}));
    QVERIFY(!cargoOption()->isChecked());
    QVERIFY(!dialog().isVisible());
    QVERIFY(ingreso().isVisible());
    // Nothing else is undone: the hour inputs stay hidden.
    QVERIFY(!child(ingreso(), "numerohorasmed")->isVisibleTo(&ingreso()));

    // Without a category "Calcular" shows the selection error.
    click(child<QAbstractButton>(ingreso(), "Command1"));
    QVERIFY(currentDesk().hasErrorWindow() && currentDesk().errorWindow().isVisible());
}

void AdvertenciaTest::enterAcceptsATypedCode()
{
    openDialog();
    typeCode("999");
    QTest::keyClick(dialogBox("codcargo"), Qt::Key_Return);
    QVERIFY(!dialog().isVisible());
    QCOMPARE(chosenCargoDisplay(), QStringList({"Analista Princ Tec Doc", "999", "3146", "0", "0", "0", "0"}));
    QCOMPARE(slipPanel(), QStringList({"999", "3146", "0", "0", "0", "0"}));
    QVERIFY(cargoOption()->isChecked());

    // The keypad's Enter too.
    openDialog();
    typeCode("645");
    QTest::keyClick(dialogBox("codcargo"), Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(!dialog().isVisible());
    QCOMPARE(entryLabel("codcarval")->text(), QStringLiteral("645"));
}

void AdvertenciaTest::enterInTheNameBoxAccepts()
{
    openDialog();
    pickWithMouse(15);
    QComboBox *combo = nameBox();
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Return);
    QVERIFY(!dialog().isVisible());
    QCOMPARE(chosenCargoDisplay(), QStringList({"Bibliotecario", "925", "971", "170", "0", "0", "0"}));
    QCOMPARE(nameBox()->count(), 311); // Enter adds no item
}

void AdvertenciaTest::enterWithListoDisabledDoesNothing()
{
    openDialog();
    typeCode("64");
    QVERIFY(!listo()->isEnabled());
    QSignalSpy pressed(listo(), &QPushButton::clicked);
    QTest::keyClick(dialogBox("codcargo"), Qt::Key_Return);
    QTest::keyClick(dialogBox("codcargo"), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(pressed.count(), 0);
    QVERIFY(dialog().isVisible());
    QVERIFY(chosenCargoDisplayHidden());
    QVERIFY(!currentDesk().hasHaberes());
    QVERIFY(cargoOption()->isChecked());
    QCOMPARE(dialogBox("codcargo")->text(), QStringLiteral("64"));
}

void AdvertenciaTest::escapeIsBoundToNothing()
{
    openDialog();
    typeCode("609");
    const QStringList before = dialogState();
    QTest::keyClick(dialogBox("codcargo"), Qt::Key_Escape);
    QTest::keyClick(&dialog(), Qt::Key_Escape);
    QVERIFY(dialog().isVisible());
    QCOMPARE(dialogState(), before);
    QVERIFY(cargoOption()->isChecked());
    QVERIFY(chosenCargoDisplayHidden());
}

void AdvertenciaTest::salirSinDatosThenReopenThenListo()
{
    openDialog();
    typeCode("609");
    click(listo());
    QCOMPARE(chosenCargoDisplay(), QStringList({"Director 1era Categoría", "609", "2000", "36", "0", "0", "0"}));

    openDialog();
    click(salirSinDatos());
    QVERIFY(!dialog().isVisible());
    QVERIFY(!cargoOption()->isChecked());
    // The display keeps showing the old values.
    QVERIFY(chosenCargoDisplayShown());
    QCOMPARE(chosenCargoDisplay(), QStringList({"Director 1era Categoría", "609", "2000", "36", "0", "0", "0"}));

    openDialog();
    QVERIFY(cargoOption()->isChecked());
    QCOMPARE(nameBox()->currentText(), QString());
    QCOMPARE(nameBox()->currentIndex(), -1);
    QCOMPARE(pointBoxes(), QStringList({"0", "0", "0", "0", "0"}));
    QCOMPARE(dialogBox("codcargo")->text(), QStringLiteral("609"));
    QVERIFY(listo()->isEnabled());
    // Only the code list lost its row; the basic points list keeps it.
    QCOMPARE(dialog().codigocargo().selected, -1);
    QCOMPARE(dialog().puntosbasicos().selected, 30);
    const CargoChoice choice = dialog().choice();
    QVERIFY(!choice.rowSelected);
    QCOMPARE(choice.code, std::string());
    QCOMPARE(choice.basicPointsItem, std::string("2000"));

    click(listo());
    QCOMPARE(slipPanel(), QStringList({"609", "0", "0", "0", "0", "0"}));
    QCOMPARE(chosenCargoDisplay(), QStringList({"", "609", "0", "0", "0", "0", "0"}));
    QVERIFY(cargoOption()->isChecked());
}

void AdvertenciaTest::nameTypedByHandAfterAPick()
{
    openDialog();
    pickWithMouse(15);
    type(nameBox()->lineEdit(), "Bibliotecaria Escuela Nº 5");
    QCOMPARE(dialogBox("codcargo")->text(), QStringLiteral("925"));
    click(listo());
    QCOMPARE(chosenCargoDisplay(),
             QStringList({"Bibliotecaria Escuela Nº 5", "925", "971", "170", "0", "0", "0"}));
    QCOMPARE(slipPanel(), QStringList({"925", "971", "170", "0", "0", "0"}));
    const CargoChoice choice = dialog().choice();
    QCOMPARE(QString::fromStdString(choice.name), QStringLiteral("Bibliotecaria Escuela Nº 5"));
    QCOMPARE(choice.code, std::string("925"));
    QCOMPARE(choice.basicPointsItem, std::string("971"));
}

void AdvertenciaTest::overtypedPointBoxesAreUsedAsTyped()
{
    openDialog();
    typeCode("609");
    type(dialogBox("compbas"), "50");
    type(dialogBox("proljor"), "12");
    type(dialogBox("jorcom"), "0,5");
    type(dialogBox("tardif"), "7");
    click(listo());
    QCOMPARE(chosenCargoDisplay(), QStringList({"Director 1era Categoría", "609", "2000", "50", "12", "0,5", "7"}));
    QCOMPARE(slipPanel(), QStringList({"609", "2000", "50", "12", "0,5", "7"}));
    const PayInput input = currentDesk().payInput();
    QCOMPARE(input.path, PayPath::Cargo);
    QCOMPARE(input.cargo.compbas, std::string("50"));
    QCOMPARE(input.cargo.proljor, std::string("12"));
    QCOMPARE(input.cargo.jorcom, std::string("0,5"));
    QCOMPARE(input.cargo.tardif, std::string("7"));
    QCOMPARE(input.cargo.punbas, std::string("2000"));
}

void AdvertenciaTest::closingThroughTheFrameKeepsEverything()
{
    openDialog();
    typeCode("925");
    type(dialogBox("compbas"), "99");
    const QStringList before = dialogState();
    dialog().close(); // as the window frame's close button does
    QVERIFY(!dialog().isVisible());
    QCOMPARE(dialogState(), before);
    // Nothing reaches the other windows, nothing is switched off.
    QVERIFY(chosenCargoDisplayHidden());
    QVERIFY(!currentDesk().hasHaberes());
    QVERIFY(cargoOption()->isChecked());
    // The calculation still reads the choice.
    const PayInput input = currentDesk().payInput();
    QCOMPARE(input.cargo.code, std::string("925"));
    QCOMPARE(input.cargo.compbas, std::string("99"));
    // "Cargo" brings it back as it was.
    openDialog();
    QCOMPARE(dialogState(), before);
}

void AdvertenciaTest::trailingBlankOfCode795Stays()
{
    const QString name = QStringLiteral("Vicedirector Dpto. Aplicación De 2da Categoría ");
    openDialog();
    typeCode("795");
    QCOMPARE(nameBox()->currentText(), name);
    click(listo());
    QCOMPARE(entryLabel("cargoselect")->text(), name);
    QCOMPARE(dialog().choice().name, name.toStdString());

    click(child<QPushButton>(ingreso(), "Command1"));
    Haberes &slip = currentDesk().haberes();
    QVERIFY(slip.isVisible());
    QCOMPARE(child<QLabel>(slip, "carsel")->text(), name);
    QCOMPARE(slipBox("numcargo")->text(), QStringLiteral("795"));
}

QTEST_MAIN(AdvertenciaTest)

#include "test_advertencia.moc"
