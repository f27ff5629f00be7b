// "Imprimir" gives one A4 page with the slip as text and no form; "Copiar el
// recibo" puts the slip's text on the clipboard.

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { describe, it } from 'node:test';

import { calcular, click, fill, readSlip, useSite } from './page.mjs';

const squeeze = (text) => text.replace(/\s+/g, '');

// The pages and the text of a PDF, through poppler's tools; each line is
// compared without its blanks, which the extraction does not keep exactly
// ("$ 3" may come out as "$3").
function pdfText(pdf) {
  const folder = mkdtempSync(join(tmpdir(), 'recibo-print-'));
  try {
    const file = join(folder, 'slip.pdf');
    writeFileSync(file, pdf);
    const pages = Number(/Pages:\s+(\d+)/.exec(execFileSync('pdfinfo', [file], { encoding: 'utf8' }))[1]);
    const text = execFileSync('pdftotext', ['-layout', file, '-'], { encoding: 'utf8' });
    return { pages, text, lines: text.split('\n').map(squeeze) };
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
}

// Every row a slip can have: 18 earnings and 8 deduction rows.
async function largestSlip(page) {
  await fill(page, 'docente', 'Pérez, Ana');
  await click(page, 'cargo', 'codcargo');
  await page.keyboard.type('609');
  await fill(page, 'punbas', '901');
  for (const box of ['compbas', 'jorcom', 'proljor', 'tardif']) await fill(page, box, '1');
  await click(page, 'Listo', 'Option4', 'inasist', 'transporte', 'hijos', 'hijosdisc', 'conyuge');
  await page.select('#zona', '1');
  await fill(page, 'dinasist', '1');
  await fill(page, 'cantkm', '100');
  await fill(page, 'cantidadhijos', '2');
  await fill(page, 'cantidadhijosdisc', '1');
  await click(page, 'Iosper', 'Osplad', 'VESNAR', 'APORTEJUB', 'cajacomp', 'Ley4035', 'Seguro3011');
}

describe('print and copy', () => {
  const site = useSite();

  it('the printed slip is one A4 page carrying the rows and totals as text, and no form', async () => {
    const page = await site.newPage();
    await largestSlip(page);
    await calcular(page);
    await fill(page, 'Text11', 'Liquidación de marzo');
    const slip = await readSlip(page);
    assert.equal(slip.rows.length, 26);
    const { pages, text, lines } = pdfText(await page.pdf({ format: 'A4' }));
    assert.equal(pages, 1);
    for (const row of slip.rows) {
      const printed = row.join(' ');
      assert.ok(lines.includes(squeeze(printed)), `row "${printed}" printed`);
    }
    for (const total of [`Total Haberes ${slip.thaberes}`, `Total descuentos ${slip.tdescuentos}`,
      `Liquido a pagar ${slip.liquido}`])
      assert.ok(lines.includes(squeeze(total)), total);
    for (const shown of ['Recibo de sueldos de: Pérez, Ana', 'Liquidación de marzo', 'Director 1era Categoría',
      'Desde Mayo de 2.008'])
      assert.ok(text.includes(shown), shown);
    for (const absent of ['Calcular', 'Imprimir', 'Copiar el recibo', 'Apellido y nombre', 'Poné tu comentario',
      'No hay un recibo para imprimir'])
      assert.ok(!text.includes(absent), `${absent} not printed`);

    // A name of 300 letters without a blank wraps on the paper, whole.
    const long = 'Ñ'.repeat(300);
    await fill(page, 'docente', long);
    await calcular(page);
    const printed = pdfText(await page.pdf({ format: 'A4' }));
    assert.equal(printed.pages, 1);
    assert.ok(squeeze(printed.text).includes(long), 'the whole name printed');
    await page.close();
  });

  it('printed with no slip, the page says to press "Calcular"', async () => {
    const page = await site.newPage();
    assert.match(pdfText(await page.pdf({ format: 'A4' })).text,
      /No hay un recibo para imprimir: complete los datos y presione «Calcular» primero\./);
    await page.close();
  });

  it('"Copiar el recibo" puts the slip as tab-separated text on the clipboard', async () => {
    const page = await site.newPage();
    await site.grantClipboard();
    await fill(page, 'docente', 'Ana');
    await click(page, 'horassup');
    await fill(page, 'numerohorassup', '10');
    await calcular(page);
    await fill(page, 'Text11', 'Marzo');
    await click(page, 'Copiar');
    const date = await page.$eval('#Text10', (box) => box.textContent);
    assert.match(date, /^\d{1,2}\/\d{1,2}\/\d{2} \d{2}:\d{2}$/);
    // 10 hours of 86,9 points are 869 points; 869 × 0,63 = 547,47 and 7 %
    // of it 38,3229; nothing else pays.
    assert.equal(await page.evaluate(() => navigator.clipboard.readText()),
      'Desde Mayo de 2.008\n' +
      'Horas de nivel superior\n' +
      'Cantidad de horas\t10\n' +
      'Puntaje\t869\n' +
      'Código\tCantidad\tConcepto\tHaberes\tDescuentos\n' +
      '001\t10\tHs. N. Superior\t$547,47\t\n' +
      '006\t0\tAdic. Art 2 y 3 Dcrto 5863/05\t$ 0\t\n' +
      '014\t0,7\tProduct Dcrto 5863/05\t$ 0\t\n' +
      '113\t0\tNegro de Nación\t$ 0\t\n' +
      '188\t7.0\tPlus Productividad\t$ 38,3229\t\n' +
      '\t\tTotal Haberes\t$ 585,7929\t\n' +
      '\t\tTotal descuentos\t\t$ 0\n' +
      '\t\tLiquido a pagar\t\t$ 585,7929\n' +
      'Ana\n' +
      `${date}\n` +
      'Marzo\n');
    assert.equal(await page.$eval('#copy-status', (status) => status.textContent), 'Recibo copiado.');
    await page.close();
  });
});
