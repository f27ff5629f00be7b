// The slip as the core gives it: the selection panel, one table row per slip
// row in the paper slip's columns, the three totals, and each amount's
// explanation reachable by mouse, keyboard and touch.

const byId = (id) => document.getElementById(id);

let explanationCount = 0;

// An amount is a button described by its explanation: hovering or focusing
// shows it, a tap or Enter keeps it open, Escape hides it.
function amount(cell, text, explanation) {
  cell.replaceChildren();
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
  button.setAttribute('aria-expanded', 'false');
  cell.append(button, tip);
}

// An explanation closed by a tap, a click or Escape stays closed while its
// amount keeps the focus; it opens again on the next tap, or when the focus
// or the mouse comes back to it.
function toggle(button, open, dismiss = !open) {
  button.setAttribute('aria-expanded', String(open));
  button.parentElement.classList.toggle('open', open);
  button.parentElement.classList.toggle('dismissed', dismiss);
}

export function setUpSlip() {
  const slip = byId('Haberes');
  slip.addEventListener('click', (event) => {
    const button = event.target.closest('.amount-button');
    if (!button) return;
    const open = button.getAttribute('aria-expanded') !== 'true';
    for (const other of slip.querySelectorAll('.amount-button[aria-expanded="true"]')) {
      if (other !== button) toggle(other, false, false);
    }
    toggle(button, open);
  });
  slip.addEventListener('keydown', (event) => {
    const button = event.target.closest('.amount-button');
    if (event.key === 'Escape' && button) toggle(button, false);
  });
  const forget = (event) => {
    const button = event.target.closest?.('.amount-button');
    if (button) button.parentElement.classList.remove('dismissed');
  };
  slip.addEventListener('focusout', forget);
  // A mouse coming back over the amount shows it again; a finger's tap is a
  // click, which toggles it.
  slip.addEventListener('pointerover', (event) => event.pointerType === 'mouse' && forget(event));
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
