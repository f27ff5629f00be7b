// Registers the service worker that keeps the site's files for offline use,
// once the page is ready, so that caching the files never slows the first
// load. When a new version of the site was cached on an earlier visit, the
// page hands over to it at once, before anything is typed, and loads again
// with the new files: a page always runs the files of one version.

// Resolves when the page can be used (app.js marks <html data-ready>).
function pageReady() {
  const root = document.documentElement;
  return new Promise((resolve) => {
    if (root.dataset.ready) {
      resolve();
      return;
    }
    const observer = new MutationObserver(() => {
      if (root.dataset.ready) {
        observer.disconnect();
        resolve();
      }
    });
    observer.observe(root, { attributes: true, attributeFilter: ['data-ready'] });
  });
}

if ('serviceWorker' in navigator) {
  const workers = navigator.serviceWorker;
  const startedControlled = Boolean(workers.controller);
  let reloading = false;
  let typed = false;
  document.addEventListener('input', () => (typed = true), { once: true, capture: true });
  workers.addEventListener('controllerchange', () => {
    if (startedControlled && !reloading) {
      reloading = true;
      window.location.reload();
    }
  });
  pageReady()
    .then(() => workers.register('sw.js'))
    .then((registration) => {
      if (registration.waiting && startedControlled && !typed) registration.waiting.postMessage('activate');
    })
    .catch(() => {
      // Without a service worker the page still works; only offline use is lost.
    });
}
