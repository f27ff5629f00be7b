// The page audited by axe-core in each of its states, and a slip reached
// from the name with the keyboard alone.

import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { describe, it } from 'node:test';

import { calcular, click, fill, readSlip, useSite } from './page.mjs';

const axeSource = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

const STATES = [
  ['the start', async () => {}],
  ['the cargo chooser', async (page) => {
    await click(page, 'cargo', 'codcargo');
    await page.keyboard.type('609');
  }],
  ['a cargo chosen', async (page) => {
    await click(page, 'cargo', 'codcargo');
    await page.keyboard.type('609');
    await click(page, 'Listo');
  }],
  ['the hours', async (page) => {
    await click(page, 'horasmedio', 'transporte', 'hijos');
  }],
  ['a refusal shown', async (page) => {
    await click(page, 'horassup');
    await fill(page, 'numerohorassup', 'diez');
    await calcular(page);
  }],
  ['a slip shown, an explanation open', async (page) => {
    await click(page, 'horassup');
    await fill(page, 'numerohorassup', '10');
    await calcular(page);
    await page.focus('#liquido .amount-button');
  }],
  ['a wrong code refused, a shared name and its codes asked', async (page) => {
    await click(page, 'cargo', 'codcargo');
    await page.keyboard.type('123');
    await click(page, 'cargox');
    await page.keyboard.type('maestro de grado');
    await click(page, 'Listo');
    assert.equal(await page.$$eval('[role="alert"], #cargox-codes button', (shown) => shown.length), 3);
  }],
  ['an out-of-date slip, an explanation open', async (page) => {
    await click(page, 'horassup');
    await fill(page, 'numerohorassup', '10');
    await calcular(page);
    await click(page, 'Iosper');
    await page.click('#thaberes .amount-button');
  }],
  ['a comparison open: a row differing, an amount and a code refused', async (page) => {
    await click(page, 'horassup');
    await fill(page, 'numerohorassup', '10');
    await calcular(page);
    await click(page, 'Comparar', 'agregar-codigo');
    await page.keyboard.type('1');
    await fill(page, 'recibido-1', '500');
    await fill(page, 'recibido-2', '1,914.73');
    await fill(page, 'recibido-liquido', '585,79');
    await page.waitForFunction(() => document.querySelectorAll('[role="alert"]').length === 2);
  }],
];

async function violations(page) {
  await page.evaluate(axeSource);
  return page.evaluate(async () => {
    const runOnly = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'best-practice'];
    const result = await window.axe.run(document, { runOnly });
    return result.violations.map((v) => `${v.id}: ${v.nodes.map((node) => node.target.join(' ')).join(', ')}`);
  });
}

describe('accessibility', () => {
  const site = useSite();

  for (const [name, steps] of STATES) {
    it(`axe finds nothing in ${name}`, async () => {
      for (const width of [360, 1280]) {
        const page = await site.newPage({ width, height: width === 360 ? 640 : 800 });
        await steps(page);
        assert.deepEqual(await violations(page), [], `${width} px wide`);
        await page.close();
      }
    });
  }

  it("an amount's explanation opens by touch, mouse and keyboard", async () => {
    const page = await site.newPage();
    await click(page, 'horassup');
    await fill(page, 'numerohorassup', '10');
    await calcular(page);
    const amount = '#Haberes tbody tr:first-child .amount-button';
    const other = '#thaberes .amount-button';
    // Waits until the explanation is shown or hidden as expected; the
    // browser updates what is under the pointer a moment after it moves.
    const explanation = (shown, what) =>
      page
        .waitForFunction(
          (selector, shown) => {
            const button = document.querySelector(selector);
            return document.getElementById(button.getAttribute('aria-describedby')).checkVisibility() === shown;
          },
          { timeout: 2000 },
          amount,
          shown,
        )
        .catch(() => assert.fail(what));
    await explanation(false, 'closed at first');
    // Touch: a tap opens it, a second tap closes it.
    await page.tap(amount);
    await explanation(true, 'a tap opens it');
    await page.tap(amount);
    await explanation(false, 'a second tap closes it');
    // Mouse: shown while the pointer is over it (the tapped amount lets go
    // of the focus first, as a tap elsewhere would make it).
    await page.$eval(amount, (button) => button.blur());
    await page.hover(other);
    await page.hover(amount);
    await explanation(true, 'the pointer over it shows it');
    await page.hover(other);
    await explanation(false, 'the pointer elsewhere hides it');
    // Keyboard: shown while it has the focus; Escape hides it.
    await page.focus(amount);
    await explanation(true, 'the focus on it shows it');
    await page.keyboard.press('Escape');
    await explanation(false, 'Escape hides it');
    await page.close();
  });

  it('screen readers get the incentive as it reads, each total by its row, amounts explained', async () => {
    const page = await site.newPage();
    await click(page, 'horassup');
    await fill(page, 'numerohorassup', '10');
    await calcular(page);
    await click(page, 'opincentivo');
    const read = async (selector) => {
      const { role, name, description, expanded } = await page.accessibility.snapshot({ root: await page.$(selector) });
      return { role, name, description, expanded };
    };
    // 10 × 86,9 × 0,63 = 547,47, and 7 % of it 38,3229.
    const NODES = [
      ['#Text1', { role: 'status', name: 'Incentivo: no se cobra', description: undefined, expanded: undefined }],
      ['#liquido .amount-button', { role: 'button', name: '$ 585,7929',
        description: 'Total haberes 585,7929 − total descuentos 0 = 585,7929', expanded: undefined }],
      ['#Haberes tbody tr:last-child .amount-button', { role: 'button', name: '$ 38,3229',
        description: '7 % de 547,47 (básico + comp. + tarea dif. + jornada + antigüedad + zona)',
        expanded: undefined }],
    ];
    for (const [selector, node] of NODES) assert.deepEqual(await read(selector), node, selector);
    const headers = await page.$$eval('#Haberes tfoot td', (cells) => cells.map((cell) => cell.headers));
    assert.deepEqual(headers, ['Label15', 'Label15', 'Label16', 'Label16', 'Label17', 'Label17']);
    await page.close();
  });

  it('"Volver" takes the focus back to the name, every choice kept', async () => {
    const page = await site.newPage();
    await click(page, 'horasmedio', 'Option3');
    await fill(page, 'numerohorasmed', '12');
    await calcular(page);
    await click(page, 'Volver');
    const state = await page.evaluate(() => [document.activeElement.id, window.scrollY,
      document.getElementById('horasmedio').checked, document.getElementById('numerohorasmed').value,
      document.getElementById('porcantig').value, document.getElementById('Haberes').hidden]);
    assert.deepEqual(state, ['docente', state[1], true, '12', '15 %', false]);
    assert.ok(state[1] < 150, `the name is in sight (scrolled to ${state[1]})`);
    await page.close();
  });

  it('a slip from the name with the keyboard alone', async () => {
    const page = await site.newPage();
    const focused = () => page.evaluate(() => document.activeElement.id);
    const press = async (key, times = 1) => {
      for (let i = 0; i < times; ++i) await page.keyboard.press(key);
    };
    await page.focus('#docente');
    await page.keyboard.type('Ana');
    await press('Tab'); // to the categories
    assert.equal(await focused(), 'cargo');
    await press('ArrowRight'); // "Hs. N. Medio"
    assert.equal(await focused(), 'horasmedio');
    await press('Tab');
    assert.equal(await focused(), 'numerohorasmed');
    await page.keyboard.type('10');
    await press('Tab', 4); // past the three shared hour boxes to the incentive
    assert.equal(await focused(), 'opincentivo');
    await press('Tab'); // "Transporte"
    await press('Space');
    await press('Tab');
    assert.equal(await focused(), 'cantkm');
    await press('Tab', 2); // past the zone to the absences
    assert.equal(await focused(), 'inasist');
    await press('Tab'); // the children
    await press('Space');
    await press('Tab');
    await page.keyboard.type('1');
    await press('Enter');
    const slip = await readSlip(page);
    assert.ok(slip.shown);
    assert.equal(slip.teacher, 'Ana');
    assert.deepEqual(slip.rows[0], ['001', '10', 'Hs. N. Medio', '$407,61', '']);
    assert.equal(await focused(), 'slip-title');
    // The explanation of an amount is reached by Tab and read on focus.
    await press('Tab');
    const described = await page.evaluate(() => {
      const button = document.activeElement;
      return [button.textContent, document.getElementById(button.getAttribute('aria-describedby')).textContent];
    });
    assert.deepEqual(described, ['$407,61', '10 horas × 64,7 puntos × 0,63 = 407,61']);
    // One explanation at a time: the focus moving on closes the one before,
    // and Escape closes the one it is on.
    const open = () => page.$$eval('.explanation', (tips) => tips.filter((tip) => tip.checkVisibility()).length);
    await press('Tab');
    assert.equal(await open(), 1);
    await press('Escape');
    assert.equal(await open(), 0);
    await page.close();
  });
});
