// The page as a product: it works offline once visited, a new build
// replaces the cached files on the next visit, it asks for nothing but its
// own files under its Content Security Policy, it stores nothing of what is
// typed, and Chromium finds it installable.

import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, test } from 'node:test';
import { calcular, click, fill, readSlip } from './page.mjs';
import { launchBrowser, repo, siteDir, startServer } from './support.mjs';

const browser = await launchBrowser();
after(() => browser.close());

// A page on `url`, its core loaded, with a service worker in charge of
// the origin once `serviceWorker` is asked for.
async function visit(url, { serviceWorker = false } = {}) {
  const page = await browser.newPage();
  await page.goto(url);
  await page.waitForSelector('html[data-ready]');
  if (serviceWorker) await serviceWorkerReady(page);
  return page;
}

async function serviceWorkerReady(page) {
  const ready = await page.evaluate(() =>
    Promise.race([
      navigator.serviceWorker.ready.then(() => true),
      new Promise((resolve) => setTimeout(() => resolve(false), 10000)),
    ]),
  );
  assert.ok(ready, 'no service worker took charge of the page');
}

// 12 hours of secondary level, as a user types them.
async function slipOfTwelveHours(page) {
  await click(page, 'horasmedio');
  await fill(page, 'numerohorasmed', '12');
  await calcular(page);
  await page.waitForSelector('#Haberes:not([hidden])');
  return readSlip(page);
}

const cachesOf = (page) =>
  page.evaluate(async () => {
    const names = await caches.keys();
    const entries = await Promise.all(
      names.map(async (name) => (await (await caches.open(name)).keys()).map((request) => request.url)),
    );
    return { names, urls: entries.flat() };
  });

test('after one visit the page loads and calculates with the network off', async () => {
  const server = await startServer();
  try {
    const online = await visit(server.url, { serviceWorker: true });
    const expected = await slipOfTwelveHours(online);
    await online.close();

    // No network at all: the browser offline and the server gone.
    await server.stop();
    const page = await browser.newPage();
    await page.setOfflineMode(true);
    const fromNetwork = [];
    page.on('response', (response) => {
      if (!response.fromServiceWorker()) fromNetwork.push(response.url());
    });
    await page.goto(server.url);
    await page.waitForSelector('html[data-ready]');
    assert.deepEqual(await slipOfTwelveHours(page), expected);
    assert.deepEqual(fromNetwork, []);
    assert.ok(expected.liquido.startsWith('$'));
    await page.close();
  } finally {
    await server.stop();
  }
});

test('a session asks only for the page’s own files, breaks no policy and stores nothing', async () => {
  const server = await startServer();
  try {
    const page = await browser.newPage();
    const requests = [];
    const problems = [];
    page.on('request', (request) => requests.push(request.url()));
    page.on('console', (message) => {
      if (message.type() === 'error' || /Content Security Policy/i.test(message.text())) problems.push(message.text());
    });
    page.on('pageerror', (error) => problems.push(error.message));
    await page.evaluateOnNewDocument(() => {
      document.addEventListener('securitypolicyviolation', (event) =>
        console.error(`Content Security Policy: ${event.violatedDirective} ${event.blockedURI}`),
      );
    });
    const response = await page.goto(server.url);
    await page.waitForSelector('html[data-ready]');
    // The policy stands in the page and, from the server, as a header too.
    const policy = await page.$eval('meta[http-equiv="Content-Security-Policy"]', (meta) => meta.content);
    assert.equal(policy, "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; object-src 'none'; base-uri 'none'; form-action 'none'");
    assert.equal(response.headers()['content-security-policy'], `${policy}; frame-ancestors 'none'`);
    await serviceWorkerReady(page);
    await fill(page, 'docente', 'Ana Pérez');
    await slipOfTwelveHours(page);
    await page.reload();
    await page.waitForSelector('html[data-ready]');

    const origin = new URL(server.url).origin;
    assert.ok(requests.length > 5);
    assert.deepEqual(requests.filter((url) => new URL(url).origin !== origin), []);
    assert.deepEqual(problems, []);

    assert.deepEqual(await page.cookies(), []);
    const stored = await page.evaluate(async () => ({
      cookie: document.cookie,
      local: localStorage.length,
      session: sessionStorage.length,
      databases: (await indexedDB.databases()).length,
    }));
    assert.deepEqual(stored, { cookie: '', local: 0, session: 0, databases: 0 });

    // The one cache holds the site's files, each as built, and nothing else.
    const { names, urls } = await cachesOf(page);
    assert.equal(names.length, 1);
    const sw = readFileSync(join(siteDir, 'sw.js'), 'utf8');
    for (const url of urls) {
      const file = new URL(url).pathname.slice(1);
      assert.ok(file === '' || sw.includes(`'${file}'`), `${file} is not a file of the site`);
    }
    await page.close();
  } finally {
    await server.stop();
  }
});

// Width and height of a PNG, from its header.
function pngSize(bytes) {
  assert.equal(bytes.subarray(1, 4).toString(), 'PNG');
  return `${bytes.readUInt32BE(16)}x${bytes.readUInt32BE(20)}`;
}

test('the manifest parses, its icons have the sizes it names, and Chromium finds the page installable', async () => {
  const server = await startServer();
  try {
    const page = await visit(server.url);
    const cdp = await page.createCDPSession();
    const { errors: manifestErrors, data } = await cdp.send('Page.getAppManifest');
    assert.deepEqual(manifestErrors, []);
    const manifest = JSON.parse(data);
    assert.equal(manifest.name, 'Recibo de haberes');
    assert.equal(manifest.lang, 'es-AR');
    assert.equal(manifest.display, 'standalone');
    assert.ok(!/^\/|:\/\//.test(manifest.start_url) && !/^\/|:\/\//.test(manifest.scope), 'start_url and scope are relative');
    assert.ok(manifest.icons.some((icon) => icon.purpose === 'maskable'));
    for (const icon of manifest.icons) {
      const response = await fetch(new URL(icon.src, server.url));
      assert.equal(response.status, 200, icon.src);
      assert.equal(pngSize(Buffer.from(await response.arrayBuffer())), icon.sizes, icon.src);
    }
    const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
    assert.deepEqual(installabilityErrors, []);
    await page.close();
  } finally {
    await server.stop();
  }
});

test('a new build replaces the cached files on the next visit, all together', async () => {
  const copy = mkdtempSync(join(tmpdir(), 'recibo-site-'));
  cpSync(siteDir, copy, { recursive: true });
  const server = await startServer(copy);
  try {
    const first = await visit(server.url, { serviceWorker: true });
    const before = await cachesOf(first);
    await first.close();

    // The new build: another page text, and the service worker of its files.
    const index = join(copy, 'index.html');
    writeFileSync(index, readFileSync(index, 'utf8').replace('</head>', '<meta name="recibo-build" content="2">\n</head>'));
    const stamp = spawnSync(join(repo, 'scripts/web.sh'), ['stamp', copy], { encoding: 'utf8' });
    assert.equal(stamp.status, 0, stamp.stderr);

    // This visit still shows the old build and finds the new one.
    const second = await visit(server.url);
    assert.equal(await second.$('meta[name="recibo-build"]'), null);
    await second.evaluate(async () => {
      const registration = await navigator.serviceWorker.getRegistration();
      await registration.update();
      while (!registration.waiting) await new Promise((resolve) => setTimeout(resolve, 50));
    });
    await second.close();

    // The next visit runs the new build, whose files alone are cached.
    const third = await browser.newPage();
    await third.goto(server.url);
    await third.waitForSelector('meta[name="recibo-build"]');
    await third.waitForSelector('html[data-ready]');
    const afterUpdate = await cachesOf(third);
    assert.equal(afterUpdate.names.length, 1);
    assert.notEqual(afterUpdate.names[0], before.names[0]);
    assert.deepEqual(afterUpdate.urls.sort(), before.urls.sort());
    await third.close();
  } finally {
    await server.stop();
    rmSync(copy, { recursive: true, force: true });
  }
});
