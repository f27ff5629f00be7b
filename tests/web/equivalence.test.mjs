// The WebAssembly core in the browser gives what the native core gives, to
// the character: a seeded table of inputs over every path and option, bad
// input included, runs through recibo_web_tool (native, the reference) and
// through the page's core.js in headless Chromium; the slips, the refusals
// and the slip texts must be equal.

import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { test } from 'node:test';
import { openSession } from './support.mjs';

const tool = process.env.RECIBO_WEB_TOOL;
if (!tool) throw new Error('RECIBO_WEB_TOOL must name the native recibo_web_tool');

function native(args, input = '') {
  const run = spawnSync(tool, args, { input, encoding: 'utf8', maxBuffer: 64 << 20 });
  if (run.status !== 0) throw new Error(`recibo_web_tool ${args.join(' ')}: ${run.stderr}`);
  return run.stdout;
}

// A small seeded generator (mulberry32): the same table on every run.
function generator(seed) {
  let state = seed >>> 0;
  const next = () => {
    state = (state + 0x6d2b79f5) >>> 0;
    let t = state;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
  return {
    below: (n) => Math.floor(next() * n),
    pick: (items) => items[Math.floor(next() * items.length)],
    chance: (p) => next() < p,
  };
}

// Texts typed into number boxes: good ones, and each kind the core refuses.
const goodCounts = ['0', '1', '2', '3', '12', '30', ' 7 ', '\u00a05\u00a0', '+4', '007'];
const goodHours = ['0', '1', '7,5', '12', '15', '18,25', '24', '30', '36', '44,5', '0,01', '120'];
const badTexts = ['', '   ', 'abc', '-3', '-0,5', '1.5', '1,2,3', '1e3', '12abc', '99999999999', '--1', 'inf', '"\\/', '😀', '\ud800'];
const deductionNames = ['Iosper', 'Osplad', 'AporteJub', 'Ley4035', 'Vesnar', 'CajaComp', 'Seguro3011'];

function makeInputs(catalogue, zones, zonePrompt) {
  const random = generator(20080501);
  const text = (good, badShare = 0.08) => (random.chance(badShare) ? random.pick(badTexts) : random.pick(good));
  const inputs = [];

  const base = () => {
    const zoneChoice = random.below(9);
    let zoneIndex = -1;
    let zoneText = zonePrompt;
    if (zoneChoice < 5) {
      zoneIndex = zoneChoice; // picked from the list
      zoneText = zones[zoneChoice].item;
    } else if (zoneChoice === 5) {
      zoneText = ` ${zones[random.below(5)].item} `; // typed, with blanks
    } else if (zoneChoice === 6) {
      zoneText = ''; // emptied
    } else if (zoneChoice === 7 && random.chance(0.4)) {
      zoneText = random.pick(['Zona rara', 'Común "lejos" \\ 😀', 'x\ud800y']); // not an item
    }
    const deductions = {};
    for (const name of deductionNames) deductions[name] = random.chance(0.5);
    return {
      seniorityOption: random.below(13),
      zoneIndex,
      zoneText,
      incentive: random.chance(0.7),
      absenceDays: text(['0', '0', '1', '2', '3,5', '10', '30'], 0.05),
      transport: random.chance(0.3),
      kilometres: text(['0', '10', '45', '120', '300'], 0.05),
      children: random.chance(0.4),
      childrenCount: text(goodCounts, 0.05),
      disabledChildren: random.chance(0.2),
      disabledChildrenCount: text(goodCounts, 0.05),
      spouse: random.chance(0.4),
      deductions,
      decimalSeparator: random.chance(0.9) ? ',' : '.',
    };
  };

  const cargoInput = () => {
    const row = random.pick(catalogue);
    const cargo = {
      rowSelected: true,
      codeTyped: row.codigocargo,
      code: row.codigocargo,
      basicPointsItem: row.puntosbasicos,
      name: row.cargox,
      punbas: row.puntosbasicos,
      compbas: row.compbasico,
      jorcom: row.jorcompleta,
      proljor: row.proljornada,
      tardif: row.tareadif,
    };
    const change = random.below(10);
    // The user overtypes a point box of the chooser.
    if (change <= 1) cargo[random.pick(['punbas', 'compbas', 'jorcom', 'proljor', 'tardif'])] = text(['0', '150', '971', '1200,5', '2600'], 0.5);
    if (change === 2) cargo.rowSelected = false;
    if (change === 3) cargo.codeTyped = random.pick(['', '12', 'abc', random.pick(catalogue).codigocargo]);
    return { ...base(), path: 'cargo', cargo };
  };

  const hoursInput = (path) => ({
    ...base(),
    path,
    [path === 'secondary' ? 'hoursSecondary' : 'hoursHigher']: text(goodHours),
    hoursCode06: text(goodHours, 0.05),
    hoursIncentive: text(goodHours, 0.05),
    hoursCode113: text(goodHours, 0.05),
  });

  // Every option once on each path, then a random mix.
  for (const path of ['cargo', 'secondary', 'higher']) {
    const make = () => (path === 'cargo' ? cargoInput() : hoursInput(path));
    for (let option = 0; option <= 12; option += 1) inputs.push({ ...make(), seniorityOption: option });
    for (let zone = -1; zone < 5; zone += 1)
      inputs.push({ ...make(), zoneIndex: zone, zoneText: zone < 0 ? zonePrompt : zones[zone].item });
    for (const name of deductionNames) {
      const deductions = Object.fromEntries(deductionNames.map((other) => [other, other === name]));
      inputs.push({ ...make(), deductions });
    }
  }
  for (let i = 0; i < 340; i += 1) {
    const kind = random.below(10);
    if (kind < 4) inputs.push(cargoInput());
    else if (kind < 7) inputs.push(hoursInput('secondary'));
    else if (kind < 9) inputs.push(hoursInput('higher'));
    else inputs.push({ ...base(), path: 'none' });
  }
  inputs.push({}); // every member missing: PayInput's defaults
  return inputs.map((input, i) => ({ input, teacher: `Docente ${i}`, dateLine: `Paraná, caso ${i}`, comment: i % 3 ? '' : 'Nota' }));
}

const catalogue = JSON.parse(native(['--catalogue']));
const scale = JSON.parse(native(['--scale']));
const requests = makeInputs(catalogue, scale.zones, scale.zonePrompt);
// The native tool reads the texts as core.js hands them to the module: a
// lone surrogate, which UTF-8 cannot carry, as U+FFFD.
const wholeCharacters = (key, value) => (typeof value === 'string' ? value.toWellFormed() : value);
const expected = native([], requests.map((request) => JSON.stringify(request, wholeCharacters)).join('\n') + '\n')
  .trimEnd()
  .split('\n')
  .map((line) => JSON.parse(line));

const session = await openSession();
const page = await session.browser.newPage();
await page.goto(session.url);
const inBrowser = await page.evaluate(async (requests) => {
  const { loadCore } = await import('./core.js');
  const core = await loadCore();
  return {
    catalogue: core.catalogue,
    scale: core.scale,
    codes: core.catalogue.map((row) => core.findCargoByCode(row.codigocargo)),
    notCodes: ['', ' 001', '1', '0010', 'abc'].map((text) => core.findCargoByCode(text)),
    answers: requests.map((request) => ({ result: core.calculate(request.input), text: core.slipText(request.input, request) })),
  };
}, requests);
await session.close();

test('the table covers both paths, every option and refusals', () => {
  assert.ok(requests.length >= 300);
  const results = expected.map((answer) => answer.result);
  const refusedControls = new Set(results.filter((r) => !r.ok).map((r) => r.control));
  for (const control of ['cargo', 'zona', 'numerohorasmed', 'numerohorassup', 'punbas', 'dinasist'])
    assert.ok(refusedControls.has(control), `no input refused at ${control}`);
  assert.ok(results.filter((r) => r.ok).length >= 200, 'too few slips');
  // Typed texts that JSON must escape or that are not whole UTF-16 come back in messages.
  const messages = results.filter((r) => !r.ok).map((r) => r.message).join('\n');
  assert.ok(messages.includes('"lejos" \\ 😀') && messages.includes('x\ufffdy'), 'no escaped text echoed');
  const paid = new Set(results.filter((r) => r.ok).map((r) => r.slip.head.carsel));
  assert.ok(paid.has('Horas de nivel medio') && paid.has('Horas de nivel superior'));
});

test('the catalogue and the scale arrive as the native core has them', () => {
  assert.deepEqual(inBrowser.catalogue, catalogue);
  assert.equal(inBrowser.catalogue.length, 311);
  assert.deepEqual(inBrowser.scale, scale);
  assert.deepEqual(inBrowser.codes, catalogue.map((_, index) => index));
  assert.deepEqual(inBrowser.notCodes, [-1, -1, -1, -1, -1]);
});

test('every input gives in the browser what it gives natively', () => {
  assert.equal(inBrowser.answers.length, expected.length);
  for (const [i, answer] of inBrowser.answers.entries())
    assert.deepEqual(answer, expected[i], `input ${i}: ${JSON.stringify(requests[i].input)}`);
});
