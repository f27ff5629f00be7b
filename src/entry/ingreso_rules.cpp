// The entry window's reactions to clicks: what each category, optional item
// and seniority band shows, hides or resets. None of them computes pay or
// checks what the user typed.

#include "entry/ingreso.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

#include <initializer_list>

#include "app/desk.h"
#include "calc/scale.h"
#include "catalogue/advertencia.h"
#include "forms/locale_text.h"

namespace recibo {

void Ingreso::connectRules()
{
    const auto widget = [this](const char *name) { return control(QString::fromLatin1(name)); };
    const auto box = [this](const char *name) { return control<QLineEdit>(QString::fromLatin1(name)); };
    const auto button = [this](const char *name) { return control<QAbstractButton>(QString::fromLatin1(name)); };
    const auto setVisible = [widget](std::initializer_list<const char *> names, bool visible) {
        for (const char *name : names)
            widget(name)->setVisible(visible);
    };
    const auto reset = [box](std::initializer_list<const char *> names) {
        for (const char *name : names)
            box(name)->setText(QStringLiteral("0"));
    };

    // Categories. Only a click runs these rules: when "Listo", "Salir sin
    // datos" or "Volver" switch an option off, nothing else changes.
    connect(button("cargo"), &QAbstractButton::clicked, this, [this, setVisible, reset] {
        desk_.advertencia().open();
        setVisible({"numerohorasmed", "Label3", "Label2", "Label7", "Label6"}, false);
        setVisible({"numhorascod06", "numhorasincen", "numhorascod113"}, false);
        reset({"numhorascod06", "numhorasincen", "numhorascod113", "numerohorasmed"});
        setVisible({"numerohorassup", "Label4"}, false);
        reset({"numerohorassup"});
    });
    // The hours categories keep what was typed in the three shared boxes;
    // only "Cargo" sets those back to "0".
    connect(button("horasmedio"), &QAbstractButton::clicked, this, [this, setVisible, reset] {
        setVisible({"numerohorasmed", "Label3", "Label2", "Label7", "Label6", "numhorascod06", "numhorasincen",
                    "numhorascod113"},
                   true);
        desk_.advertencia().hide();
        setChosenCargoDisplayVisible(false);
        setVisible({"numerohorassup", "Label4"}, false);
        reset({"numerohorassup"});
    });
    connect(button("horassup"), &QAbstractButton::clicked, this, [this, setVisible, reset] {
        setVisible({"numerohorassup", "Label4", "Label2", "Label7", "Label6", "numhorascod06", "numhorasincen",
                    "numhorascod113"},
                   true);
        desk_.advertencia().hide();
        reset({"numerohorasmed"});
        setVisible({"numerohorasmed", "Label3"}, false);
        setChosenCargoDisplayVisible(false);
    });

    // Optional quantities: checked shows the field; unchecked hides it and
    // sets it back to "0", so an unchecked item counts for nothing.
    struct Quantity {
        const char *check;
        const char *field;
        const char *caption; // shown before the field and hidden after it; may be absent
    };
    constexpr Quantity quantities[] = {
        {"inasist", "dinasist", nullptr},
        {"transporte", "cantkm", "mensajekm"},
        {"hijos", "cantidadhijos", nullptr},
        {"hijosdisc", "cantidadhijosdisc", nullptr},
    };
    for (const Quantity &quantity : quantities) {
        connect(button(quantity.check), &QAbstractButton::toggled, this, [widget, box, quantity](bool checked) {
            if (checked) {
                if (quantity.caption)
                    widget(quantity.caption)->show();
                widget(quantity.field)->show();
                return;
            }
            widget(quantity.field)->hide();
            if (quantity.caption)
                widget(quantity.caption)->hide();
            box(quantity.field)->setText(QStringLiteral("0"));
        });
    }

    // The incentive is mirrored beside its box; the calculation reads the box.
    connect(button("opincentivo"), &QAbstractButton::toggled, this,
            [box](bool checked) { box("Text1")->setText(checked ? QStringLiteral("Si") : QStringLiteral("No")); });

    // Seniority: the band's percentage is shown; the calculation takes it
    // from the band itself.
    for (int option = 1; option <= scale::kSeniorityOptions; ++option) {
        const QString percent = forms::qtext(scale::kSeniorityPercentTexts[static_cast<std::size_t>(option)].view());
        connect(control<QAbstractButton>(QStringLiteral("Option%1").arg(option)), &QAbstractButton::clicked, this,
                [box, percent] { box("porcantig")->setText(percent); });
    }

    // The zone field: typing never adds an item, and text equal to an item's
    // text selects that item, as picking it would.
    auto *zona = control<QComboBox>(QStringLiteral("zona"));
    connect(zona, &QComboBox::editTextChanged, this, [zona](const QString &text) {
        const int item = zona->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (item >= 0 && item != zona->currentIndex())
            zona->setCurrentIndex(item);
    });
}

} // namespace recibo
