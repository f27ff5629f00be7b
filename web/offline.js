// Registers the service worker that keeps the site's files for offline use.
// It registers at once, so that the worker caches the files while the page
// itself loads rather than later, while the page is in use. When a new
// version of the site was cached on an earlier visit, the page hands over to
// it at once, before anything is typed, and loads again with the new files:
// a page always runs the files of one version.

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
  workers
    .register('sw.js')
    .then((registration) => {
      if (registration.waiting && startedControlled && !typed) registration.waiting.postMessage('activate');
    })
    .catch(() => {
      // Without a service worker the page still works; only offline use is lost.
    });
}
