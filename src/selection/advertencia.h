#pragma once

#include <string_view>

#include "calc/pay_input.h"
#include "catalogue/catalogue.h"
#include "forms/form.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace recibo {

// The dialog in which the cargo is chosen, by its code or by its name. It
// keeps the choice in its own controls for the whole run; the calculation
// reads it from there. What it tells the other windows goes out as signals.
//
// Besides the boxes the user sees, the dialog keeps the catalogue's other
// columns as hidden lists, each with its own selected row. Choosing by code
// or by name selects the same row in all of them; only "Salir sin datos"
// lets them drift apart (it deselects the code list alone).
class Advertencia : public forms::Form {
    Q_OBJECT
public:
    Advertencia();

    // Shows the dialog without blocking, exactly as it was left.
    void open();

    // The chosen cargo as the calculation reads it.
    CargoChoice choice() const;

    // One hidden column of the catalogue and the row selected in it.
    struct HiddenList {
        std::string_view CargoRow::*column;
        int selected = -1; // -1: no row
        // The selected row's text, empty when no row is selected.
        QString selectedText() const;
    };
    const HiddenList &codigocargo() const { return codigocargo_; }
    const HiddenList &puntosbasicos() const { return puntosbasicos_; }

signals:
    // The code box's rule has run and found `row` (-1 for none).
    void codeChecked(int row);
    // "Listo": the choice as the dialog shows it, for the entry window's
    // display and the slip's selection panel.
    void cargoChosen(const recibo::CargoChoice &cargo);
    // "Cargo" no longer stands: "Salir sin datos", or "Listo" with no code.
    void cargoWithdrawn();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void codeChanged();
    void namePicked(int row);
    void setCode(const QString &code);
    void listo();
    void salirSinDatos();

    QLineEdit *codcargo_;
    QComboBox *cargox_;
    QLineEdit *punbas_;
    QLineEdit *compbas_;
    QLineEdit *proljor_;
    QLineEdit *jorcom_;
    QLineEdit *tardif_;
    QPushButton *listo_;
    QPushButton *salir_;

    HiddenList codigocargo_{&CargoRow::codigocargo};
    HiddenList puntosbasicos_{&CargoRow::puntosbasicos};
    HiddenList compbasico_{&CargoRow::compbasico};
    HiddenList tareadif_{&CargoRow::tareadif};
    HiddenList jorcompleta_{&CargoRow::jorcompleta};
    HiddenList proljornada_{&CargoRow::proljornada};

    // Set while the code and name rules run: the changes they make to the
    // boxes must not start further rounds of the rules.
    bool applying_ = false;
};

} // namespace recibo
