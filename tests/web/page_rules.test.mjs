// What each choice on the page shows, hides and sets back to "0", and how
// the cargo chooser finds a cargo by its code.

import assert from 'node:assert/strict';
import { describe, it } from 'node:test';

import { click, fill, isShown, textOf, useSite } from './page.mjs';

// Each case: what the user does, then the fields expected shown, hidden, and
// their texts.
const CASES = [
  {
    name: 'the start',
    async steps() {},
    shown: ['docente', 'cargo', 'horasmedio', 'horassup', 'opincentivo', 'zona', 'Option1', 'Option12', 'Command1'],
    hidden: ['codcargo', 'numerohorasmed', 'numerohorassup', 'numhorascod06', 'cantkm', 'dinasist', 'cantidadhijos',
      'cantidadhijosdisc', 'cargoselect', 'Haberes'],
    texts: { Text1: 'Si', porcantig: '0 %', zona: '', numhorascod06: '0', codcargo: '0' },
  },
  {
    name: 'higher hours, then secondary: the higher box is hidden and back to "0", the shared boxes keep theirs',
    async steps(page) {
      await click(page, 'horassup');
      await fill(page, 'numerohorassup', '20');
      await fill(page, 'numhorascod06', '5');
      await click(page, 'horasmedio');
    },
    shown: ['numerohorasmed', 'numhorascod06', 'numhorasincen', 'numhorascod113'],
    hidden: ['numerohorassup', 'codcargo'],
    texts: { numerohorassup: '0', numhorascod06: '5' },
  },
  {
    name: '"Cargo" after hours: every hours box hidden and back to "0", the chooser open',
    async steps(page) {
      await click(page, 'horasmedio');
      await fill(page, 'numerohorasmed', '12');
      await fill(page, 'numhorasincen', '4');
      await click(page, 'cargo');
    },
    shown: ['codcargo', 'cargox', 'punbas', 'compbas', 'proljor', 'jorcom', 'tardif', 'Listo'],
    hidden: ['numerohorasmed', 'numerohorassup', 'numhorascod06', 'numhorasincen', 'numhorascod113'],
    texts: { numerohorasmed: '0', numhorasincen: '0' },
  },
  {
    name: 'an hours category while the chooser is open closes it and hides the chosen cargo',
    async steps(page) {
      await click(page, 'cargo', 'codcargo');
      await page.keyboard.type('609');
      await click(page, 'Listo', 'cargo', 'horassup');
    },
    shown: ['numerohorassup'],
    hidden: ['codcargo', 'cargoselect'],
    texts: { codcargo: '609', punbas: '2000' },
  },
  {
    name: '"Listo" shows the chosen cargo and closes the chooser',
    async steps(page) {
      await click(page, 'cargo', 'codcargo');
      await page.keyboard.type('609');
      await fill(page, 'compbas', '40');
      await click(page, 'Listo');
    },
    shown: ['cargoselect', 'codcarval'],
    hidden: ['codcargo'],
    texts: { cargoselect: 'Director 1era Categoría', codcarval: '609', puncarval: '2000', puncompbasval: '40' },
    checked: { cargo: true },
  },
  {
    name: 'Enter in the code box accepts the cargo, as "Listo" does, and computes nothing',
    async steps(page) {
      await click(page, 'cargo', 'codcargo');
      await page.keyboard.type('645');
      await page.keyboard.press('Enter');
    },
    shown: ['cargoselect'],
    hidden: ['codcargo', 'Haberes'],
    texts: { cargoselect: 'Asesor Pedag Proyecto 13', puncarval: '2329' },
  },
  {
    name: '"Listo" on the untouched "0" chooses no cargo',
    async steps(page) {
      await click(page, 'cargo', 'Listo');
    },
    hidden: ['codcargo'],
    texts: { codcarval: '0' },
    checked: { cargo: false },
  },
  {
    name: '"Salir sin datos" withdraws the cargo: name emptied, points "0", the code kept',
    async steps(page) {
      await click(page, 'cargo', 'codcargo');
      await page.keyboard.type('925');
      await click(page, 'SalirSinDatos');
    },
    hidden: ['codcargo'],
    texts: { codcargo: '925', cargox: '', punbas: '0', compbas: '0', tardif: '0' },
    checked: { cargo: false },
  },
  {
    name: 'transport unchecked after 120 km: hidden and back to "0"; checked again shows "0"',
    async steps(page) {
      await click(page, 'transporte');
      await fill(page, 'cantkm', '120');
      await click(page, 'transporte', 'transporte');
    },
    shown: ['cantkm'],
    texts: { cantkm: '0' },
  },
  {
    name: 'children, absences and children with disabilities show their counts',
    async steps(page) {
      await click(page, 'hijos', 'inasist', 'hijosdisc');
      await fill(page, 'dinasist', '2');
      await click(page, 'inasist');
    },
    shown: ['cantidadhijos', 'cantidadhijosdisc'],
    hidden: ['dinasist', 'cantkm'],
    texts: { dinasist: '0', cantidadhijos: '0' },
  },
  {
    name: 'the incentive unchecked reads "No"',
    async steps(page) {
      await click(page, 'opincentivo');
    },
    texts: { Text1: 'No' },
  },
  {
    name: 'the incentive checked again reads "Si"',
    async steps(page) {
      await click(page, 'opincentivo', 'opincentivo');
    },
    texts: { Text1: 'Si' },
  },
  {
    name: 'seniority "Entre 17 y 20 años" shows 80 %',
    async steps(page) {
      await click(page, 'Option9');
    },
    texts: { porcantig: '80 %' },
  },
  {
    name: 'then "Entre 20 y 22 años" shows 100 %',
    async steps(page) {
      await click(page, 'Option9', 'Option10');
    },
    texts: { porcantig: '100 %' },
  },
];

// The code box as it is typed: no row until the three digits of a code.
const CODES = [
  ['6', '', '', true],
  ['64', '', '', true],
  ['645', 'Asesor Pedag Proyecto 13', '2329', false],
  ['6451', '', '', true],
  ['999', 'Analista Princ Tec Doc', '3146', false],
  ['abc', '', '', true],
];

describe('what each choice shows, hides and resets', () => {
  const site = useSite();

  for (const rule of CASES) {
    it(rule.name, async () => {
      const page = await site.newPage();
      await rule.steps(page);
      for (const id of rule.shown ?? []) assert.ok(await isShown(page, id), `${id} shown`);
      for (const id of rule.hidden ?? []) assert.ok(!(await isShown(page, id)), `${id} hidden`);
      for (const [id, text] of Object.entries(rule.texts ?? {})) assert.equal(await textOf(page, id), text, id);
      for (const [id, checked] of Object.entries(rule.checked ?? {}))
        assert.equal(await page.$eval(`#${id}`, (box) => box.checked), checked, id);
      await page.close();
    });
  }

  it('the code box finds a cargo only by a whole code', async () => {
    const page = await site.newPage();
    await click(page, 'cargo', 'codcargo');
    for (const [code, name, points, listoDisabled] of CODES) {
      await fill(page, 'codcargo', code);
      assert.equal(await textOf(page, 'cargox'), name, code);
      assert.equal(await textOf(page, 'punbas'), points, code);
      assert.equal(await page.$eval('#Listo', (button) => button.disabled), listoDisabled, code);
    }
    await page.close();
  });
});
