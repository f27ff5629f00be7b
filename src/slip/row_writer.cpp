#include "slip/row_writer.h"

#include <QLabel>

#include "forms/controls.h"
#include "forms/locale_text.h"

namespace recibo {

using forms::qtext;

void RowWriter::clear()
{
    for (QWidget *rule : rows_.rule)
        rule->hide();
    counter_ = 0;
    for (QLabel *amount : rows_.amount)
        amount->hide();
    for (QLabel *quantity : rows_.quantity)
        quantity->hide();
    for (QLabel *description : rows_.description)
        description->hide();
    for (QLabel *code : rows_.cod)
        code->hide();
}

void RowWriter::write(const SlipRow &row)
{
    const auto i = static_cast<std::size_t>(counter_);
    if (i >= kSlipPositions)
        return; // no calculation writes more rows than the slip holds
    QLabel *code = rows_.cod[i];
    QLabel *quantity = rows_.quantity[i];
    QLabel *description = rows_.description[i];
    QLabel *amount = rows_.amount[row.column == Column::Deductions ? i + kSlipPositions : i];

    code->show();
    if (row.showQuantity)
        quantity->show();
    description->show();
    amount->show();

    code->setText(qtext(row.code));
    quantity->setText(qtext(row.quantity));
    description->setText(qtext(row.description));
    forms::setCaption(amount, qtext(row.amount));
    amount->setToolTip(qtext(row.explanation));
    // Heard on its own, an amount says which row it belongs to.
    amount->setAccessibleName(description->text() + QStringLiteral(": ") + amount->text());

    rows_.rule[i]->show();
    ++counter_;
}

} // namespace recibo
