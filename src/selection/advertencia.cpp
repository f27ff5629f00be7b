#include "selection/advertencia.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopedValueRollback>

#include "calc/numbers.h"
#include "forms/locale_text.h"
#include "forms/palette.h"

namespace recibo {

using namespace forms;

namespace {

constexpr std::string_view kCodeTip = "Escriba el código del cargo. Si luego de escribir las tres cifras no se "
                                      "selecciona el cargo, vuelva a elegir un código correcto.";
constexpr std::string_view kAutomaticTip = "Se selecciona automáticamente";

// A column caption above its box.
// The control table keeps one control to a line or two.
// clang-format off
constexpr Control heading(std::string_view name, int left, int width, std::string_view text)
{
    return {.name = name, .kind = Kind::Label, .left = left, .top = 720, .width = width, .height = 330,
            .text = text, .bg = kPaleCyan, .font = kArial9Bold, .flags = Centred};
}

// The code box and the point boxes share a row and a look; each is announced
// by the caption above it.
constexpr Control box(std::string_view name, int left, int width, std::string_view text, std::string_view tooltip,
                      std::string_view caption, Flags flags = None)
{
    return {.name = name, .kind = Kind::TextBox, .left = left, .top = 1320, .width = width, .height = 330,
            .text = text, .tooltip = tooltip, .fg = kBlue192, .bg = kLightCyan, .font = kArial975Bold,
            .flags = Centred | flags, .accessibleName = caption};
}

constexpr Control kControls[] = {
    {.name = "Label2", .kind = Kind::Label, .left = 60, .top = 105, .width = 5895, .height = 420,
     .text = "Seleccione el cargo o el código del cargo", .bg = kGreen},
    heading("Label1", 120, 1695, "Código del cargo"),
    heading("Label3", 1920, 1485, "Puntos básicos"),
    heading("Label8", 3600, 1335, "Comp básico"),
    heading("Label5", 5040, 1485, "Prol. de jornada"),
    heading("Label6", 6600, 1395, "Jorn. completa"),
    heading("Label7", 8160, 1485, "Tarea diferenc."),

    box("codcargo", 240, 1275, "0", kCodeTip, "Código del cargo"),
    box("punbas", 2040, 1065, "", kAutomaticTip, "Puntos básicos", ReadOnly),
    // The complement box repeats the code box's advice.
    box("compbas", 3720, 1155, "", kCodeTip, "Comp básico"),
    box("proljor", 5280, 1065, "", kAutomaticTip, "Prol. de jornada"),
    box("jorcom", 6840, 960, "", kAutomaticTip, "Jorn. completa"),
    box("tardif", 8400, 960, "", kAutomaticTip, "Tarea diferenc."),

    {.name = "Label4", .kind = Kind::Label, .left = 120, .top = 2760, .width = 1485, .height = 330, .text = "Cargo",
     .bg = kGreen},
    {.name = "cargox", .kind = Kind::Combo, .left = 1785, .top = 2760, .width = 7050, .height = 345,
     .tooltip = "Seleccione el cargo", .fg = kBlue192, .bg = kLightCyan, .font = kArial9,
     .accessibleName = "Cargo"},

    {.name = "Picture1", .kind = Kind::Picture, .left = 360, .top = 3600, .width = 3975, .height = 3015},
    {.name = "Command1", .kind = Kind::Button, .left = 6480, .top = 4800, .width = 2325, .height = 435,
     .text = "Listo", .bg = kGreen, .font = kArial12Bold},
    {.name = "Command2", .kind = Kind::Button, .left = 6480, .top = 5520, .width = 2325, .height = 435,
     .text = "Salir sin datos", .bg = kGreen, .font = kArial12Bold},
};
// clang-format on

const CargoRow &row(int index) { return cargoCatalogue()[static_cast<std::size_t>(index)]; }

} // namespace

QString Advertencia::HiddenList::selectedText() const
{
    return selected < 0 ? QString() : qtext(row(selected).*column);
}

Advertencia::Advertencia() : Form("advertencia", QStringLiteral("Selección de cargo"), 9735, 6855, QColor(0, 128, 128))
{
    setFont(forms::formFont("Arial", 8.25));
    build(kControls);
    setFixedSize(size());

    codcargo_ = require<QLineEdit>("codcargo");
    cargox_ = require<QComboBox>("cargox");
    punbas_ = require<QLineEdit>("punbas");
    compbas_ = require<QLineEdit>("compbas");
    proljor_ = require<QLineEdit>("proljor");
    jorcom_ = require<QLineEdit>("jorcom");
    tardif_ = require<QLineEdit>("tardif");
    listo_ = require<QPushButton>("Command1");
    salir_ = require<QPushButton>("Command2");

    // The name list: every name of the catalogue in its order, so that the
    // index picked is the index into the hidden lists.
    for (const CargoRow &cargo : cargoCatalogue())
        cargox_->addItem(qtext(cargo.cargox));
    cargox_->setCurrentIndex(-1);
    cargox_->setEditText(QString());
    // Names repeat, so a typed name must never choose a row: no completion
    // while typing, and no lookup of the typed text when the field is left.
    cargox_->setCompleter(nullptr);
    disconnect(cargox_->lineEdit(), &QLineEdit::editingFinished, cargox_, nullptr);

    // The rules start with the initial content in place: the "0" of the code
    // box finds no row, yet "Listo" is enabled until the box first changes.
    connect(codcargo_, &QLineEdit::textChanged, this, &Advertencia::codeChanged);
    connect(cargox_, &QComboBox::activated, this, &Advertencia::namePicked);
    codcargo_->installEventFilter(this);
    connect(listo_, &QPushButton::clicked, this, &Advertencia::listo);
    connect(salir_, &QPushButton::clicked, this, &Advertencia::salirSinDatos);

    // Enter accepts (when "Listo" is enabled); Escape is bound to nothing.
    setDefaultButton(listo_);
    setTabOrder(codcargo_, cargox_);
    setTabOrder(cargox_, listo_);
    setTabOrder(listo_, salir_);
    setTabOrder(salir_, punbas_);
    setTabOrder(punbas_, compbas_);
    setTabOrder(compbas_, proljor_);
    setTabOrder(proljor_, jorcom_);
    setTabOrder(jorcom_, tardif_);
    codcargo_->setFocus();
}

void Advertencia::open() { bringForward(); }

CargoChoice Advertencia::choice() const
{
    CargoChoice choice;
    choice.rowSelected = codigocargo_.selected >= 0;
    choice.code = utf8(codigocargo_.selectedText());
    choice.codeTyped = utf8(codcargo_->text());
    choice.basicPointsItem = utf8(puntosbasicos_.selectedText());
    choice.name = utf8(cargox_->currentText());
    choice.punbas = utf8(punbas_->text());
    choice.compbas = utf8(compbas_->text());
    choice.jorcom = utf8(jorcom_->text());
    choice.proljor = utf8(proljor_->text());
    choice.tardif = utf8(tardif_->text());
    return choice;
}

bool Advertencia::eventFilter(QObject *watched, QEvent *event)
{
    // A click into the code box starts a new code: the box is emptied.
    if (watched == codcargo_ && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        setCode(QString());
    return Form::eventFilter(watched, event);
}

// Sets the code box and runs its rule exactly once, also when the text does
// not change (the box then reports no change of its own).
void Advertencia::setCode(const QString &code)
{
    if (codcargo_->text() == code)
        codeChanged();
    else
        codcargo_->setText(code);
}

// Any change of the code box: the row whose code is the whole text, or none.
void Advertencia::codeChanged()
{
    QScopedValueRollback<bool> guard(applying_, true);
    const int found = findCargoByCode(utf8(codcargo_->text()));

    codigocargo_.selected = found;
    cargox_->setCurrentIndex(found);
    cargox_->setEditText(found < 0 ? QString() : cargox_->itemText(found));

    const std::pair<HiddenList *, QLineEdit *> points[] = {
        {&puntosbasicos_, punbas_}, {&proljornada_, proljor_}, {&jorcompleta_, jorcom_},
        {&tareadif_, tardif_},      {&compbasico_, compbas_},
    };
    for (const auto &[list, pointBox] : points) {
        list->selected = found;
        pointBox->setText(list->selectedText());
    }

    listo_->setEnabled(found >= 0);
    emit codeChecked(found);
}

// The user picked a name from the list (mouse or arrow keys). Names repeat,
// so the row picked, not its name, decides the cargo.
void Advertencia::namePicked(int picked)
{
    if (applying_ || picked < 0 || picked >= kCargoCount)
        return;
    QScopedValueRollback<bool> guard(applying_, true);
    codigocargo_.selected = picked;
    setCode(qtext(row(picked).codigocargo));
    puntosbasicos_.selected = picked;
    listo_->setEnabled(true);
    punbas_->setText(puntosbasicos_.selectedText());
}

// "Listo": the choice goes to the slip's selection panel and the entry
// window's chosen-cargo display, and the dialog steps back.
void Advertencia::listo()
{
    emit cargoChosen(choice());
    // Accepting the untouched "0" (or an emptied box) chooses no cargo. Text
    // that is no number counts as no code too.
    const auto code = readNumber(utf8(codcargo_->text()), decimalSeparator());
    if (codcargo_->text().isEmpty() || !code || *code == 0)
        emit cargoWithdrawn();
    hide();
}

// "Salir sin datos": the cargo choice is withdrawn. The code box, "Listo",
// the other hidden lists and the entry window's display stay as they are.
void Advertencia::salirSinDatos()
{
    {
        QScopedValueRollback<bool> guard(applying_, true);
        cargox_->setCurrentIndex(-1);
        cargox_->setEditText(QString());
    }
    codigocargo_.selected = -1;
    for (QLineEdit *pointBox : {punbas_, proljor_, jorcom_, tardif_, compbas_})
        pointBox->setText(QStringLiteral("0"));
    hide();
    emit cargoWithdrawn();
}

} // namespace recibo
