// The entry window's reactions to clicks: what each category, optional item
// and seniority band shows, hides or resets. None of them computes pay or
// checks what the user typed.

#include "entry/ingreso.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <initializer_list>

#include "calc/scale.h"
#include "forms/locale_text.h"

namespace recibo {

namespace {

using Widgets = std::initializer_list<QWidget *>;
using Boxes = std::initializer_list<QLineEdit *>;

void showAll(Widgets widgets, bool visible)
{
    for (QWidget *widget : widgets)
        widget->setVisible(visible);
}

// An unchosen quantity counts for nothing: its box goes back to "0".
void reset(Boxes boxes)
{
    for (QLineEdit *box : boxes)
        box->setText(QStringLiteral("0"));
}

} // namespace

void Ingreso::connectRules()
{
    // Categories. Only a click runs these rules: when "Listo", "Salir sin
    // datos" or "Volver" switch an option off, nothing else changes.
    connect(cargo_, &QAbstractButton::clicked, this, [this] {
        emit cargoCategoryClicked(); // the selection dialog opens
        showAll({numerohorasmed_, label3_, label2_, label7_, label6_}, false);
        showAll({numhorascod06_, numhorasincen_, numhorascod113_}, false);
        reset({numhorascod06_, numhorasincen_, numhorascod113_, numerohorasmed_});
        showAll({numerohorassup_, label4_}, false);
        reset({numerohorassup_});
    });
    // The hours categories keep what was typed in the three shared boxes;
    // only "Cargo" sets those back to "0".
    connect(horasmedio_, &QAbstractButton::clicked, this, [this] {
        showAll({numerohorasmed_, label3_, label2_, label7_, label6_, numhorascod06_, numhorasincen_, numhorascod113_},
                true);
        emit hoursCategoryClicked(); // the selection dialog steps back
        setChosenCargoDisplayVisible(false);
        showAll({numerohorassup_, label4_}, false);
        reset({numerohorassup_});
    });
    connect(horassup_, &QAbstractButton::clicked, this, [this] {
        showAll({numerohorassup_, label4_, label2_, label7_, label6_, numhorascod06_, numhorasincen_, numhorascod113_},
                true);
        emit hoursCategoryClicked();
        reset({numerohorasmed_});
        showAll({numerohorasmed_, label3_}, false);
        setChosenCargoDisplayVisible(false);
    });

    // Optional quantities: checked shows the field; unchecked hides it and
    // sets it back to "0", so an unchecked item counts for nothing.
    struct Quantity {
        QAbstractButton *check;
        QLineEdit *field;
        QLabel *caption; // shown before the field and hidden after it; may be absent
    };
    const Quantity quantities[] = {
        {inasist_, dinasist_, nullptr},
        {transporte_, cantkm_, mensajekm_},
        {hijos_, cantidadhijos_, nullptr},
        {hijosdisc_, cantidadhijosdisc_, nullptr},
    };
    for (const Quantity &quantity : quantities) {
        connect(quantity.check, &QAbstractButton::toggled, this, [quantity](bool checked) {
            if (checked) {
                if (quantity.caption)
                    quantity.caption->show();
                quantity.field->show();
                return;
            }
            quantity.field->hide();
            if (quantity.caption)
                quantity.caption->hide();
            reset({quantity.field});
        });
    }

    // The incentive is mirrored beside its box; the calculation reads the box.
    connect(opincentivo_, &QAbstractButton::toggled, this,
            [this](bool checked) { text1_->setText(checked ? QStringLiteral("Si") : QStringLiteral("No")); });

    // Seniority: the band's percentage is shown; the calculation takes the
    // percentage from the band chosen.
    for (std::size_t i = 0; i < seniority_.size(); ++i) {
        const QString percent = forms::qtext(scale::kSeniorityPercentTexts[i + 1].view());
        connect(seniority_[i], &QAbstractButton::clicked, this, [this, percent] { porcantig_->setText(percent); });
    }

    // The zone field: typing never adds an item, and text equal to an item's
    // text selects that item, as picking it would.
    connect(zona_, &QComboBox::editTextChanged, this, [this](const QString &text) {
        const int item = zona_->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (item >= 0 && item != zona_->currentIndex())
            zona_->setCurrentIndex(item);
    });
}

} // namespace recibo
