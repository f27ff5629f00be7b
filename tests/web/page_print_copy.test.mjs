// "Imprimir" gives one A4 page with the slip as text and no form; "Copiar el
// recibo" puts the slip's text on the clipboard; both carry a comparison
// with the teacher's own slip while one is open.

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { describe, it } from 'node:test';

import { calcular, click, fill, press, readSlip, useSite } from './page.mjs';

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

  it('"Comparar con mi recibo": verdicts as each box is left, the summary, a refusal, the copy and the print', async () => {
    const page = await site.newPage({ width: 360, height: 780, hasTouch: true });
    await site.grantClipboard();
    await click(page, 'horassup');
    await fill(page, 'numerohorassup', '10');
    await calcular(page);
    // The slip of the copy above: 001 $547,47, 006, 014 and 113 $ 0, 188
    // $ 38,3229; both totals of earnings $ 585,7929. The first box has the
    // focus. (No two taps in quick succession fall near one another: that
    // would be a double tap, which places no caret; the added code's boxes
    // are reached with Tab.)
    await press(page, '#Comparar');
    for (const [box, typed] of [[null, '547,47'], ['#recibido-2', '1,914.73'], ['#recibido-3', '5'],
      ['#recibido-5', '38,33'], ['#recibido-thaberes', '585,80'], ['#recibido-liquido', '585,79'],
      ['#agregar-codigo', '123'], ['Tab', 'Bono'], ['Tab', '500'], ['Tab', ' ']]) {
      if (box === 'Tab') await page.keyboard.press(box);
      else if (box) await press(page, box);
      await page.keyboard.type(typed); // last, a space ticks "Es un descuento"
    }
    await press(page, '#slip-title');
    // The last box left, the added code's, makes it a deduction.
    await page.waitForFunction(() => document.getElementById('comparacion-resumen').textContent.includes('descuento'));
    const seen = await page.evaluate(() => ({
      rows: [...document.querySelectorAll('#Haberes tbody tr, #Haberes tfoot tr')].map((tr) =>
        `${tr.cells[0].textContent} ${tr.dataset.estado} ${tr.querySelector('.verdict').textContent}`),
      labels: [...document.querySelectorAll('#Haberes tbody input')].map((input) =>
        input.getAttribute('aria-labelledby').split(' ').map((id) => document.getElementById(id).textContent).join(' ')),
      summary: [...document.querySelectorAll('#comparacion-resumen p')].map((line) => line.textContent),
      counts: { ...document.getElementById('comparacion-resumen').dataset },
      alerts: [...document.querySelectorAll('[role="alert"]')].map((alert) => alert.textContent),
      invalid: [...document.querySelectorAll('[aria-invalid="true"]')].map((box) => box.id),
      explained: Boolean(document.querySelector('tr[data-estado="difiere"] .amount-button[aria-describedby]')),
    }));
    // 38,33 and 585,80 are the exact amounts raised to centavos; 585,79 is
    // 585,7929 cut to them.
    assert.deepEqual(seen, {
      rows: ['001 coincide coincide', '006 sin-dato ', '014 difiere le pagaron $ 5 de más', '113 sin-dato sin dato',
        '188 coincide coincide', 'Total Haberes coincide coincide', 'Total descuentos sin-dato sin dato',
        'Liquido a pagar coincide coincide'],
      labels: ['001 Hs. N. Superior', '006 Adic. Art 2 y 3 Dcrto 5863/05', '014 Product Dcrto 5863/05',
        '113 Negro de Nación', '188 Plus Productividad'],
      summary: ['Comparación con su recibo', 'Se compararon 3 filas: 1 difiere.', 'Liquido a pagar: coincide.',
        'En total, las diferencias suman $ 5 a su favor.', '1 código no calculado por recibo: 123 Bono, descuento de $ 500.'],
      counts: { comparados: '3', difieren: '1' },
      alerts: ['«006 Adic. Art 2 y 3 Dcrto 5863/05»: escriba el importe como figura en su recibo, por ejemplo 1.914,73.'],
      invalid: ['recibido-2'],
      explained: true,
    });

    await press(page, '#Copiar');
    const copied = await page.evaluate(() => navigator.clipboard.readText());
    assert.equal(copied.slice(copied.indexOf('Comparación con su recibo')),
      'Comparación con su recibo\nSe compararon 3 filas: 1 difiere.\nLiquido a pagar: coincide.\n' +
      'En total, las diferencias suman $ 5 a su favor.\n1 código no calculado por recibo: 123 Bono, descuento de $ 500.\n' +
      'Código\tConcepto\tCalculado\tEn su recibo\tResultado\n' +
      '001\tHs. N. Superior\t$547,47\t$ 547,47\tcoincide\n' +
      '006\tAdic. Art 2 y 3 Dcrto 5863/05\t$ 0\t1,914.73\timporte no válido\n' +
      '014\tProduct Dcrto 5863/05\t$ 0\t$ 5\tle pagaron $ 5 de más\n' +
      '113\tNegro de Nación\t$ 0\t\tsin dato\n' +
      '188\tPlus Productividad\t$ 38,3229\t$ 38,33\tcoincide\n' +
      '\tTotal Haberes\t$ 585,7929\t$ 585,8\tcoincide\n' +
      '\tTotal descuentos\t$ 0\t\tsin dato\n' +
      '\tLiquido a pagar\t$ 585,7929\t$ 585,79\tcoincide\n' +
      '123\tBono\t\t$ 500\tno calculado por recibo (descuento)\n');
    assert.ok(copied.startsWith('Desde Mayo de 2.008\n'), 'the slip before the comparison');
    const { lines } = pdfText(await page.pdf({ format: 'A4' }));
    for (const printed of ['Se compararon 3 filas: 1 difiere.', '5 le pagaron $ 5 de más', '38,33 coincide',
      '585,79 coincide'])
      assert.ok(lines.includes(squeeze(printed)), `"${printed}" printed`);

    // A code taken away leaves the summary.
    await press(page, '#agregados .remove');
    await page.waitForFunction(() => !document.querySelector('#comparacion-resumen p:nth-child(5)'));
    // A new slip ends the comparison, and says so.
    await press(page, '#Command1');
    assert.deepEqual(await page.evaluate(() => [document.querySelectorAll('#Haberes input').length,
      document.getElementById('comparacion-resumen').textContent]), [0,
      'La comparación con su recibo terminó: el recibo se calculó de nuevo y los importes que escribió se borraron.']);
    // Ended by hand, it leaves the slip as it was, the focus on its button.
    await press(page, '#Comparar', '#comparar-fin');
    assert.deepEqual(await page.evaluate(() => [document.querySelectorAll('#Haberes input, [data-estado]').length,
      document.getElementById('comparacion-resumen').hidden, document.activeElement.id]), [0, true, 'Comparar']);
    await page.close();
  });
});
