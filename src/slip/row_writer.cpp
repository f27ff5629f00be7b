#include "slip/row_writer.h"

#include <QLabel>

#include "forms/form.h"
#include "forms/locale_text.h"

namespace recibo {

using forms::qtext;

void RowWriter::clear()
{
    for (int i = 0; i < kSlipPositions; ++i)
        window_.element("Line8", i)->hide();
    counter_ = 0;
    for (int i = 0; i < 2 * kSlipPositions; ++i)
        window_.element("Label1", i)->hide();
    for (int i = 0; i < kSlipPositions; ++i)
        window_.element("Label10", i)->hide();
    for (int i = 0; i < kSlipPositions; ++i)
        window_.element("Label19", i)->hide();
    for (int i = 0; i < kSlipPositions; ++i)
        window_.element("cod", i)->hide();
}

void RowWriter::write(const SlipRow &row)
{
    const int i = counter_;
    if (i >= kSlipPositions)
        return; // no calculation writes more rows than the slip holds
    auto *code = window_.element<QLabel>("cod", i);
    auto *quantity = window_.element<QLabel>("Label10", i);
    auto *description = window_.element<QLabel>("Label19", i);
    const int amountIndex = row.column == Column::Deductions ? i + kSlipPositions : i;
    auto *amount = window_.element<QLabel>("Label1", amountIndex);

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

    window_.element("Line8", i)->show();
    ++counter_;
}

} // namespace recibo
