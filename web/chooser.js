// The cargo chooser: a cargo is chosen by typing its three-digit code or by
// its name, picked from the suggestions or typed whole; its five point boxes
// are filled from the catalogue and the four editable ones may be overtyped.
// What they hold when "Calcular" is pressed is what the calculation uses.

import { clearRefusal, showRefusal } from './entry.js';

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

// A name as a person reads it: capitals, accents and blanks make no difference.
const plain = (text) =>
  text.normalize('NFD').replace(/\p{M}/gu, '').toLowerCase().replace(/\s+/g, ' ').trim();

export function setUpChooser(core, { onWithdraw, onChange }) {
  const { catalogue } = core;
  const codcargo = byId('codcargo');
  const cargox = byId('cargox');
  const listo = byId('Listo');
  const chooser = byId('advertencia');
  const question = byId('cargox-question');
  const codes = byId('cargox-codes');
  let selected = -1; // the row chosen, -1 for none

  // The suggestions, and the rows of each name, both as a person reads them.
  const suggestions = new Map();
  const rowsNamed = new Map();
  const list = byId('cargos');
  catalogue.forEach((row, index) => {
    const text = suggestion(row);
    suggestions.set(plain(text), index);
    list.append(new Option(text));
    const name = plain(row.cargox);
    rowsNamed.set(name, [...(rowsNamed.get(name) ?? []), index]);
  });

  function forgetQuestion() {
    question.textContent = '';
    codes.replaceChildren();
    codes.hidden = true;
  }

  // Any change of the code box: the row whose code is the whole text, blanks
  // around it left out, or none. A text of three characters or more that is
  // no code is refused at once, beside the box.
  function codeChanged() {
    const code = codcargo.value.trim();
    selected = core.findCargoByCode(code);
    const row = selected < 0 ? null : catalogue[selected];
    if (row) codcargo.value = code;
    cargox.value = row ? row.cargox : '';
    for (const [box, column] of POINT_BOXES) byId(box).value = row ? row[column] : '';
    listo.disabled = selected < 0;
    forgetQuestion();
    clearRefusal(cargox);
    if (!row && code.length >= 3) showRefusal('codcargo', `No hay un cargo con el código ${code}`);
    else clearRefusal(codcargo);
  }

  function choose(index) {
    codcargo.value = catalogue[index].codigocargo;
    codeChanged();
    onChange();
  }

  // Several cargos share the name typed: the user picks one by its code.
  function askForCode(rows) {
    question.textContent =
      `Hay ${rows.length} cargos con el nombre «${catalogue[rows[0]].cargox}»: ` +
      'toque o haga clic en el código del suyo.';
    codes.replaceChildren(
      ...rows.map((index) => {
        const row = catalogue[index];
        const button = document.createElement('button');
        button.type = 'button';
        button.textContent = `${row.codigocargo} · ${row.puntosbasicos} puntos`;
        // The choice made, "Listo" is next; the focus leaves the name box,
        // so a phone's keyboard does not come back over the chooser.
        button.addEventListener('click', () => {
          choose(index);
          listo.focus();
        });
        return button;
      }),
    );
    codes.hidden = false;
  }

  // The name box read whole: a cargo's name chooses it, as its suggestion
  // does; a name several cargos share asks for the code (when `ask`); any
  // other text renames the cargo chosen and is shown as typed. Answers what
  // it found.
  function nameTyped(ask = true) {
    const name = plain(cargox.value);
    const chosen = selected < 0 ? null : catalogue[selected];
    if (!name) return 'empty';
    if (chosen && plain(chosen.cargox) === name) return 'chosen';
    const rows = rowsNamed.get(name) ?? [];
    if (rows.length === 1) choose(rows[0]);
    else if (rows.length > 1 && ask) askForCode(rows);
    if (rows.length) return rows.length === 1 ? 'chosen' : 'shared';
    return chosen ? 'renamed' : 'unknown';
  }

  codcargo.addEventListener('input', codeChanged);
  // A suggestion picked, or a name pasted whole, chooses at once; a name
  // being typed is read when the box is left, or at "Listo", since one name
  // may begin another ("Maestro De Grado", "Maestro De Grado Diferenciado").
  // Leaving the box asks nothing: the question would move "Listo" from
  // under the finger that is pressing it.
  cargox.addEventListener('input', (event) => {
    forgetQuestion();
    clearRefusal(cargox);
    listo.disabled = selected < 0 && !cargox.value.trim();
    const picked = suggestions.get(plain(cargox.value));
    if (picked !== undefined) choose(picked);
    else if (event.inputType === 'insertFromPaste') nameTyped();
  });
  cargox.addEventListener('change', () => nameTyped(false));

  function showChosen(visible) {
    byId('cargoselect-display').hidden = !visible;
  }

  function close() {
    chooser.hidden = true;
    forgetQuestion();
  }

  // "Listo": the chosen cargo is shown on the form and the chooser closes.
  // Accepting the untouched "0" chooses no cargo. A name shared by several
  // cargos waits for its code, and a name of no cargo is refused.
  function accept() {
    if (listo.disabled) return;
    const found = nameTyped();
    if (found === 'shared') {
      codes.querySelector('button').focus();
      return;
    }
    if (found === 'unknown') {
      showRefusal('cargox', `No hay un cargo con el nombre «${cargox.value.trim()}»`);
      return;
    }
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
    if (core.findCargoByCode(codcargo.value) < 0) {
      onWithdraw();
      onChange();
    }
    close();
    byId('cargo').focus();
  }

  // "Salir sin datos": the cargo choice is withdrawn; the code box stays.
  function leave() {
    cargox.value = '';
    selected = -1;
    for (const [box] of POINT_BOXES) byId(box).value = '0';
    clearRefusal(codcargo);
    clearRefusal(cargox);
    close();
    onWithdraw();
    onChange();
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
