// "Comparar con mi recibo": the amounts of the slip the teacher was paid,
// typed under the exact ones, each verdict shown as its box is left. The
// core reads every amount and words every verdict and the summary; this
// module places the boxes and shows what the core answers. Nothing typed is
// kept once the comparison ends, stored or sent.

const byId = (id) => document.getElementById(id);

// The totals' boxes: their ids, the cell of the exact total (also its name
// in the core's input and answer) and its caption.
const TOTALS = [
  ['recibido-thaberes', 'thaberes', 'Label15'],
  ['recibido-tdescuentos', 'tdescuentos', 'Label16'],
  ['recibido-liquido', 'liquido', 'Label17'],
];

const ENDED = 'La comparación con su recibo terminó: el recibo se calculó de nuevo y los importes que escribió se borraron.';

// A refused amount compares nothing; its message says why.
const stateOf = (outcome) => (outcome === 'rechazado' ? 'sin-dato' : outcome);

// An amount box under the exact amount in `cell`, with its verdict beside it.
function addBox(cell, id, labelledBy) {
  const check = document.createElement('div');
  check.className = 'paid-box';
  const input = document.createElement('input');
  Object.assign(input, { type: 'text', id, inputMode: 'decimal', autocomplete: 'off' });
  input.setAttribute('aria-labelledby', labelledBy);
  const verdict = document.createElement('span');
  verdict.className = 'verdict';
  verdict.id = `${id}-resultado`;
  check.append(input, verdict);
  cell.append(check);
  return input;
}

// A refusal stands above its box, marks it and describes it; one left as it
// was is not written again, so that it is announced once.
function refuse(input, problem) {
  const id = `${input.id}-error`;
  if (problem) input.setAttribute('aria-describedby', id);
  else input.removeAttribute('aria-describedby');
  const shown = byId(id);
  if ((shown?.textContent ?? '') === problem) return;
  shown?.remove();
  input.removeAttribute('aria-invalid');
  if (!problem) return;
  const message = document.createElement('p');
  message.className = 'error-message';
  message.id = id;
  message.setAttribute('role', 'alert');
  message.textContent = problem;
  input.before(message);
  input.setAttribute('aria-invalid', 'true');
}

// One box's verdict, in words beside it and as the state of what holds it.
// Screen readers hear it with the box, and for an amount that differs the
// exact amount's explanation too.
function showCheck(input, check, holder = input.closest('tr')) {
  holder.dataset.estado = stateOf(check.outcome);
  const verdict = input.parentElement.querySelector('.verdict');
  verdict.textContent = check.outcome === 'rechazado' ? '' : check.verdict;
  refuse(input, check.problem);
  const explanation = check.outcome === 'difiere' ? input.closest('td')?.querySelector('.explanation') : null;
  const describedBy = [check.problem && `${input.id}-error`, verdict.id, explanation?.id].filter(Boolean);
  input.setAttribute('aria-describedby', describedBy.join(' '));
}

// `shownInput()` gives the input of the slip on view.
export function setUpComparison(core, shownInput) {
  const slip = byId('Haberes');
  const summary = byId('comparacion-resumen');
  const added = byId('agregados');
  const opener = byId('Comparar');
  const closer = byId('comparar-fin');
  const extras = [byId('comparar-hint'), byId('comparacion-agregados')];
  let rowBoxes = []; // one a slip row, in its order
  let comparing = false;
  let addedCount = 0;

  const part = (group, name) => group.querySelector(`[data-part="${name}"]`);
  const typed = () => ({
    rows: rowBoxes.map((input) => input.value),
    ...Object.fromEntries(TOTALS.map(([id, name]) => [name, byId(id).value])),
    added: [...added.children].map((group) => ({
      code: part(group, 'code').value,
      description: part(group, 'description').value,
      amount: part(group, 'amount').value,
      deduction: part(group, 'deduction').checked,
    })),
  });

  // Every box compared again and its verdict shown; answers the comparison
  // as text.
  function update() {
    const answer = core.compare(shownInput(), typed());
    if (!answer.ok) return ''; // the slip on view was computed from this input
    answer.rows.forEach((check, i) => showCheck(rowBoxes[i], check));
    for (const [id, name] of TOTALS) showCheck(byId(id), answer[name]);
    [...added.children].forEach((group, i) => {
      refuse(part(group, 'code'), answer.added[i].codeProblem);
      showCheck(part(group, 'amount'), answer.added[i].amount, group);
    });
    const { compared, differing, lines } = answer.summary;
    summary.replaceChildren(
      ...['Comparación con su recibo', ...lines].map((line, i) => {
        const paragraph = document.createElement('p');
        paragraph.textContent = line;
        if (i === 0) paragraph.className = 'title';
        return paragraph;
      }),
    );
    Object.assign(summary.dataset, { comparados: compared, difieren: differing });
    return answer.text;
  }

  function open() {
    rowBoxes = [...slip.querySelectorAll('tbody tr')].map((tr, i) => {
      const [code, , concept] = tr.cells;
      code.id = `fila-${i + 1}-codigo`;
      concept.id = `fila-${i + 1}-concepto`;
      const cell = tr.querySelector('.amount-button')?.parentElement ?? tr.cells[3];
      return addBox(cell, `recibido-${i + 1}`, `${code.id} ${concept.id}`);
    });
    for (const [id, name, caption] of TOTALS) addBox(byId(name), id, caption);
    comparing = true;
    slip.classList.add('comparing');
    summary.classList.remove('screen-only');
    for (const element of [summary, ...extras, closer]) element.hidden = false;
    opener.hidden = true;
    update();
    rowBoxes[0]?.focus();
  }

  // Ends the comparison, if one is open, and clears what was typed; after a
  // new calculation the summary's place says so, when anything had been
  // typed (and is empty again at the next).
  function end({ recalculated = false } = {}) {
    const filled = [...slip.querySelectorAll('.paid-box input, .added input')].some((input) =>
      input.type === 'checkbox' ? input.checked : input.value.trim() !== '');
    for (const check of slip.querySelectorAll('.paid-box')) check.remove();
    for (const holder of slip.querySelectorAll('[data-estado]')) delete holder.dataset.estado;
    added.replaceChildren();
    rowBoxes = [];
    comparing = false;
    slip.classList.remove('comparing');
    for (const element of [...extras, closer]) element.hidden = true;
    opener.hidden = false;
    summary.textContent = recalculated ? ENDED : '';
    summary.hidden = !(recalculated && filled);
    summary.classList.add('screen-only');
    delete summary.dataset.comparados;
    delete summary.dataset.difieren;
  }

  opener.addEventListener('click', open);
  closer.addEventListener('click', () => {
    end();
    opener.focus();
  });
  // A verdict can change the height of its row and of the summary. A box
  // is left by pressing the next one or a button, and the browser finds
  // what was pressed again when the press ends: the boxes are compared once
  // it has, so that nothing moves under the finger or the pointer.
  let pressing = false;
  let pending = false;
  const compareLeft = () => {
    if (pressing || !pending) return;
    pending = false;
    if (comparing) update();
  };
  document.addEventListener('pointerdown', () => (pressing = true), true);
  for (const type of ['pointerup', 'pointercancel'])
    document.addEventListener(type, () => {
      pressing = false;
      setTimeout(compareLeft);
    }, true);
  slip.addEventListener('change', (event) => {
    if (!event.target.closest('.paid-box, .added')) return;
    pending = true;
    setTimeout(compareLeft);
  });
  byId('agregar-codigo').addEventListener('click', () => {
    const group = byId('agregado-modelo').content.firstElementChild.cloneNode(true);
    addedCount += 1;
    for (const input of group.querySelectorAll('[data-part]')) {
      input.id = `agregado-${addedCount}-${input.dataset.part}`;
      const label = input.previousElementSibling;
      if (label) label.htmlFor = input.id;
    }
    added.append(group);
    part(group, 'code').focus();
  });
  added.addEventListener('click', (event) => {
    if (!event.target.closest('.remove')) return;
    event.target.closest('.added').remove();
    update();
    byId('agregar-codigo').focus();
  });
  // A print started from the browser's menu, with a box not yet left.
  window.addEventListener('beforeprint', () => comparing && update());

  return {
    end,
    // The comparison as text, to copy after the slip's; '' when none is open.
    text: () => (comparing ? update() : ''),
  };
}
