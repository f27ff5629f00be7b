// The cargo chooser: a cargo is chosen by typing its three-digit code or by
// picking its name; its five point boxes are filled from the catalogue and
// the four editable ones may be overtyped. What they hold when "Calcular" is
// pressed is what the calculation uses.

const byId = (id) => document.getElementById(id);

// Each point box and the catalogue column it is filled from.
const POINT_BOXES = [
  ['punbas', 'puntosbasicos'],
  ['proljor', 'proljornada'],
  ['jorcom', 'jorcompleta'],
  ['tardif', 'tareadif'],
  ['compbas', 'compbasico'],
];

// Names repeat in the catalogue, so each suggestion carries its code too:
// the suggestion picked, not the name, decides the row.
const suggestion = (row) => `${row.cargox} (${row.codigocargo})`;

export function setUpChooser(core, { onWithdraw }) {
  const { catalogue } = core;
  const codcargo = byId('codcargo');
  const cargox = byId('cargox');
  const listo = byId('Listo');
  const chooser = byId('advertencia');
  let selected = -1; // the row chosen, -1 for none

  const suggestions = new Map();
  const list = byId('cargos');
  catalogue.forEach((row, index) => {
    const text = suggestion(row);
    suggestions.set(text, index);
    list.append(new Option(text));
  });

  // Any change of the code box: the row whose code is the whole text, or none.
  function codeChanged() {
    selected = core.findCargoByCode(codcargo.value);
    const row = selected < 0 ? null : catalogue[selected];
    cargox.value = row ? row.cargox : '';
    for (const [box, column] of POINT_BOXES) byId(box).value = row ? row[column] : '';
    listo.disabled = selected < 0;
  }

  codcargo.addEventListener('input', codeChanged);
  // A click into the code box starts a new code: the box is emptied.
  codcargo.addEventListener('click', () => {
    codcargo.value = '';
    codeChanged();
  });
  // A suggestion picked sets the code, which fills the point boxes; a name
  // typed by hand changes nothing else and is shown as typed.
  cargox.addEventListener('input', () => {
    const picked = suggestions.get(cargox.value);
    if (picked === undefined) return;
    codcargo.value = catalogue[picked].codigocargo;
    codeChanged();
  });

  function showChosen(visible) {
    byId('cargoselect-display').hidden = !visible;
  }

  function close() {
    chooser.hidden = true;
  }

  // "Listo": the chosen cargo is shown on the form and the chooser closes.
  // Accepting the untouched "0" chooses no cargo.
  function accept() {
    if (listo.disabled) return;
    showChosen(true);
    byId('cargoselect').textContent = cargox.value;
    const shown = [
      ['codcarval', codcargo.value],
      ['puncarval', byId('punbas').value],
      ['punproljorval', byId('proljor').value],
      ['punjorcomval', byId('jorcom').value],
      ['puntardifval', byId('tardif').value],
      ['puncompbasval', byId('compbas').value],
    ];
    for (const [id, text] of shown) byId(id).textContent = text;
    // "Listo" is enabled only on a code of the catalogue or the untouched "0".
    if (core.findCargoByCode(codcargo.value) < 0) onWithdraw();
    close();
    byId('cargo').focus();
  }

  // "Salir sin datos": the cargo choice is withdrawn; the code box stays.
  function leave() {
    cargox.value = '';
    selected = -1;
    for (const [box] of POINT_BOXES) byId(box).value = '0';
    close();
    onWithdraw();
    byId('cargo').focus();
  }

  listo.addEventListener('click', accept);
  byId('SalirSinDatos').addEventListener('click', leave);
  // Enter in the chooser accepts, as its default button does; never "Calcular".
  chooser.addEventListener('keydown', (event) => {
    if (event.key !== 'Enter' || event.target.tagName !== 'INPUT') return;
    event.preventDefault();
    accept();
  });

  return {
    open() {
      chooser.hidden = false;
    },
    close,
    showChosen,
    // The cargo as the chooser holds it, every field as typed.
    choice() {
      const row = selected < 0 ? null : catalogue[selected];
      return {
        rowSelected: row !== null,
        codeTyped: codcargo.value,
        code: row ? row.codigocargo : '',
        basicPointsItem: row ? row.puntosbasicos : '',
        name: cargox.value,
        punbas: byId('punbas').value,
        compbas: byId('compbas').value,
        jorcom: byId('jorcom').value,
        proljor: byId('proljor').value,
        tardif: byId('tardif').value,
      };
    },
  };
}
