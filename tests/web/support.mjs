// What every web test shares: the site served by scripts/web.sh on a free
// port of 127.0.0.1 and a headless Chromium with a fresh profile. It builds
// nothing: the site is build-web/site as scripts/web.sh build left it (or
// RECIBO_WEB_SITE). Where Chromium cannot start, the test is skipped with
// the exit code ctest knows as a skip.

import { spawn } from 'node:child_process';
import { existsSync, mkdtempSync, rmSync } from 'node:fs';
import net from 'node:net';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';

export const repo = fileURLToPath(new URL('../..', import.meta.url));
export const siteDir = process.env.RECIBO_WEB_SITE ?? join(repo, 'build-web/site');
export const SKIP = 77;

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
  if (!existsSync(join(site, 'index.html')))
    throw new Error(`no site in ${site}: build it with scripts/web.sh build`);
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

// A headless Chromium with a profile of its own, or the end of the test as
// skipped when Chromium cannot start here.
export async function launchBrowser() {
  const profile = mkdtempSync(join(tmpdir(), 'recibo-chromium-'));
  let browser;
  try {
    browser = await puppeteer.launch({
      executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
      headless: true,
      userDataDir: profile,
      args: chromiumFlags,
    });
  } catch (error) {
    rmSync(profile, { recursive: true, force: true });
    console.log(`SKIP: Chromium no puede arrancar aquí: ${error.message.split('\n')[0]}`);
    process.exit(SKIP);
  }
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    rmSync(profile, { recursive: true, force: true });
  };
  return browser;
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
