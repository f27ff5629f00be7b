// Registers the service worker that keeps the site's files for offline use;
// start.js loads this module once the page has started.
//
// Nothing typed is ever thrown away by a new build: a page with anything
// typed, chosen or computed in it keeps the files it started with and only
// shows a quiet line offering the new version, which loads when the user
// asks or on the next visit. A page with nothing in it yet takes the new
// build at once (the worker lets it when no other page of the site is open).

const workers = navigator.serviceWorker;
const startedControlled = Boolean(workers?.controller);
let touched = false;
let asked = false; // the user asked for the new version
let reloading = false;

// Anything typed, chosen or computed: an event of a field or of the form, a
// click on the page's content, or a field the browser filled back in.
for (const type of ['input', 'change', 'submit']) document.addEventListener(type, () => (touched = true), true);
document.addEventListener('click', (event) => (touched ||= Boolean(event.target.closest?.('main'))), true);
const changed = (field) =>
  field.type === 'checkbox' || field.type === 'radio' ? field.checked !== field.defaultChecked : field.value !== field.defaultValue;
const holdsWork = () => touched || [...document.querySelectorAll('main input, main textarea')].some(changed);

let waiting = null; // the new build's worker

// The quiet line under "Calcular" that offers the new version.
function offer(text = 'Hay una versión nueva de esta página.') {
  let line = document.getElementById('update-status');
  if (!line) {
    line = document.createElement('p');
    line.id = 'update-status';
    line.className = 'status screen-only';
    line.setAttribute('role', 'status');
    const button = document.createElement('button');
    button.type = 'button';
    button.id = 'update-load';
    button.className = 'screen-only';
    button.textContent = 'Cargar la versión nueva';
    button.addEventListener('click', () => {
      asked = true;
      waiting.postMessage('activate');
    });
    document.getElementById('core-status').after(line, button);
  }
  line.textContent = text;
}

// A new build, installed and waiting: taken at once by a page with nothing
// in it, offered to any other.
function newBuild(worker) {
  if (worker === waiting) return;
  waiting = worker;
  if (holdsWork()) offer();
  else waiting.postMessage('activate');
}

if (workers) {
  // The worker declines while other pages of the site are open.
  workers.addEventListener('message', (event) => {
    if (event.data !== 'busy') return;
    offer(asked ? 'Para cargar la versión nueva, cierre las otras pestañas de esta página.' : undefined);
    asked = false;
  });
  workers.addEventListener('controllerchange', () => {
    if (!startedControlled || reloading || (!asked && holdsWork())) return;
    reloading = true;
    window.location.reload();
  });
  workers
    .register('sw.js')
    .then((registration) => {
      if (!startedControlled) return undefined;
      registration.addEventListener('updatefound', () => {
        const worker = registration.installing;
        worker?.addEventListener('statechange', () => {
          if (worker.state === 'installed') newBuild(worker);
        });
      });
      if (registration.waiting) newBuild(registration.waiting);
      // A build deployed since, or one whose storing failed before, is
      // looked for on every visit.
      return registration.update();
    })
    .catch(() => {
      // Without a service worker, or without network to look for a new build,
      // the page still works.
    });
}
