// Keyboard and screen-reader use of the windows: Tab walks the controls in
// the order of the layout, every control that takes the focus or holds data is
// announced by its caption, option buttons are radio buttons, rules and
// drawings are silent, the slip is read row by row, and a control focused from
// the keyboard shows a ring on the screen, never on paper.

#include <QAccessible>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyleFactory>

#include <cmath>

#include "forms/decoration.h"
#include "forms/line.h"
#include "forms/style.h"
#include "slip/printing.h"
#include "support/gui.h"

using namespace recibo;
using recibo::test::child;

namespace {

QAccessibleInterface *accessible(QWidget *widget) { return QAccessible::queryAccessibleInterface(widget); }

// What a screen reader hears walking the slip proper in order: every object
// shown, rules left out.
QStringList slipReading(Haberes &slip)
{
    QStringList heard;
    QAccessibleInterface *frame = accessible(slip.sosten());
    for (int i = 0; i < frame->childCount(); ++i) {
        QAccessibleInterface *item = frame->child(i);
        if (!item->state().invisible && item->role() != QAccessible::Separator)
            heard << item->text(QAccessible::Name);
    }
    return heard;
}

// A slip of 12 secondary hours for "Ana", as a user asks for it.
void calculateHours(const QString &hours)
{
    Ingreso &ingreso = currentDesk().ingreso();
    test::type(child<QLineEdit>(ingreso, "docente"), QStringLiteral("Ana"));
    test::click(child<QAbstractButton>(ingreso, "horasmedio"));
    test::type(child<QLineEdit>(ingreso, "numerohorasmed"), hours);
    test::click(child<QAbstractButton>(ingreso, "Command1"));
}

// The focus ring as it is on the screen: how many pixels of the two-pixel
// band just inside the control's edge are its dark blue, out of how many.
constexpr QRgb kRing = qRgb(0, 0, 128);
double ringShare(const QImage &window, const QWidget *control)
{
    const QRect area(control->mapTo(control->window(), QPoint(0, 0)), control->size());
    const QRect outer = area.adjusted(1, 1, -1, -1);
    const QRect inner = outer.adjusted(2, 2, -2, -2);
    int band = 0, blue = 0;
    for (int y = outer.top(); y <= outer.bottom(); ++y) {
        for (int x = outer.left(); x <= outer.right(); ++x) {
            if (inner.contains(x, y))
                continue;
            ++band;
            blue += window.pixel(x, y) == kRing ? 1 : 0;
        }
    }
    return band ? double(blue) / band : 0;
}
// The band `width` pixels wide that starts `inset` pixels inside `area`.
QRegion band(const QRect &area, int inset, int width)
{
    const QRect outer = area.adjusted(inset, inset, -inset, -inset);
    return QRegion(outer).subtracted(QRegion(outer.adjusted(width, width, -width, -width)));
}
// Share of the pixels of `region` that are `colour`.
double share(const QImage &image, const QRegion &region, QRgb colour)
{
    int all = 0, matching = 0;
    for (const QRect &r : region) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                ++all;
                matching += image.pixel(x, y) == colour ? 1 : 0;
            }
        }
    }
    return all ? double(matching) / all : 0;
}
// WCAG's contrast ratio of two colours, 1 to 21.
double contrast(QRgb a, QRgb b)
{
    const auto luminance = [](QRgb c) {
        const auto linear = [](int v) {
            const double s = v / 255.0;
            return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c));
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QImage onScreen(QWidget &window)
{
    QCoreApplication::processEvents();
    window.repaint();
    return window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

// Draws the page as printing draws it, into a picture of the window's size
// kept for the test.
class PictureOfThePrint : public SlipPrinter {
public:
    explicit PictureOfThePrint(QImage *picture) : picture_(picture) {}
    void takeFromWindow(QWidget &window, SlipPage &) override
    {
        *picture_ = QImage(window.size(), QImage::Format_RGB32);
        picture_->fill(Qt::black);
        QVERIFY(drawWindow(window, *picture_, QRectF(picture_->rect())).isEmpty());
    }
    PrintOutcome send(const SlipPage &, std::stop_token) override { return {true, {}, 1}; }

private:
    QImage *picture_;
};

} // namespace

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

    // Every control of every window that takes the focus or holds data, the
    // combo boxes' own edit fields and lists included, is announced by a name
    // once the window can be reached; the slip's panel boxes are named as
    // their labels read now.
    void everyInputHasAName()
    {
        calculateHours(QStringLiteral("12"));
        Desk &desk = currentDesk();
        for (QWidget *window : std::initializer_list<QWidget *>{&desk.ingreso(), &desk.advertencia(), &desk.haberes(),
                                                               &desk.errorWindow()}) {
            for (auto *control : window->findChildren<QWidget *>()) {
                if (control->focusPolicy() == Qt::NoFocus && !qobject_cast<QLineEdit *>(control))
                    continue;
                const QString what = QStringLiteral("%1.%2 %3").arg(window->objectName(), control->objectName(),
                                                                     control->metaObject()->className());
                QVERIFY2(!accessible(control)->text(QAccessible::Name).isEmpty(), qPrintable(what));
            }
        }
        Haberes &slip = desk.haberes();
        QCOMPARE(accessible(child(slip, "numcargo"))->text(QAccessible::Name), QStringLiteral("Cantidad de horas"));
        QCOMPARE(accessible(child(slip, "punbasicos"))->text(QAccessible::Name), QStringLiteral("Puntaje"));
    }

    // Option buttons are radio buttons that say whether they are chosen;
    // toggles and check boxes stay check boxes; choosing an option from
    // assistive technology runs its rule as a click does.
    void rolesAndStates_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("role");
        const int radio = QAccessible::RadioButton;
        const int check = QAccessible::CheckBox;
        for (const char *name : {"cargo", "horasmedio", "horassup", "Option1", "Option7", "Option12"})
            QTest::newRow(name) << name << radio;
        for (const char *name : {"opincentivo", "transporte", "inasist", "Iosper", "hijos", "conyuge"})
            QTest::newRow(name) << name << check;
    }

    void rolesAndStates()
    {
        QFETCH(QString, name);
        QFETCH(int, role);
        Ingreso &ingreso = currentDesk().ingreso();
        QAccessibleInterface *control = accessible(child(ingreso, name));
        QCOMPARE(int(control->role()), role);
        QVERIFY(control->state().checkable);
        const bool before = control->state().checked;
        QCOMPARE(before, child<QAbstractButton>(ingreso, name)->isChecked());
        if (role != QAccessible::RadioButton)
            return;
        QVERIFY(!before);
        control->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(control->state().checked);
        QVERIFY(child<QAbstractButton>(ingreso, name)->isChecked());
    }

    void anOptionChosenFromAssistiveTechnologyRunsItsRule()
    {
        Ingreso &ingreso = currentDesk().ingreso();
        const auto act = [&](const char *name, const QString &action) {
            accessible(child(ingreso, name))->actionInterface()->doAction(action);
        };
        act("horasmedio", QAccessibleActionInterface::pressAction());
        QVERIFY(test::shown(child(ingreso, "numerohorasmed")));
        act("Option4", QAccessibleActionInterface::toggleAction());
        QCOMPARE(test::caption(child(ingreso, "porcantig")), QStringLiteral("30 %"));
        QVERIFY(!accessible(child(ingreso, "Option1"))->state().checked);
    }

    // Rules and drawings are there for the eye: no name, no action.
    void decorationsAreSilent()
    {
        Desk &desk = currentDesk();
        int seen = 0;
        const auto windows = {static_cast<QWidget *>(&desk.ingreso()), static_cast<QWidget *>(&desk.advertencia()),
                              static_cast<QWidget *>(&desk.haberes())};
        for (QWidget *window : windows) {
            for (QWidget *decoration : window->findChildren<QWidget *>()) {
                const bool line = qobject_cast<forms::Line *>(decoration);
                if (!line && !qobject_cast<forms::Decoration *>(decoration) && decoration->objectName() != "Shape1")
                    continue;
                ++seen;
                QAccessibleInterface *item = accessible(decoration);
                QCOMPARE(int(item->role()), int(line ? QAccessible::Separator : QAccessible::Graphic));
                QVERIFY2(item->text(QAccessible::Name).isEmpty(), qPrintable(decoration->objectName()));
                QVERIFY(item->actionInterface()->actionNames().isEmpty());
            }
        }
        QCOMPARE(seen, 27 + 11 + 2 + 1); // Line8(0..26), eleven more rules, two pictures, a rectangle
    }

    // Walking the slip in order: each row's code, quantity, description and
    // amount together, the amount named with its row, then each total after
    // its caption. A new calculation renames the amounts.
    void theSlipIsReadRowByRow()
    {
        calculateHours(QStringLiteral("12"));
        Haberes &slip = currentDesk().haberes();
        const QStringList expected = {
            "Recibo de sueldos de:", "Ana",
            "001", "12", "Hs. N. Medio", "Hs. N. Medio: $489,132",
            "006", "0", "Adic. Art 2 y 3 Dcrto 5863/05", "Adic. Art 2 y 3 Dcrto 5863/05: $ 0",
            "014", "0,7", "Product Dcrto 5863/05", "Product Dcrto 5863/05: $ 0",
            "113", "0", "Negro de Nación", "Negro de Nación: $ 0",
            "188", "7.0", "Plus Productividad", "Plus Productividad: $ 34,2392",
            "Total Haberes", "Total Haberes: $ 523,3712",
            "Total descuentos", "Total descuentos: $ 0",
            "Liquido a pagar", "Liquido a pagar: $ 523,3712"};
        QCOMPARE(slipReading(slip), expected);
        // The explanation of an amount is its description.
        QVERIFY(accessible(child(slip, "Label1(0)"))->text(QAccessible::Description).startsWith("12 horas"));

        test::click(child<QAbstractButton>(slip, "Volver"));
        calculateHours(QStringLiteral("10"));
        const QStringList again = slipReading(slip);
        QVERIFY2(again.contains(QStringLiteral("Hs. N. Medio: $407,61")), qPrintable(again.join(" | ")));
        QVERIFY(!again.contains(QStringLiteral("Hs. N. Medio: $489,132")));
    }

    // The ring shows on the control the keyboard moved the focus to, and
    // only there: not at start, not after a click.
    void theFocusRingFollowsTheKeyboard()
    {
        Ingreso &ingreso = currentDesk().ingreso();
        QVERIFY(QTest::qWaitForWindowActive(&ingreso));
        QWidget *docente = child(ingreso, "docente");
        QWidget *cargo = child(ingreso, "cargo");
        QCOMPARE(ringShare(onScreen(ingreso), docente), 0.0); // focused at start, not by the keyboard

        QTest::keyClick(docente, Qt::Key_Tab);
        QImage screen = onScreen(ingreso);
        QCOMPARE(ringShare(screen, cargo), 1.0);
        QCOMPARE(ringShare(screen, docente), 0.0);

        QTest::keyClick(cargo, Qt::Key_Right); // the arrow keys move inside the group
        screen = onScreen(ingreso);
        QCOMPARE(ringShare(screen, child(ingreso, "horasmedio")), 1.0);
        QCOMPARE(ringShare(screen, cargo), 0.0);

        for (int i = 0; i < 4; ++i) // the incentive, its box, the transport toggle, the zone
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(ringShare(onScreen(ingreso), child(ingreso, "zona")), 1.0);

        QTest::mouseClick(docente, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), docente);
        screen = onScreen(ingreso);
        QCOMPARE(ringShare(screen, docente), 0.0);
        QCOMPARE(ringShare(screen, child(ingreso, "zona")), 0.0);
    }

    // Apart from the ring, the program's style draws every window exactly as
    // Fusion does, whatever it does to draw them faster.
    void windowsLookAsFusionDrawsThem_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("entrada") << QStringLiteral("ingreso");
        QTest::newRow("cargos") << QStringLiteral("advertencia");
        QTest::newRow("recibo") << QStringLiteral("haberes");
    }
    void windowsLookAsFusionDrawsThem()
    {
        QFETCH(QString, window);
        calculateHours(QStringLiteral("12"));
        Desk &desk = currentDesk();
        QWidget *shown = window == "ingreso" ? static_cast<QWidget *>(&desk.ingreso())
                         : window == "haberes" ? static_cast<QWidget *>(&desk.haberes())
                                               : &desk.advertencia();
        shown->show();
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        const QImage ours = shown->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        const QImage fusion = shown->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QApplication::setStyle(forms::createStyle());
        QCOMPARE(ours.size(), fusion.size());
        // The one difference: the black edge of the toggles that are on (the
        // hours option of this slip, the incentive, ...).
        QRegion edges;
        for (auto *toggle : shown->findChildren<QPushButton *>()) {
            if (toggle->isCheckable() && toggle->isChecked() && toggle->isVisible())
                edges += band(QRect(toggle->mapTo(shown, QPoint(0, 0)), toggle->size()), 0, 2);
        }
        QVERIFY(window != "ingreso" || !edges.isEmpty());
        for (int y = 0; y < ours.height(); ++y) {
            for (int x = 0; x < ours.width(); ++x) {
                const QRgb expected = edges.contains(QPoint(x, y)) ? qRgb(0, 0, 0) : fusion.pixel(x, y);
                if (ours.pixel(x, y) != expected)
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            }
        }
    }

    // A toggle that is on stands out from one that is off by at least 3:1
    // (WCAG's contrast for a state), all round its edge; inside the edge the
    // face and the caption are as before.
    void aToggleThatIsOnShowsIt_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"cargo", "horasmedio", "horassup", "opincentivo", "transporte", "inasist", "Iosper",
                                 "Osplad", "VESNAR", "APORTEJUB", "cajacomp", "Ley4035", "Seguro3011", "Option1",
                                 "Option7", "Option12"})
            QTest::newRow(name) << name;
    }
    void aToggleThatIsOnShowsIt()
    {
        QFETCH(QString, name);
        auto *toggle = child<QPushButton>(currentDesk().ingreso(), name);
        QVERIFY(toggle && toggle->isCheckable());
        // An option of a group cannot be switched off alone: drawn here off and on at will.
        if (toggle->group())
            toggle->group()->setExclusive(false);
        const auto drawn = [toggle](bool checked) {
            toggle->setChecked(checked);
            return toggle->grab().toImage().convertToFormat(QImage::Format_RGB32);
        };
        const QImage off = drawn(false);
        const QImage on = drawn(true);
        // The edge against the face just inside the outline, where it lies
        // (drawn without the caption, whose letters reach the edge here and there).
        const QString caption = toggle->text();
        toggle->setText(QString());
        const QImage bareOff = drawn(false);
        const QImage bareOn = drawn(true);
        toggle->setText(caption);
        const QRect whole = toggle->rect();
        double least = 21;
        for (const QRect &r : band(whole, 0, 2)) {
            for (int y = r.top(); y <= r.bottom(); ++y) {
                for (int x = r.left(); x <= r.right(); ++x) {
                    for (const QRect &f : band(whole, 1, 1))
                        least = std::min(least, contrast(bareOn.pixel(x, y), bareOff.pixel(f.center())));
                }
            }
        }
        QVERIFY2(least >= 3.0, qPrintable(QString::number(least)));
        const QRect inside = whole.adjusted(2, 2, -2, -2);
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x)
                QVERIFY(on.pixel(x, y) == off.pixel(x, y) || on.pixel(x, y) != qRgb(0, 0, 0));
    }

    // Focus and state never stand for each other: a toggle that is on, focused
    // from the keyboard, shows its black edge and the dark blue ring inside it.
    void theRingOfAToggleThatIsOnIsInsideItsEdge()
    {
        Ingreso &ingreso = currentDesk().ingreso();
        QVERIFY(QTest::qWaitForWindowActive(&ingreso));
        QWidget *incentive = child(ingreso, "opincentivo"); // on at start
        QTest::keyClick(child(ingreso, "docente"), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), incentive);
        const QImage screen = onScreen(ingreso);
        const QRect area(incentive->mapTo(&ingreso, QPoint(0, 0)), incentive->size());
        QCOMPARE(share(screen, band(area, 0, 2), qRgb(0, 0, 0)), 1.0);
        QCOMPARE(share(screen, band(area, 2, 2), kRing), 1.0);
    }

    // Printing draws the window with its focused control, but no ring.
    void theFocusRingIsNeverPrinted()
    {
        QImage printed;
        currentDesk().setPrinter(std::make_unique<PictureOfThePrint>(&printed));
        calculateHours(QStringLiteral("12"));
        Haberes &slip = currentDesk().haberes();
        QVERIFY(QTest::qWaitForWindowActive(&slip));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *focused = QApplication::focusWidget();
        QVERIFY(focused && slip.isAncestorOf(focused) && focused->isVisible());
        QCOMPARE(ringShare(onScreen(slip), focused), 1.0);

        QTest::keyClick(child(slip, "Imprimir"), Qt::Key_Space); // hides the buttons while printing
        QVERIFY(!printed.isNull());
        QWidget *focusedAtPrint = QApplication::focusWidget();
        QVERIFY(focusedAtPrint && slip.isAncestorOf(focusedAtPrint));
        QCOMPARE(ringShare(printed, focusedAtPrint), 0.0);
        QCOMPARE(ringShare(printed, focused), 0.0);
    }
};

QTEST_MAIN(Accessibility)
#include "test_accessibility.moc"
