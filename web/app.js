// The page: the entry form, the cargo chooser and the slip, on the same
// calculation core as the desktop program. The core computes and words
// everything; this module only carries the form to it and its answer back.

import { loadCore } from './core.js';
import { setUpChooser } from './chooser.js';
import { clearRefusal, payInput, setUpEntry, showRefusal, withdrawCargo } from './entry.js';
import { setUpComparison } from './compare.js';
import { setUpSlip, showSlip } from './slip.js';

const byId = (id) => document.getElementById(id);

const NO_CATEGORY = 'No seleccionaste cargo ni horas';
const STALE = 'Los datos cambiaron: presione «Calcular» para actualizar el recibo.';

// The date and time written on the slip, in the short forms of Argentina.
const dateFormat = new Intl.DateTimeFormat('es-AR', { day: 'numeric', month: 'numeric', year: '2-digit' });
const timeFormat = new Intl.DateTimeFormat('es-AR', { hour: '2-digit', minute: '2-digit', hourCycle: 'h23' });
const dateLine = (now) => `${dateFormat.format(now)} ${timeFormat.format(now)}`;

// Loaded by start.js, which shows in the status line why the page could not
// start when this module, one it imports or the core fails.
async function start() {
  const status = byId('core-status');
  const core = await loadCore();

  const chooser = setUpChooser(core, { onWithdraw: withdrawCargo, onChange: () => markStale() });
  setUpEntry(core.scale, chooser);
  setUpSlip();

  // What the slip on view was computed from, for "Copiar el recibo" and
  // the comparison with the teacher's own slip.
  let shown = null;
  const comparison = setUpComparison(core, () => shown.input);

  // A slip whose data changed since it was computed says so, at its top and
  // beside "Imprimir" and "Copiar el recibo", until the next "Calcular".
  const stale = byId('recibo-desactualizado');
  const staleActions = byId('stale-actions');
  const isStale = () => stale.textContent !== '';
  function markStale() {
    if (!shown || isStale()) return;
    stale.textContent = STALE;
    staleActions.hidden = false;
    byId('Imprimir').setAttribute('aria-describedby', 'stale-actions Imprimir-hint');
    byId('Copiar').setAttribute('aria-describedby', 'stale-actions');
  }
  function markCurrent() {
    stale.textContent = '';
    staleActions.hidden = true;
    byId('Imprimir').setAttribute('aria-describedby', 'Imprimir-hint');
    byId('Copiar').removeAttribute('aria-describedby');
  }
  byId('ingreso').addEventListener('input', markStale);
  byId('ingreso').addEventListener('change', markStale);

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
    comparison.end({ recalculated: true });
    shown = { input, teacher: byId('docente').value, dateLine: dateLine(new Date()) };
    showSlip(outcome.slip, { ...shown, cargo: input.cargo });
    markCurrent();
    byId('copy-status').textContent = '';
    // The slip's title takes the focus and is brought into sight: on a phone
    // the slip lies below the form, on a wide screen beside it, where the
    // page may be scrolled past its top.
    const title = byId('slip-title');
    title.focus({ preventScroll: true });
    const { top } = title.getBoundingClientRect();
    if (top < 0 || top > window.innerHeight / 2) byId('Haberes').scrollIntoView({ block: 'start' });
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
    const compared = comparison.text();
    try {
      if (!text) throw new Error('sin recibo');
      await navigator.clipboard.writeText(text + compared);
      if (isStale()) copyStatus.textContent = 'Se copió el recibo anterior: no corresponde a los datos actuales.';
      else copyStatus.textContent = compared ? 'Se copiaron el recibo y la comparación.' : 'Recibo copiado.';
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
