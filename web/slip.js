// The slip as the core gives it: the selection panel, one table row per slip
// row in the paper slip's columns (on a phone, restyled as one block a row),
// the three totals, and each amount's explanation reachable by mouse,
// keyboard and touch.

const byId = (id) => document.getElementById(id);

let explanationCount = 0;

// An amount is a button described by its explanation, which screen readers
// read with it; the explanation shows under the row.
function amount(cell, text, explanation) {
  cell.replaceChildren();
  cell.classList.remove('open');
  if (!text) return;
  const button = document.createElement('button');
  button.type = 'button';
  button.className = 'amount-button';
  button.textContent = text;
  const tip = document.createElement('span');
  tip.className = 'explanation';
  tip.id = `explicacion-${++explanationCount}`;
  tip.setAttribute('role', 'tooltip');
  tip.textContent = explanation;
  button.setAttribute('aria-describedby', tip.id);
  cell.append(button, tip);
}

// At most one explanation is open. A tap, a click or Enter on an amount
// opens it and the next one closes it; the mouse over an amount or the focus
// arriving on it opens it too. It closes when the mouse that opened it goes,
// when the focus leaves it, with Escape, and with a tap or click anywhere
// else.
export function setUpSlip() {
  const slip = byId('Haberes');
  let open = null; // {button, how}: how it was opened, 'hover', 'focus' or 'tap'
  let pressed = null; // the amount a pointer is pressing; its click decides

  function show(button, how) {
    if (open?.button !== button) close();
    open = { button, how };
    button.parentElement.classList.add('open');
  }
  function close() {
    open?.button.parentElement.classList.remove('open');
    open = null;
  }
  const amountOf = (event) => event.target.closest?.('.amount-button') ?? null;

  slip.addEventListener('pointerdown', (event) => {
    pressed = amountOf(event);
  });
  slip.addEventListener('click', (event) => {
    const button = amountOf(event);
    pressed = null;
    if (!button) return;
    if (open?.button === button && open.how !== 'hover') close();
    else show(button, 'tap');
  });
  slip.addEventListener('focusin', (event) => {
    const button = amountOf(event);
    if (button && button !== pressed && open?.button !== button) show(button, 'focus');
  });
  slip.addEventListener('focusout', (event) => {
    if (open && amountOf(event) === open.button && !open.button.parentElement.contains(event.relatedTarget)) close();
  });
  slip.addEventListener('pointerover', (event) => {
    const button = amountOf(event);
    if (event.pointerType === 'mouse' && button && open?.button !== button) show(button, 'hover');
  });
  slip.addEventListener('pointerout', (event) => {
    if (event.pointerType === 'mouse' && open?.how === 'hover' && amountOf(event) === open.button) close();
  });
  document.addEventListener('keydown', (event) => {
    pressed = null; // a press let go elsewhere; the focus now follows the keys
    if (event.key === 'Escape') close();
  });
  // A touch elsewhere closes it at once: some phones send no click for a
  // tap on text.
  document.addEventListener('pointerdown', (event) => {
    if (open && !open.button.parentElement.contains(event.target)) close();
  });
}

// Shows one slip. `cargo` is the chooser's content the slip was computed
// from: its point boxes stand in the panel on the cargo path.
export function showSlip(slip, { teacher, dateLine, cargo }) {
  explanationCount = 0;
  const { head } = slip;
  byId('slip-docente').textContent = teacher;
  byId('carsel').textContent = head.carsel;
  byId('Label11').textContent = head.label11;
  byId('numcargo').textContent = head.numcargo;
  byId('punbasicos').textContent = head.punbasicos;
  const points = { 'panel-compbas': cargo.compbas, 'panel-proljor': cargo.proljor, 'panel-jorcom': cargo.jorcom,
    'panel-tardif': cargo.tardif };
  for (const [id, text] of Object.entries(points)) byId(id).textContent = head.showPointBoxes ? text : '';
  for (const box of document.querySelectorAll('.point-box')) box.hidden = !head.showPointBoxes;

  const body = byId('sosten').tBodies[0];
  body.replaceChildren();
  for (const row of slip.rows) {
    const tr = body.insertRow();
    const code = document.createElement('th');
    code.scope = 'row';
    code.textContent = row.code;
    tr.append(code);
    tr.insertCell().textContent = row.showQuantity ? row.quantity : '';
    tr.insertCell().textContent = row.description;
    const earnings = tr.insertCell();
    const deductions = tr.insertCell();
    earnings.className = deductions.className = 'amount';
    tr.className = row.column === 'earnings' ? 'earning' : 'deduction';
    const [own, other] = row.column === 'earnings' ? [earnings, deductions] : [deductions, earnings];
    amount(own, row.amount, row.explanation);
    other.replaceChildren();
  }
  amount(byId('thaberes'), slip.thaberes, slip.thaberesExplanation);
  amount(byId('tdescuentos'), slip.tdescuentos, slip.tdescuentosExplanation);
  amount(byId('liquido'), slip.liquido, slip.liquidoExplanation);
  byId('Text10').textContent = dateLine;
  byId('Haberes').hidden = false;
}
