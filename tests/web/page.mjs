// What the page tests do as a user: fill a field, click, choose, press
// "Calcular", and read what the page shows.

import { after, before } from 'node:test';

import { openSession } from './support.mjs';

// The site served and a browser on it for one test file; each page opens
// fresh at a phone's size unless told otherwise, with the core loaded.
export async function openSite() {
  const session = await openSession();
  return {
    async newPage(viewport = { width: 360, height: 640 }) {
      const page = await session.browser.newPage();
      const errors = [];
      page.on('pageerror', (error) => errors.push(error.message));
      await page.setViewport(viewport);
      await page.goto(session.url);
      await page.waitForSelector('html[data-ready]');
      page.errors = errors;
      return page;
    },
    // Lets the page write and read the clipboard, as a user allows it.
    grantClipboard: () =>
      session.browser
        .defaultBrowserContext()
        .overridePermissions(session.url, ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']),
    close: () => session.close(),
  };
}

// The site for the tests of one `describe`: opened before them, closed after.
export function useSite() {
  const site = {};
  before(async () => Object.assign(site, await openSite()));
  after(() => site.close?.());
  return site;
}

// Replaces the text of a field as a user would: select everything, type.
export async function fill(page, id, text) {
  await page.focus(`#${id}`);
  await page.keyboard.down('Control');
  await page.keyboard.press('KeyA');
  await page.keyboard.up('Control');
  if (text === '') await page.keyboard.press('Backspace');
  else await page.keyboard.type(text);
}

export async function click(page, ...ids) {
  for (const id of ids) await page.click(`#${id}`);
}

// A tap where the page has a touch screen, a click of the mouse elsewhere.
export async function press(page, ...selectors) {
  for (const selector of selectors) {
    if (page.viewport()?.hasTouch) await page.tap(selector);
    else await page.click(selector);
  }
}

// Pastes `text` where the focus is, from the clipboard (grantClipboard first).
export async function paste(page, text) {
  await page.evaluate((text) => navigator.clipboard.writeText(text), text);
  await page.keyboard.down('Control');
  await page.keyboard.press('KeyV', { commands: ['paste'] });
  await page.keyboard.up('Control');
}

export async function chooseZone(page, item) {
  await page.select('#zona', String(item));
}

// A cargo typed by its code in the chooser, then "Listo".
export async function cargoByCode(page, code) {
  await click(page, 'cargo', 'codcargo');
  await page.keyboard.type(code);
  await click(page, 'Listo');
}

export async function calcular(page) {
  await click(page, 'Command1');
}

export const textOf = (page, id) => page.$eval(`#${id}`, (element) => element.value ?? element.textContent);

export const isShown = (page, id) =>
  page.$eval(`#${id}`, (element) => element.checkVisibility() && !element.closest('[hidden]'));

// The slip as shown: one array per table row (código, cantidad, concepto,
// haberes, descuentos), the three totals and the selection panel.
export async function readSlip(page) {
  return page.evaluate(() => {
    const cellText = (cell) => (cell.querySelector('.amount-button') ?? cell).textContent;
    const text = (id) => document.getElementById(id).textContent;
    const rows = [...document.querySelectorAll('#Haberes tbody tr')].map((row) => [...row.cells].map(cellText));
    return {
      shown: !document.getElementById('Haberes').hidden,
      rows,
      thaberes: cellText(document.getElementById('thaberes')),
      tdescuentos: cellText(document.getElementById('tdescuentos')),
      liquido: cellText(document.getElementById('liquido')),
      panel: {
        Label11: text('Label11'),
        numcargo: text('numcargo'),
        punbasicos: text('punbasicos'),
        carsel: text('carsel'),
        pointBoxesShown: !document.querySelector('.point-box').hidden,
      },
      teacher: text('slip-docente'),
    };
  });
}

// The explanation of the amount in a table row (by its code) or of a total.
export async function explanationOf(page, selector) {
  return page.$eval(selector, (cell) => {
    const button = cell.querySelector('.amount-button');
    return document.getElementById(button.getAttribute('aria-describedby')).textContent;
  });
}
