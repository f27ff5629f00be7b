// The main path as a new user walks it, with a finger on a phone (360 × 780,
// touch) and with a mouse on a computer (1280 × 800): each flow taps or
// clicks ("#id"), types (any other text) and pastes ({ paste }), then reads
// what the page shows.

import assert from 'node:assert/strict';
import { describe, it } from 'node:test';

import { paste, press, useSite } from './page.mjs';

const SCREENS = [
  { width: 360, height: 780, hasTouch: true, isMobile: true },
  { width: 1280, height: 800 },
];

async function walk(page, steps) {
  for (const step of steps) {
    if (step.paste) await paste(page, step.paste);
    else if (step.startsWith('#')) await press(page, step);
    else await page.keyboard.type(step);
  }
}

// 20 hours at secondary level and Iosper: 20 × 64,7 × 0,63 = 815,22, a plus
// of 7 % of it, 57,0654, and 3 % of their sum, 26,1686. The slip is long
// enough to leave the top of the form.
const HOURS = ['#horasmedio', '#numerohorasmed', '20', '#Iosper', '#Command1'];
const FIRST_ROW = ['001', '20', 'Hs. N. Medio', '$815,22', ''];

// What the page shows, as far as a flow looks.
function shown(page, ids) {
  return page.evaluate((ids) => {
    const byId = (id) => document.getElementById(id);
    const title = byId('slip-title');
    const { top, bottom } = title.getBoundingClientRect();
    const visible = (element) => element.checkVisibility() && !element.closest('[hidden]');
    return {
      values: Object.fromEntries(ids.map((id) => [id, byId(id).value ?? byId(id).textContent])),
      alerts: [...document.querySelectorAll('[role="alert"]')].map((alert) => alert.textContent),
      invalid: [...document.querySelectorAll('[aria-invalid="true"]')].map((field) => field.id),
      question: [byId('cargox-question'), ...byId('cargox-codes').children].map((element) => element.textContent),
      focus: document.activeElement.id || document.activeElement.textContent,
      cargo: [byId('cargo').checked, visible(byId('advertencia')) ? 'chooser open' : 'chooser closed',
        visible(byId('cargoselect-display')) ? byId('cargoselect').textContent : 'none chosen', byId('Listo').disabled],
      titleSeen: document.activeElement === title && top >= 0 && bottom <= innerHeight &&
        parseFloat(getComputedStyle(title).outlineWidth) > 0,
      firstRow: [...(document.querySelector('#Haberes tbody tr')?.cells ?? [])].map((cell) =>
        (cell.querySelector('.amount-button') ?? cell).textContent),
      open: [...document.querySelectorAll('.explanation')].filter(visible)
        .map((tip) => tip.previousSibling.textContent),
      stale: [byId('recibo-desactualizado').textContent, visible(byId('stale-actions'))],
    };
  }, ids);
}

const STALE = 'Los datos cambiaron: presione «Calcular» para actualizar el recibo.';

// Each flow: its steps and what it must leave on the page (`values` by id;
// `cargo`: ticked, the chooser, the cargo shown as chosen, "Listo" disabled).
const FLOWS = [
  // A box tapped again once typed in keeps its text and takes the next digit.
  ['typing over a "0", the slip in view with its heading focused',
    ['#horasmedio', '#hijos', '#cantidadhijos', '2', '#numhorascod06', '5', '#numhorascod06', '0', ...HOURS],
    { values: { cantidadhijos: '2', numhorascod06: '50' }, firstRow: FIRST_ROW, titleSeen: true, stale: ['', false] }],
  ['a whole name typed, in other capitals, without accents, between blanks',
    ['#cargo', '#cargox', '  DIRECTOR 1era   categoria ', '#Listo'],
    { values: { codcarval: '609', puncarval: '2000' },
      cargo: [true, 'chooser closed', 'Director 1era Categoría', false] }],
  // What the browser writes in the box when a suggestion is tapped.
  ['a suggestion tapped, a point box typed over',
    ['#cargo', '#cargox', 'Bibliotecario (925)', '#jorcom', '620', '#Listo'],
    { values: { codcarval: '925', puncompbasval: '170', punjorcomval: '620' },
      cargo: [true, 'chooser closed', 'Bibliotecario', false] }],
  ['a name several cargos share asks for the code beside the name',
    ['#cargo', '#cargox', 'maestro de grado', '#Listo'],
    { question: ['Hay 2 cargos con el nombre «Maestro De Grado»: toque o haga clic en el código del suyo.',
      '634 · 971 puntos', '749 · 971 puntos'],
    focus: '634 · 971 puntos', cargo: [true, 'chooser open', 'none chosen', false] }],
  ['the code of a shared name picked, then "Listo"',
    ['#cargo', '#cargox', 'Maestro de Grado', '#Listo', '#cargox-codes button:last-child', '#Listo'],
    { values: { codcarval: '749' }, question: [''], cargo: [true, 'chooser closed', 'Maestro De Grado', false] }],
  ['a name of no cargo is refused at "Listo", beside the name',
    ['#cargo', '#cargox', 'maestra jardinera', '#Listo'],
    { alerts: ['No hay un cargo con el nombre «maestra jardinera»'], invalid: ['cargox'],
      cargo: [true, 'chooser open', 'none chosen', false] }],
  ['a chosen cargo renamed keeps its code and points',
    ['#cargo', '#codcargo', '925', '#cargox', ' turno tarde', '#Listo'],
    { values: { codcarval: '925', puncarval: '971' },
      cargo: [true, 'chooser closed', 'Bibliotecario turno tarde', false] }],
  ['a pasted code with blanks and no-break spaces',
    ['#cargo', '#codcargo', { paste: '\u00a0 813 ' }],
    { values: { codcargo: '813', cargox: 'Maestro De Grado Jornada Completa', punbas: '971' }, alerts: [] }],
  ['a code tapped again is typed over whole',
    ['#cargo', '#codcargo', '925', '#cargox', '#codcargo', '609'],
    { values: { codcargo: '609', cargox: 'Director 1era Categoría', punbas: '2000' } }],
  ['a wrong code is refused as soon as it is typed',
    ['#cargo', '#codcargo', '123'],
    { values: { cargox: '', punbas: '' }, alerts: ['No hay un cargo con el código 123'], invalid: ['codcargo'],
      focus: 'codcargo', cargo: [true, 'chooser open', 'none chosen', true] }],
  ['a second amount tapped closes the first explanation',
    [...HOURS, '#Haberes tbody tr:first-child .amount-button', '#tdescuentos .amount-button'], { open: ['$ 26,1686'] }],
  ['a tap outside closes the explanation', [...HOURS, '#liquido .amount-button', '#Haberes .teacher'], { open: [] }],
  ['a change after the slip marks it out of date', [...HOURS, '#Osplad'], { stale: [STALE, true] }],
  ['"Calcular" again brings the slip up to date', [...HOURS, '#Osplad', '#Command1'],
    { firstRow: FIRST_ROW, stale: ['', false] }],
];

describe('the main path, by touch and by mouse', () => {
  const site = useSite();

  for (const [name, steps, expected] of FLOWS) {
    it(name, async () => {
      await site.grantClipboard();
      for (const screen of SCREENS) {
        const page = await site.newPage(screen);
        await walk(page, steps);
        const now = await shown(page, Object.keys(expected.values ?? {}));
        const seen = Object.fromEntries(Object.keys(expected).map((key) => [key, now[key]]));
        assert.deepEqual(seen, expected, `${screen.width} px`);
        assert.deepEqual(page.errors, []);
        await page.close();
      }
    });
  }
});

// The slip at each width, with a name of 300 letters and no blank: on a
// phone (480 px and less) one block a row, text at 16 px or more; wider, the
// paper's five columns; never a sideways scroll. The same with a box under
// every amount, to compare the slip with the one paid, and what is longest
// beside them.
describe('the slip at each width', () => {
  const site = useSite();

  for (const [width, comparing] of [320, 360, 480, 640, 1280].flatMap((width) => [[width, false], [width, true]])) {
    const phone = width <= 480;
    it(`${width} px${comparing ? ', comparing' : ''}`, async () => {
      const page = await site.newPage({ width, height: 800, hasTouch: phone });
      await walk(page, ['#docente', 'x'.repeat(300), ...HOURS, '#Haberes tbody tr:last-child .amount-button']);
      // Comparing: a refusal above the first box, the longest amount in the last.
      if (comparing) {
        await walk(page, ['#Comparar', '1,914.73', '#recibido-liquido', '999.999.999,9999']);
        await page.keyboard.press('Tab');
        await page.waitForSelector('tr[data-estado="difiere"] #recibido-liquido');
      }
      const seen = await page.evaluate(() => {
        const visible = (element) => element.checkVisibility() && element.getBoundingClientRect().width > 1;
        const texts = [...document.querySelectorAll('body *')].filter((element) =>
          visible(element) && [...element.childNodes].some((node) => node.nodeType === 3 && node.data.trim()));
        const rows = [...document.querySelectorAll('#Haberes tbody tr')];
        const right = (element) => element.getBoundingClientRect().right;
        const size = (element) => parseFloat(getComputedStyle(element).fontSize);
        const kinds = (list) => [...new Set(list)];
        return {
          sideways: document.documentElement.scrollWidth > innerWidth,
          smallest: Math.min(...texts.map(size)) >= 16,
          cells: kinds(rows.map((row) => [...row.cells].map((cell) => cell.tagName).join(' '))),
          // Every row of this slip has a quantity: code, quantity, concept, amount.
          shownCells: kinds(rows.map((row) => [...row.cells].filter(visible).length)),
          headerShown: visible(document.querySelector('#Haberes thead')),
          amountsAtRight: rows.every((row) => right(row) - right(row.querySelector('.amount-button')) < 16),
          headings: rows.map((row) => getComputedStyle(row, '::before').content.split(' / ')[0])
            .filter((content) => content !== 'none'),
          totalsStandOut: size(document.getElementById('liquido')) > size(rows[0].cells[2]),
        };
      });
      assert.deepEqual(seen, {
        sideways: false,
        smallest: phone || seen.smallest,
        cells: ['TH TD TD TD TD'],
        shownCells: [phone ? 4 : 5],
        headerShown: !phone,
        amountsAtRight: (phone && !comparing) || seen.amountsAtRight, // comparing, beside its box
        headings: phone ? ['"Haberes"', '"Descuentos"'] : [],
        totalsStandOut: true,
      });
      await page.close();
    });
  }
});
