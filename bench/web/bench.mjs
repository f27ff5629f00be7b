// The web page's figures, measured in headless Chromium on 127.0.0.1 against
// build-web/site (scripts/bench.sh builds it first):
//   - everything a first visit loads, each file gzipped at level 9, summed
//     (the page's own requests, then with the files the service worker caches);
//   - a cold load (a fresh profile: no HTTP cache, no service worker) until
//     "Calcular" can be used, median of 15;
//   - "Calcular" until the slip is laid out, median of 100;
//   - Lighthouse's four scores with its mobile preset, median of 5 runs
//     (--no-lighthouse leaves it out).

import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { gzipSync } from 'node:zlib';
import lighthouse from 'lighthouse';
import { launchBrowser, siteDir, startServer } from '../../tests/web/support.mjs';

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = sorted.length >> 1;
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const kb = (bytes) => `${(bytes / 1024).toFixed(1)} KB`;
const gzipped = (file) => gzipSync(readFileSync(join(siteDir, file)), { level: 9 }).length;

const browser = await launchBrowser();
const server = await startServer();
const origin = new URL(server.url).origin;

try {
  // What a first visit loads.
  {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    const files = new Set();
    page.on('requestfinished', (request) => {
      const url = new URL(request.url());
      if (url.origin === origin) files.add(url.pathname === '/' ? 'index.html' : url.pathname.slice(1));
    });
    await page.goto(server.url, { waitUntil: 'networkidle0' });
    await page.waitForSelector('html[data-ready]');
    const pageFiles = [...files];
    const pageBytes = pageFiles.reduce((sum, file) => sum + gzipped(file), 0);
    // The files of the worker's manifest, one `  'file': 'sha256-…',` a line.
    const cached = [...readFileSync(join(siteDir, 'sw.js'), 'utf8').matchAll(/^ {2}'([^']+)': 'sha256-/gm)].map(
      (match) => match[1],
    );
    const allFiles = new Set([...pageFiles, ...cached, 'sw.js']);
    const allBytes = [...allFiles].reduce((sum, file) => sum + gzipped(file), 0);
    console.log(`Lo que carga la página (gzip -9): ${kb(pageBytes)} en ${pageFiles.length} archivos`);
    for (const file of pageFiles.sort()) console.log(`  ${file.padEnd(28)} ${kb(gzipped(file))}`);
    console.log(`Con lo que guarda el service worker: ${kb(allBytes)} en ${allFiles.size} archivos (límite: 100 KB)`);
    await context.close();
  }

  // Cold loads until "Calcular" can be used.
  {
    const times = [];
    for (let run = 0; run < 15; run += 1) {
      const context = await browser.createBrowserContext();
      const page = await context.newPage();
      // The moment the page enables "Calcular", taken in the page itself:
      // app.js marks <html data-ready> in the same task. Only the root's
      // attributes are watched, so that the watching costs the load nothing.
      await page.evaluateOnNewDocument(() => {
        const watchRoot = (root) =>
          new MutationObserver((changes, observer) => {
            if (root.dataset.ready && !document.getElementById('Command1').disabled) {
              window.usableAt = performance.now();
              observer.disconnect();
            }
          }).observe(root, { attributes: true, attributeFilter: ['data-ready'] });
        if (document.documentElement) watchRoot(document.documentElement);
        else
          new MutationObserver((changes, observer) => {
            if (document.documentElement) {
              observer.disconnect();
              watchRoot(document.documentElement);
            }
          }).observe(document, { childList: true });
      });
      await page.goto(server.url);
      const handle = await page.waitForFunction(() => window.usableAt);
      times.push(await handle.jsonValue());
      await context.close();
    }
    console.log(`Carga en frío hasta poder usar «Calcular»: mediana ${median(times).toFixed(1)} ms ` +
      `(mín. ${Math.min(...times).toFixed(1)}, máx. ${Math.max(...times).toFixed(1)}; límite: 300 ms)`);
  }

  // "Calcular" until the slip is laid out, alternating 12 and 13 hours so
  // that each click writes another slip.
  {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    await page.goto(server.url);
    await page.waitForSelector('html[data-ready]');
    await page.click('#horasmedio');
    const times = await page.evaluate(() => {
      const hours = document.getElementById('numerohorasmed');
      const button = document.getElementById('Command1');
      const slip = document.getElementById('Haberes');
      const times = [];
      for (let run = 0; run < 100; run += 1) {
        hours.value = run % 2 ? '13' : '12';
        hours.dispatchEvent(new Event('input', { bubbles: true }));
        const start = performance.now();
        button.click();
        void slip.getBoundingClientRect(); // style and layout of the new slip
        times.push(performance.now() - start);
      }
      return times;
    });
    console.log(`«Calcular» hasta el recibo dibujado: mediana ${median(times).toFixed(2)} ms ` +
      `(máx. ${Math.max(...times).toFixed(2)}; límite: 16 ms)`);
    await context.close();
  }

  // Lighthouse, mobile preset: its scores move with the machine's load, so
  // it runs several times and the median of each score is given.
  if (!process.argv.includes('--no-lighthouse')) {
    const runs = 5;
    const scores = new Map();
    const weak = new Set();
    for (let run = 0; run < runs; run += 1) {
      const context = await browser.createBrowserContext();
      const page = await context.newPage();
      const { lhr } = await lighthouse(server.url, { output: 'json', logLevel: 'error' }, undefined, page);
      for (const category of Object.values(lhr.categories))
        scores.set(category.title, [...(scores.get(category.title) ?? []), Math.round(category.score * 100)]);
      for (const audit of Object.values(lhr.audits))
        if (audit.score !== null && audit.score < 0.9 && audit.scoreDisplayMode !== 'informative') weak.add(audit.id);
      await context.close();
    }
    const text = [...scores].map(
      ([title, values]) => `${title} ${median(values)} (${Math.min(...values)} a ${Math.max(...values)})`,
    );
    console.log(`Lighthouse (móvil), mediana de ${runs}: ${text.join(', ')}`);
    if (weak.size) console.log(`  a mejorar en alguna pasada: ${[...weak].join(', ')}`);
  }
} finally {
  await browser.close();
  await server.stop();
}
