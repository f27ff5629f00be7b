// The service worker: on the first visit it caches the site's files, all of
// one version together; afterwards the page loads from that cache, with the
// network or without it. It caches only the site's own files, never what
// the user types or a slip. scripts/web.sh writes VERSION (a hash of the
// files) and FILES when it builds the site.
const VERSION = 'dev';
const FILES = [
  './',
];
const CACHE = `recibo-${VERSION}`;

self.addEventListener('install', (event) => {
  event.waitUntil(
    caches.open(CACHE).then((cache) => cache.addAll(FILES.map((file) => new Request(file, { cache: 'reload' })))),
  );
});

// A new version waits until no page of the old one is open, or until a page
// that has just loaded (nothing typed yet) asks it to take over, so that no
// page ever mixes the files of two versions.
self.addEventListener('message', (event) => {
  if (event.data === 'activate') self.skipWaiting();
});

self.addEventListener('activate', (event) => {
  event.waitUntil(
    caches.keys().then((names) =>
      Promise.all(names.filter((name) => name.startsWith('recibo-') && name !== CACHE).map((name) => caches.delete(name))),
    ),
  );
});

self.addEventListener('fetch', (event) => {
  const { request } = event;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(
    caches.open(CACHE).then(async (cache) => (await cache.match(request, { ignoreSearch: true })) ?? fetch(request)),
  );
});
