// The main path as a new user walks it, with a finger on a phone (360 × 780,
// touch) and with a mouse on a computer (1280 × 800): each flow taps or
// clicks and types, then reads what the page shows.

import assert from 'node:assert/strict';
import { describe, it } from 'node:test';

import { paste, pdfText, press, useSite } from './page.mjs';

const SCREENS = [
  { width: 360, height: 780, hasTouch: true, isMobile: true },
  { width: 1280, height: 800 },
];

const type = (page, text) => page.keyboard.type(text);

// 20 hours at secondary level, Iosper: a slip long enough to leave the
// form's top, with an earnings row and a deduction row.
async function hoursSlip(page) {
  await press(page, '#horasmedio', '#numerohorasmed');
  await type(page, '20');
  await press(page, '#Iosper', '#Command1');
}

// What the page shows, as far as a flow looks.
function shown(page, ids) {
  return page.evaluate((ids) => {
    const byId = (id) => document.getElementById(id);
    const title = byId('slip-title');
    const box = title.getBoundingClientRect();
    const ring = getComputedStyle(title);
    const visible = (element) => element.checkVisibility() && !element.closest('[hidden]');
    return {
      values: Object.fromEntries(ids.map((id) => [id, byId(id).value ?? byId(id).textContent])),
      alerts: [...document.querySelectorAll('[role="alert"]')].map((alert) => alert.textContent),
      invalid: [...document.querySelectorAll('[aria-invalid="true"]')].map((field) => field.id),
      question: byId('cargox-question').textContent,
      codes: [...byId('cargox-codes').querySelectorAll('button')].filter(visible).map((code) => code.textContent),
      focus: document.activeElement.id || document.activeElement.textContent,
      cargo: [byId('cargo').checked, visible(byId('advertencia')) ? 'chooser open' : 'chooser closed',
        visible(byId('cargoselect-display')) ? byId('cargoselect').textContent : 'none chosen'],
      listo: byId('Listo').disabled ? 'disabled' : 'enabled',
      titleSeen: document.activeElement === title && box.top >= 0 && box.bottom <= innerHeight &&
        ring.outlineStyle !== 'none' && parseFloat(ring.outlineWidth) > 0,
      firstRow: [...(document.querySelector('#Haberes tbody tr')?.cells ?? [])].map((cell) =>
        (cell.querySelector('.amount-button') ?? cell).textContent),
      open: [...document.querySelectorAll('.explanation')].filter(visible).map((tip) => tip.previousSibling.textContent),
      stale: [byId('recibo-desactualizado').textContent, visible(byId('stale-actions')),
        byId('Copiar').getAttribute('aria-describedby')],
    };
  }, ids);
}

// Each flow: its steps and what it must leave on the page (`values` by id).
const FLOWS = [
  {
    // 20 × 64,7 points × 0,63 = 815,22; a box tapped again once typed in
    // keeps its text and takes the next digit.
    name: 'typing over a "0"',
    async steps(page) {
      await press(page, '#horasmedio', '#numerohorasmed');
      await type(page, '20');
      await press(page, '#hijos', '#cantidadhijos');
      await type(page, '2');
      await press(page, '#numhorascod06');
      await type(page, '5');
      await press(page, '#numhorascod06');
      await type(page, '0');
      await press(page, '#Command1');
    },
    values: { numerohorasmed: '20', cantidadhijos: '2', numhorascod06: '50' },
    firstRow: ['001', '20', 'Hs. N. Medio', '$815,22', ''],
  },
  {
    name: 'a whole name typed, in other capitals, without accents, between blanks',
    async steps(page) {
      await press(page, '#cargo', '#cargox');
      await type(page, '  DIRECTOR 1era   categoria ');
      await press(page, '#Listo');
    },
    values: { codcarval: '609', puncarval: '2000' },
    cargo: [true, 'chooser closed', 'Director 1era Categoría'],
    alerts: [],
  },
  {
    // What the browser writes in the box when a suggestion is tapped; the
    // catalogue's points then take what is typed over them.
    name: 'a suggestion tapped, a point box typed over',
    async steps(page) {
      await press(page, '#cargo', '#cargox');
      await type(page, 'Bibliotecario (925)');
      await press(page, '#jorcom');
      await type(page, '620');
      await press(page, '#Listo');
    },
    values: { codcarval: '925', puncarval: '971', puncompbasval: '170', punjorcomval: '620' },
    cargo: [true, 'chooser closed', 'Bibliotecario'],
  },
  {
    name: 'a name several cargos share asks for the code beside the name',
    async steps(page) {
      await press(page, '#cargo', '#cargox');
      await type(page, 'maestro de grado');
      await press(page, '#Listo');
    },
    question: 'Hay 2 cargos con el nombre «Maestro De Grado»: toque o haga clic en el código del suyo.',
    codes: ['634 · 971 puntos', '749 · 971 puntos'],
    focus: '634 · 971 puntos',
    cargo: [true, 'chooser open', 'none chosen'],
  },
  {
    name: 'the code of a shared name picked, then "Listo"',
    async steps(page) {
      await press(page, '#cargo', '#cargox');
      await type(page, 'Maestro de Grado');
      await press(page, '#Listo', '#cargox-codes button:last-child', '#Listo');
    },
    values: { codcarval: '749' },
    cargo: [true, 'chooser closed', 'Maestro De Grado'],
    question: '',
  },
  {
    name: 'a name of no cargo is refused at "Listo", beside the name',
    async steps(page) {
      await press(page, '#cargo', '#cargox');
      await type(page, 'maestra jardinera');
      await press(page, '#Listo');
    },
    alerts: ['No hay un cargo con el nombre «maestra jardinera»'],
    invalid: ['cargox'],
    cargo: [true, 'chooser open', 'none chosen'],
  },
  {
    name: 'a chosen cargo renamed keeps its code and points',
    async steps(page) {
      await press(page, '#cargo', '#codcargo');
      await type(page, '925');
      await press(page, '#cargox');
      await type(page, ' turno tarde');
      await press(page, '#Listo');
    },
    values: { codcarval: '925', puncarval: '971' },
    cargo: [true, 'chooser closed', 'Bibliotecario turno tarde'],
    alerts: [],
  },
  {
    name: 'a pasted code with blanks and no-break spaces',
    async steps(page) {
      await press(page, '#cargo', '#codcargo');
      await paste(page, '\u00a0 813 ');
    },
    values: { codcargo: '813', cargox: 'Maestro De Grado Jornada Completa', punbas: '971' },
    alerts: [],
    listo: 'enabled',
  },
  {
    name: 'a code tapped again is typed over whole',
    async steps(page) {
      await press(page, '#cargo', '#codcargo');
      await type(page, '925');
      await press(page, '#cargox', '#codcargo');
      await type(page, '609');
    },
    values: { codcargo: '609', cargox: 'Director 1era Categoría', punbas: '2000' },
  },
  {
    name: 'a wrong code is refused as soon as it is typed',
    async steps(page) {
      await press(page, '#cargo', '#codcargo');
      await type(page, '123');
    },
    values: { cargox: '', punbas: '' },
    alerts: ['No hay un cargo con el código 123'],
    invalid: ['codcargo'],
    focus: 'codcargo',
    listo: 'disabled',
  },
  {
    name: 'the slip in view after "Calcular", its heading focused with its ring',
    steps: hoursSlip,
    titleSeen: true,
    firstRow: ['001', '20', 'Hs. N. Medio', '$815,22', ''],
    stale: ['', false, null],
  },
  {
    // 3 % of 815,22 + 57,0654 of plus = 26,1686.
    name: 'a second amount tapped closes the first explanation',
    async steps(page) {
      await hoursSlip(page);
      await press(page, '#Haberes tbody tr:first-child .amount-button', '#tdescuentos .amount-button');
    },
    open: ['$ 26,1686'],
  },
  {
    name: 'a tap outside closes the explanation',
    async steps(page) {
      await hoursSlip(page);
      await press(page, '#liquido .amount-button', '#Haberes .teacher');
    },
    open: [],
  },
  {
    name: 'a change after the slip marks it out of date',
    async steps(page) {
      await hoursSlip(page);
      await press(page, '#Osplad');
    },
    stale: ['Los datos cambiaron: presione «Calcular» para actualizar el recibo.', true, 'stale-actions'],
  },
  {
    name: '"Calcular" again brings the slip up to date',
    async steps(page) {
      await hoursSlip(page);
      await press(page, '#Osplad', '#Command1');
    },
    firstRow: ['001', '20', 'Hs. N. Medio', '$815,22', ''],
    stale: ['', false, null],
  },
  {
    name: 'printing with no slip says to press "Calcular"',
    async steps() {},
    printed: 'No hay un recibo para imprimir: complete los datos y presione «Calcular» primero.',
  },
];

describe('the main path, by touch and by mouse', () => {
  const site = useSite();

  for (const flow of FLOWS) {
    it(flow.name, async () => {
      await site.grantClipboard();
      for (const screen of SCREENS) {
        const page = await site.newPage(screen);
        await flow.steps(page);
        const { name, steps, values, printed, ...expected } = flow;
        const now = await shown(page, Object.keys(values ?? {}));
        const seen = Object.fromEntries(Object.keys(expected).map((key) => [key, now[key]]));
        assert.deepEqual({ values: now.values, ...seen }, { values: values ?? {}, ...expected }, `${screen.width} px`);
        if (printed) assert.ok(pdfText(await page.pdf({ format: 'A4' })).text.includes(printed), printed);
        assert.deepEqual(page.errors, []);
        await page.close();
      }
    });
  }
});

// The slip at each width, with a name of 300 letters and no blank: on a
// phone one block a row, text at 16 px or more; wider, the paper's five
// columns; never a sideways scroll.
const WIDTHS = [
  [320, 'blocks'],
  [360, 'blocks'],
  [480, 'blocks'],
  [640, 'columns'],
  [1280, 'columns'],
];

describe('the slip at each width', () => {
  const site = useSite();

  for (const [width, layout] of WIDTHS) {
    it(`${width} px: ${layout}`, async () => {
      const page = await site.newPage({ width, height: 800, hasTouch: width < 500 });
      await press(page, '#docente');
      await type(page, 'x'.repeat(300));
      await hoursSlip(page);
      await press(page, '#Haberes tbody tr:last-child .amount-button');
      const seen = await page.evaluate(() => {
        const visible = (element) => element.checkVisibility() && element.getBoundingClientRect().width > 1;
        const texts = [...document.querySelectorAll('body *')].filter(
          (element) => visible(element) && [...element.childNodes].some((node) => node.nodeType === 3 && node.data.trim()),
        );
        const rows = [...document.querySelectorAll('#Haberes tbody tr')];
        const right = (element) => element.getBoundingClientRect().right;
        const size = (element) => parseFloat(getComputedStyle(element).fontSize);
        return {
          sideways: document.documentElement.scrollWidth > innerWidth,
          smallest: Math.min(...texts.map(size)),
          cells: [...new Set(rows.map((row) => [...row.cells].map((cell) => cell.tagName).join(' ')))],
          shownCells: [...new Set(rows.map((row) => [...row.cells].filter(visible).length))],
          headerShown: visible(document.querySelector('#Haberes thead')),
          amountsAtRight: rows.every((row) => right(row) - right(row.querySelector('.amount-button')) < 16),
          headings: rows.map((row) => getComputedStyle(row, '::before').content).filter((content) => content !== 'none'),
          totalsStandOut: size(document.getElementById('liquido')) > size(rows[0].cells[2]),
        };
      });
      assert.equal(seen.sideways, false, 'no sideways scroll');
      assert.deepEqual(seen.cells, ['TH TD TD TD TD']);
      assert.ok(seen.totalsStandOut);
      if (layout === 'blocks') {
        assert.ok(seen.smallest >= 16, `smallest text ${seen.smallest} px`);
        // Code, quantity, concept and amount (every row of this slip has a
        // quantity); the empty column gone.
        assert.deepEqual(seen.shownCells, [4]);
        assert.equal(seen.headerShown, false);
        assert.ok(seen.amountsAtRight);
        assert.deepEqual(seen.headings.map((content) => content.split(' / ')[0]), ['"Haberes"', '"Descuentos"']);
      } else {
        assert.deepEqual(seen.shownCells, [5]);
        assert.equal(seen.headerShown, true);
        assert.deepEqual(seen.headings, []);
      }
      await page.close();
    });
  }
});
