// The service worker: it keeps one build of the site for use without
// network, and keeps it only once every file is as the build made it.
// scripts/web.sh writes VERSION and FILES (each file of the site, itself
// excepted, with the SHA-256 of its bytes in the form of Subresource
// Integrity) when it builds the site.
//
// A build is stored whole or not at all, in a cache of its own named by the
// version and by the worker's scope, so that two copies of the site on one
// origin never touch each other's files. A new build waits until no page of
// this copy but the one asking is open, so that no page is ever taken over
// while something is typed in it. It stores nothing but the site's files.
const VERSION = 'dev';
const FILES = {
};

const scope = self.registration.scope;
const scopePath = new URL(scope).pathname;
const CACHE = `recibo ${VERSION} ${scope}`;

// The types under which each kind of file works in a browser.
const javascript = ['text/javascript', 'application/javascript', 'application/x-javascript'];
const TYPES = {
  html: ['text/html'],
  js: javascript,
  css: ['text/css'],
  wasm: ['application/wasm', 'application/octet-stream'],
  webmanifest: ['application/manifest+json', 'application/json', 'application/octet-stream'],
  svg: ['image/svg+xml'],
  png: ['image/png'],
};

async function sri(bytes) {
  const digest = new Uint8Array(await crypto.subtle.digest('SHA-256', bytes));
  return `sha256-${btoa(String.fromCharCode(...digest))}`;
}

// The file as the server gives it now, if it is the one of this build.
async function verified(file) {
  const url = new URL(file, scope);
  const response = await fetch(url, { cache: 'no-cache' });
  const type = (response.headers.get('Content-Type') || '').split(';')[0].trim().toLowerCase();
  const expected = TYPES[file.slice(file.lastIndexOf('.') + 1)] || [];
  if (!response.ok || response.type !== 'basic' || response.redirected || !expected.includes(type))
    throw new Error(`${file}: ${response.status} ${type}`);
  if ((await sri(await response.clone().arrayBuffer())) !== FILES[file]) throw new Error(`${file}: not of this build`);
  return [url, response];
}

self.addEventListener('install', (event) => {
  event.waitUntil(
    (async () => {
      // Everything is fetched and checked before anything is stored: a file
      // missing, cut short, of another type or of another build fails the
      // install, and the pages go on with the network or the build before.
      const files = await Promise.all(Object.keys(FILES).map(verified));
      await caches.delete(CACHE);
      const cache = await caches.open(CACHE);
      try {
        await Promise.all(files.map(([url, response]) => cache.put(url, response)));
      } catch (error) {
        await caches.delete(CACHE);
        throw error;
      }
    })(),
  );
});

// A cache of this copy of the site: named with this scope, or named as
// builds before named theirs ("recibo-" and a version, with no scope) and
// holding this copy's page.
async function ofThisCopy(name) {
  if (name.startsWith('recibo ')) return name.slice(name.lastIndexOf(' ') + 1) === scope;
  if (!/^recibo-[0-9a-f]+$/.test(name)) return false;
  return Boolean(await (await caches.open(name)).match(new URL('index.html', scope)));
}

// Deletes the caches of this copy, all but `keep`.
async function forgetBuilds(keep) {
  for (const name of await caches.keys()) if (name !== keep && (await ofThisCopy(name))) await caches.delete(name);
}

self.addEventListener('activate', (event) => event.waitUntil(forgetBuilds(CACHE)));

// A page without anything typed may take the new build at once, but only
// when no other page of this copy is open: the worker would take that one
// over too. Otherwise the page is told, and the new build waits for the next
// visit. A page whose files failed to start has them forgotten, with this
// worker, so that its next load comes from the network.
self.addEventListener('message', (event) => {
  const page = event.source;
  if (event.data === 'activate')
    event.waitUntil(
      self.clients.matchAll({ type: 'window', includeUncontrolled: true }).then((windows) => {
        const others = windows.filter((other) => other.id !== page.id && new URL(other.url).pathname.startsWith(scopePath));
        if (others.length === 0) return self.skipWaiting();
        page.postMessage('busy');
      }),
    );
  if (event.data === 'broken') event.waitUntil(forgetBuilds(null).then(() => self.registration.unregister()));
});

// The file of this build that `request` asks for, or null: the folder's own
// address is its page.
function fileOf(request) {
  const url = new URL(request.url);
  if (request.method !== 'GET' || url.origin !== self.location.origin || !url.pathname.startsWith(scopePath)) return null;
  const file = url.pathname.slice(scopePath.length) || 'index.html';
  return Object.hasOwn(FILES, file) ? file : null;
}

self.addEventListener('fetch', (event) => {
  const file = fileOf(event.request);
  if (!file) return;
  event.respondWith(
    caches.match(new URL(file, scope), { cacheName: CACHE }).then((stored) => stored ?? fetch(event.request)),
  );
});
