// The page: the entry form, the cargo chooser and the slip, on the same
// calculation core as the desktop program. The core computes and words
// everything; this module only carries the form to it and its answer back.

import { loadCore } from './core.js';
import { setUpChooser } from './chooser.js';
import { payInput, setUpEntry, withdrawCargo } from './entry.js';
import { setUpSlip, showSlip } from './slip.js';

const byId = (id) => document.getElementById(id);

const NO_CATEGORY = 'No seleccionaste cargo ni horas';

// The date and time written on the slip, in the short forms of Argentina.
const dateFormat = new Intl.DateTimeFormat('es-AR', { day: 'numeric', month: 'numeric', year: '2-digit' });
const timeFormat = new Intl.DateTimeFormat('es-AR', { hour: '2-digit', minute: '2-digit', hourCycle: 'h23' });
const dateLine = (now) => `${dateFormat.format(now)} ${timeFormat.format(now)}`;

// A refusal stands beside its field, is announced, marks the field and takes
// the focus there; what was typed stays, and so does the slip shown before.
function clearRefusal() {
  for (const message of document.querySelectorAll('.error-message')) message.remove();
  for (const field of document.querySelectorAll('[aria-invalid]')) {
    field.removeAttribute('aria-invalid');
    const describedBy = (field.getAttribute('aria-describedby') || '')
      .split(' ')
      .filter((id) => id && id !== 'error-text');
    if (describedBy.length) field.setAttribute('aria-describedby', describedBy.join(' '));
    else field.removeAttribute('aria-describedby');
  }
  for (const group of document.querySelectorAll('.has-error')) group.classList.remove('has-error');
}

function showRefusal(control, text) {
  clearRefusal();
  const field = byId(control) || byId('cargo');
  const group = field.closest('.field, fieldset');
  // Hidden fields cannot be fixed: show what holds them first.
  for (let hidden = field.closest('[hidden]'); hidden; hidden = field.closest('[hidden]')) hidden.hidden = false;
  const message = document.createElement('p');
  message.className = 'error-message';
  message.id = 'error-text';
  message.setAttribute('role', 'alert');
  message.textContent = text;
  if (group.tagName === 'FIELDSET') group.querySelector('legend').after(message);
  else group.prepend(message);
  group.classList.add('has-error');
  field.setAttribute('aria-invalid', 'true');
  field.setAttribute('aria-describedby', `${field.getAttribute('aria-describedby') || ''} error-text`.trim());
  field.focus();
}

// Loaded by start.js, which shows in the status line why the page could not
// start when this module, one it imports or the core fails.
async function start() {
  const status = byId('core-status');
  const core = await loadCore();

  const chooser = setUpChooser(core, { onWithdraw: withdrawCargo });
  setUpEntry(core.scale, chooser);
  setUpSlip();

  // What the slip on view was computed from, for "Copiar el recibo".
  let shown = null;

  byId('ingreso').addEventListener('submit', (event) => {
    event.preventDefault();
    const input = payInput(chooser.choice());
    if (input.path === 'none') {
      showRefusal('cargo', NO_CATEGORY);
      return;
    }
    const outcome = core.calculate(input);
    if (!outcome.ok) {
      showRefusal(outcome.control, outcome.message);
      return;
    }
    clearRefusal();
    shown = { input, teacher: byId('docente').value, dateLine: dateLine(new Date()) };
    showSlip(outcome.slip, { ...shown, cargo: input.cargo });
    byId('copy-status').textContent = '';
    // The slip's title takes the focus; on a phone the slip lies below the
    // form, so it is brought to the top of the screen.
    const title = byId('slip-title');
    title.focus({ preventScroll: true });
    if (title.getBoundingClientRect().top > window.innerHeight / 2) title.scrollIntoView({ block: 'start' });
  });

  const comment = byId('Text11');
  comment.addEventListener('input', () => {
    byId('comment-print').textContent = comment.value;
  });

  // Back to the data: every choice stays as it was, ready to change.
  byId('Volver').addEventListener('click', () => {
    const name = byId('docente');
    name.focus({ preventScroll: true });
    name.closest('.field').scrollIntoView({ block: 'start' });
  });

  byId('Imprimir').addEventListener('click', () => window.print());

  byId('Copiar').addEventListener('click', async () => {
    const copyStatus = byId('copy-status');
    const text = shown && core.slipText(shown.input, { ...shown, comment: comment.value });
    try {
      if (!text) throw new Error('sin recibo');
      await navigator.clipboard.writeText(text);
      copyStatus.textContent = 'Recibo copiado.';
    } catch {
      copyStatus.textContent = 'No se pudo copiar el recibo.';
    }
  });

  status.textContent = '';
  byId('Command1').disabled = false;
  document.documentElement.dataset.ready = 'true';
  performance.mark('recibo-ready');
}

await start();
