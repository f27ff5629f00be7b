// The page as a product: it works offline once visited, a new build
// replaces the cached files on the next visit, it asks for nothing but its
// own files under its Content Security Policy, it stores nothing of what is
// typed, and Chromium finds it installable.

import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { extname, join, normalize } from 'node:path';
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
    // Amounts typed to compare with a paid slip are neither sent nor kept.
    await click(page, 'Comparar');
    await page.keyboard.type('1.914,73');
    await fill(page, 'recibido-liquido', '100');
    await page.keyboard.press('Tab');
    await page.waitForSelector('tr[data-estado="difiere"] #recibido-liquido');
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

// The rows below serve a copy of the site from a server of their own, which
// can answer a file wrongly: {status}, {type} or a body {cut} short.
const TYPES = { html: 'text/html', js: 'text/javascript', css: 'text/css', wasm: 'application/wasm', png: 'image/png', svg: 'image/svg+xml', webmanifest: 'application/manifest+json' };

const readIfFile = (file) => {
  try {
    return readFileSync(file);
  } catch {
    return null;
  }
};

async function serve(root) {
  const faults = new Map();
  const server = createServer((request, response) => {
    let path = normalize(decodeURIComponent(new URL(request.url, 'http://host').pathname));
    if (path.endsWith('/')) path += 'index.html';
    const fault = faults.get(path) ?? {};
    const body = fault.status ? null : readIfFile(join(root, path));
    if (!body) return response.writeHead(fault.status ?? 404, { 'Content-Type': 'text/html' }).end('<!DOCTYPE html><title>No</title>');
    response.writeHead(200, { 'Content-Type': fault.type ?? TYPES[extname(path).slice(1)], 'Cache-Control': 'no-cache' });
    response.end(body.subarray(0, fault.cut ?? body.length));
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return {
    url: `http://127.0.0.1:${server.address().port}/`,
    faults,
    stop: () => new Promise((resolve) => server.close(resolve).closeAllConnections()),
  };
}

const copies = [];
process.once('exit', () => copies.forEach((copy) => rmSync(copy, { recursive: true, force: true })));
function copyOfSite() {
  const copy = mkdtempSync(join(tmpdir(), 'recibo-site-'));
  cpSync(siteDir, copy, { recursive: true });
  copies.push(copy);
  return copy;
}

// The next build of the copy in `site`: another page text and another app.js, stamped.
function nextBuild(site) {
  const next = copyOfSite();
  const index = join(next, 'index.html');
  writeFileSync(index, readFileSync(index, 'utf8').replace('</head>', '<meta name="recibo-build" content="2">\n</head>'));
  writeFileSync(join(next, 'app.js'), `${readFileSync(join(next, 'app.js'), 'utf8')}// build 2\n`);
  const stamp = spawnSync(join(repo, 'scripts/web.sh'), ['stamp', next], { encoding: 'utf8' });
  assert.equal(stamp.status, 0, stamp.stderr);
  return { deploy: (...files) => files.forEach((file) => cpSync(join(next, file), join(site, file))) };
}

// The state the worker of a registration, new or updated, comes to:
// 'activated' or 'installed' (stored), or 'redundant' (refused).
const storing = (page, how = 'register') =>
  page.evaluate(async (how) => {
    const registration = await navigator.serviceWorker.register('sw.js');
    if (how === 'update') await registration.update();
    const worker = registration.installing ?? (how === 'update' ? null : registration.waiting ?? registration.active);
    if (!worker) return 'redundant';
    // An update stops at 'installed', waiting; a first worker goes on to 'activated'.
    const settled = how === 'update' ? ['installed', 'activated', 'redundant'] : ['activated', 'redundant'];
    while (!settled.includes(worker.state))
      await new Promise((resolve) => worker.addEventListener('statechange', resolve, { once: true }));
    return worker.state;
  }, how);

// A tab on `url`, once the page has started or said why it cannot.
async function tab(url) {
  const page = await browser.newPage();
  await page.goto(url);
  await page.waitForFunction(() => document.documentElement.dataset.ready || !/Cargando/.test(document.getElementById('core-status').textContent));
  return page;
}

// A tab that came to the next build, once that build has started.
async function onNextBuild(page) {
  await page.waitForSelector('meta[name="recibo-build"]');
  await page.waitForSelector('html[data-ready]');
  return page;
}

const shown = (page) =>
  page.evaluate(() => ({
    status: document.getElementById('core-status').textContent,
    calcular: !document.getElementById('Command1').disabled,
    build: document.querySelector('meta[name="recibo-build"]') ? 2 : 1,
    update: document.getElementById('update-status')?.textContent ?? '',
  }));

const NOT_LOADED = 'No se pudo cargar el cálculo. Vuelva a cargar la página.';
const READY = { status: '', calcular: true, update: '' };

// A first visit that meets a bad file: the page says so, "Calcular" stays
// disabled, nothing is stored; once the server gives the right file, the
// next visit stores the build and works offline.
const firstVisitFaults = [
  ['recibo-core.wasm cut short', '/recibo-core.wasm', { cut: 4000 }],
  ['an HTML page for recibo-core.wasm', '/recibo-core.wasm', { type: 'text/html', cut: 0 }],
  ['core.js as text/plain', '/core.js', { type: 'text/plain' }],
  ['recibo-core.js missing', '/recibo-core.js', { status: 404 }],
  ['app.js missing', '/app.js', { status: 404 }],
];

for (const [fault, path, answer] of firstVisitFaults) {
  test(`a first visit with ${fault} shows why, stores nothing, and a visit once it is fixed stores the build`, async () => {
    const server = await serve(copyOfSite());
    try {
      server.faults.set(path, answer);
      const first = await tab(server.url);
      assert.deepEqual(await shown(first), { status: NOT_LOADED, calcular: false, build: 1, update: '' });
      assert.equal(await storing(first), 'redundant');
      assert.deepEqual((await cachesOf(first)).names, []);
      await first.close();

      server.faults.clear();
      const second = await tab(server.url);
      assert.equal(await storing(second), 'activated');
      await second.setOfflineMode(true);
      await second.reload();
      await second.waitForSelector('html[data-ready]');
      assert.deepEqual(await shown(second), { ...READY, build: 1 });
      await second.close();
    } finally {
      await server.stop();
    }
  });
}

// A page of the site, controlled by its worker, on a build stored before.
async function controlledTab(url) {
  const first = await tab(url);
  assert.equal(await storing(first), 'activated');
  await first.close();
  return tab(url);
}

const deployRows = [
  {
    behaviour: 'a new build while a tab holds a slip: that tab keeps it and offers the new version',
    async run(site, server) {
      const filled = await controlledTab(server.url);
      await fill(filled, 'docente', 'Ana Pérez');
      const slip = await slipOfTwelveHours(filled);
      nextBuild(site).deploy('index.html', 'app.js', 'sw.js');

      const other = await tab(server.url);
      await other.waitForSelector('#update-status');
      await filled.waitForSelector('#update-status');
      assert.deepEqual(await shown(filled), { ...READY, build: 1, update: 'Hay una versión nueva de esta página.' });
      assert.equal(await filled.$eval('#docente', (field) => field.value), 'Ana Pérez');
      assert.deepEqual(await readSlip(filled), slip);
      assert.ok(await filled.evaluate(async () => Boolean((await navigator.serviceWorker.getRegistration()).waiting)));

      // On the user's word, once no other tab of the site is open.
      await other.click('#update-load');
      await other.waitForFunction(() => /cierre las otras pestañas/.test(document.getElementById('update-status').textContent));
      await filled.close();
      await other.click('#update-load');
      return onNextBuild(other);
    },
  },
  {
    behaviour: 'a new build with no tab open: the next visit, with nothing typed, takes it at once',
    async run(site, server) {
      const before = await controlledTab(server.url);
      // A cache as builds of the earlier format named theirs goes too.
      await before.evaluate(async () => (await caches.open('recibo-0123456789abcdef')).put('index.html', new Response('')));
      await before.close();
      nextBuild(site).deploy('index.html', 'app.js', 'sw.js');
      const page = await tab(server.url);
      return onNextBuild(page);
    },
  },
  {
    behaviour: 'a deploy visited half-copied keeps the old build whole, and the complete one replaces it',
    async run(site, server) {
      const page = await controlledTab(server.url);
      const next = nextBuild(site);
      next.deploy('index.html', 'sw.js');
      assert.equal(await storing(page, 'update'), 'redundant');
      await page.reload();
      await page.waitForSelector('html[data-ready]');
      assert.deepEqual(await shown(page), { ...READY, build: 1 });
      assert.ok(!(await page.evaluate(async () => (await fetch('app.js')).text())).includes('// build 2'));
      await page.close();

      next.deploy('app.js');
      const later = await tab(server.url);
      return onNextBuild(later);
    },
  },
];

for (const { behaviour, run } of deployRows) {
  test(behaviour, async () => {
    const site = copyOfSite();
    const server = await serve(site);
    try {
      const page = await run(site, server);
      // The new build alone is stored, whole.
      const { names } = await cachesOf(page);
      assert.equal(names.length, 1);
      assert.ok(names[0].endsWith(server.url));
      assert.deepEqual(await shown(page), { ...READY, build: 2 });
      assert.ok((await page.evaluate(async () => (await fetch('app.js')).text())).includes('// build 2'));
      await page.close();
    } finally {
      await server.stop();
    }
  });
}

test('two copies of the site on one origin both work offline', async () => {
  const site = copyOfSite();
  cpSync(siteDir, join(site, 'other'), { recursive: true });
  const server = await serve(site);
  try {
    for (const url of [server.url, `${server.url}other/`]) await (await controlledTab(url)).close();
    await server.stop();
    for (const url of [server.url, `${server.url}other/`]) {
      const page = await browser.newPage();
      await page.setOfflineMode(true);
      await page.goto(url);
      await page.waitForSelector('html[data-ready]');
      assert.equal((await cachesOf(page)).names.length, 2);
      await page.close();
    }
  } finally {
    await server.stop();
  }
});

test('a stored build that fails to start says to reload, and the reload comes from the network', async () => {
  const server = await serve(copyOfSite());
  try {
    const page = await controlledTab(server.url);
    await page.evaluate(async () => {
      const cache = await caches.open((await caches.keys())[0]);
      await cache.put(new URL('core.js', location.href), new Response('export const = ;', { headers: { 'Content-Type': 'text/javascript' } }));
    });
    await page.reload();
    await page.waitForFunction(() => !/Cargando/.test(document.getElementById('core-status').textContent));
    assert.deepEqual(await shown(page), {
      status: 'No se pudo cargar el cálculo guardado en este equipo. Vuelva a cargar la página: se cargará de nuevo desde el sitio.',
      calcular: false,
      build: 1,
      update: '',
    });
    await page.waitForFunction(async () => (await caches.keys()).length === 0);
    await page.reload();
    await page.waitForSelector('html[data-ready]');
    assert.equal(await storing(page), 'activated');
    await page.close();
  } finally {
    await server.stop();
  }
});

test('texts cross to the core whole, and it answers a refusal for what JSON cannot write', async () => {
  const server = await startServer();
  const page = await visit(server.url);
  const answers = await page.evaluate(async () => {
    const core = await (await import('./core.js')).loadCore();
    const cyclic = { path: 'secondary' };
    cyclic.self = cyclic;
    const input = { path: 'secondary', hoursSecondary: '12', hoursCode06: '0', hoursIncentive: '0', hoursCode113: '0', absenceDays: '0' };
    return {
      code: core.findCargoByCode('604\0zz'),
      cyclic: core.calculate(cyclic),
      bigint: core.calculate({ ...input, seniorityOption: 1n }),
      text: core.slipText(input, { teacher: 'Ana\0Pérez', comment: 'uno\0dos' }),
    };
  });
  const refusal = { ok: false, control: '', message: 'La entrada no es un objeto JSON' };
  assert.deepEqual([answers.code, answers.cyclic, answers.bigint], [-1, refusal, refusal]);
  assert.ok(answers.text.includes('Ana\0Pérez') && answers.text.includes('uno\0dos'), answers.text);
  await page.close();
  await server.stop();
});
