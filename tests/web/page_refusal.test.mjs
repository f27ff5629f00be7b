// Input the calculation cannot use: the core's message beside the field,
// announced, the field marked and focused, what was typed left in place and
// the slip shown before left as it was.

import assert from 'node:assert/strict';
import { describe, it } from 'node:test';

import { calcular, click, fill, readSlip, textOf, useSite } from './page.mjs';

// What was chosen, the field and text typed, the field refused, words its
// message must name.
const REFUSALS = [
  ['horasmedio', 'numerohorasmed', '7.5', 'numerohorasmed', 'Número de horas N. Medio'],
  ['horassup', 'numhorasincen', 'doce', 'numhorasincen', 'Número de horas con incentivo'],
  ['horasmedio', 'numhorascod06', '-2', 'numhorascod06', 'Número de horas con código 06'],
  ['hijos', 'cantidadhijos', '300', 'cantidadhijos', 'Hijos'],
  ['transporte', 'cantkm', '', 'cantkm', 'cantidad de km semanales'],
];

// The state of a field and of what is announced.
const fieldState = (page, id) =>
  page.evaluate((id) => {
    const field = document.getElementById(id);
    const alerts = [...document.querySelectorAll('[role="alert"]')];
    const described = (field.getAttribute('aria-describedby') || '').split(' ');
    return {
      invalid: field.getAttribute('aria-invalid'),
      focused: document.activeElement === field,
      alerts: alerts.map((alert) => alert.textContent),
      besideField: alerts.length === 1 && described.includes(alerts[0].id) &&
        alerts[0].closest('.field, fieldset') === field.closest('.field, fieldset'),
    };
  }, id);

describe('a refusal', () => {
  const site = useSite();

  it('no category chosen: "No seleccionaste cargo ni horas" beside the categories', async () => {
    const page = await site.newPage();
    await calcular(page);
    const state = await fieldState(page, 'cargo');
    assert.deepEqual(state, { invalid: 'true', focused: true, alerts: ['No seleccionaste cargo ni horas'],
      besideField: true });
    assert.equal((await readSlip(page)).shown, false);
    await page.close();
  });

  it('no cargo chosen in the chooser: the core says so beside the code box', async () => {
    const page = await site.newPage();
    await click(page, 'cargo', 'codcargo');
    await page.keyboard.type('12');
    await calcular(page);
    const state = await fieldState(page, 'codcargo');
    assert.equal(state.invalid, 'true');
    assert.ok(state.focused && state.besideField);
    assert.match(state.alerts[0], /No hay un cargo elegido/);
    await page.close();
  });

  for (const [choice, id, typed, refused, words] of REFUSALS) {
    it(`${id} "${typed}"`, async () => {
      const page = await site.newPage();
      await fill(page, 'docente', 'Gómez');
      await click(page, 'horasmedio');
      await fill(page, 'numerohorasmed', '10');
      await calcular(page);
      const before = await readSlip(page);
      assert.equal(before.rows[0][3], '$407,61');

      await fill(page, 'docente', 'Otro nombre');
      await click(page, choice);
      await fill(page, id, typed);
      await calcular(page);
      const state = await fieldState(page, refused);
      assert.equal(state.invalid, 'true');
      assert.ok(state.focused, 'focus on the field');
      assert.ok(state.besideField, 'the message beside the field');
      assert.equal(state.alerts.length, 1);
      assert.ok(state.alerts[0].includes(words), state.alerts[0]);
      assert.equal(await textOf(page, id), typed);
      assert.deepEqual(await readSlip(page), before);

      // Fixed, the next "Calcular" clears the refusal.
      await fill(page, id, '1');
      await calcular(page);
      assert.deepEqual(await fieldState(page, refused),
        { invalid: null, focused: false, alerts: [], besideField: false });
      await page.close();
    });
  }
});
