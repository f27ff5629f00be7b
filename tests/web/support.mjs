// What every web test shares: the site served by scripts/web.sh on a free
// port of 127.0.0.1 and a headless Chromium with a fresh profile. It builds
// nothing: the site is build-web/site as scripts/web.sh build left it (or
// RECIBO_WEB_SITE). Where Chromium cannot start, or the site or the Node
// tools are missing (scripts/web.sh build, npm ci: scripts/test.sh does
// both), the test is skipped with a message and the exit code ctest knows as
// a skip.

import { spawn } from 'node:child_process';
import { existsSync, mkdtempSync, rmSync } from 'node:fs';
import net from 'node:net';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';

export const repo = fileURLToPath(new URL('../..', import.meta.url));
export const siteDir = process.env.RECIBO_WEB_SITE ?? join(repo, 'build-web/site');
export const SKIP = 77;

export function skip(reason) {
  console.log(`SKIP: ${reason}`);
  process.exit(SKIP);
}

const puppeteer = await import('puppeteer-core').then(
  (module) => module.default,
  () => skip('faltan las herramientas de Node (npm ci)'),
);

const chromiumFlags = [
  '--headless=new',
  '--no-sandbox',
  '--disable-gpu',
  '--disable-quic',
  '--no-first-run',
  '--disable-background-networking',
  '--disable-component-update',
  '--disable-sync',
];

function freePort() {
  return new Promise((resolve, reject) => {
    const probe = net.createServer();
    probe.once('error', reject);
    probe.listen(0, '127.0.0.1', () => {
      const { port } = probe.address();
      probe.close(() => resolve(port));
    });
  });
}

async function waitForPort(port, server) {
  for (let attempt = 0; attempt < 200; attempt += 1) {
    if (server.exitCode !== null) throw new Error(`the web server ended with code ${server.exitCode}`);
    const open = await new Promise((resolve) => {
      const socket = net.connect(port, '127.0.0.1', () => {
        socket.end();
        resolve(true);
      });
      socket.once('error', () => resolve(false));
    });
    if (open) return;
    await new Promise((resolve) => setTimeout(resolve, 25));
  }
  throw new Error(`the web server did not open port ${port}`);
}

// Serves `site` with scripts/web.sh serve (lighttpd, the page's policy as a
// header) and answers {url, stop()}.
export async function startServer(site = siteDir) {
  if (!existsSync(join(site, 'index.html'))) skip(`no hay sitio en ${site} (scripts/web.sh build)`);
  const port = await freePort();
  const server = spawn(join(repo, 'scripts/web.sh'), ['serve'], {
    env: { ...process.env, RECIBO_WEB_PORT: String(port), RECIBO_WEB_SITE: site },
    stdio: ['ignore', 'ignore', 'inherit'],
  });
  await waitForPort(port, server);
  return {
    url: `http://127.0.0.1:${port}/`,
    // Ends the server; resolves once it no longer answers.
    stop: () =>
      new Promise((resolve) => {
        if (server.exitCode !== null || server.signalCode !== null) resolve();
        else {
          server.once('exit', () => resolve());
          server.kill();
        }
      }),
  };
}

// A headless Chromium with a profile of its own, removed when the test ends
// (Puppeteer ends the browser then too), or the end of the test as skipped
// when Chromium cannot start here.
export async function launchBrowser() {
  const profile = mkdtempSync(join(tmpdir(), 'recibo-chromium-'));
  process.once('exit', () => rmSync(profile, { recursive: true, force: true }));
  try {
    return await puppeteer.launch({
      executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
      headless: true,
      userDataDir: profile,
      args: chromiumFlags,
    });
  } catch (error) {
    return skip(`Chromium no puede arrancar aquí: ${error.message.split('\n')[0]}`);
  }
}

// The site served and a browser on it, for one test file: {url, browser, close()}.
export async function openSession(site = siteDir) {
  const browser = await launchBrowser();
  const server = await startServer(site);
  return {
    url: server.url,
    browser,
    async close() {
      await browser.close();
      await server.stop();
    },
  };
}
