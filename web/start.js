// The page's start: its modules and the calculation core, then the offline
// copy. Every module is loaded from here so that a failure of any of them
// (missing, cut short, of the wrong type) shows in the status line instead of
// leaving "Cargando el cálculo…" for ever; "Calcular" stays disabled then.

try {
  await import('./app.js');
} catch (error) {
  const status = document.getElementById('core-status');
  document.getElementById('Command1').disabled = true;
  if (navigator.serviceWorker?.controller) {
    // The files came from the offline copy: it is forgotten, so that the
    // next load comes from the network (and stores a good copy again).
    navigator.serviceWorker.controller.postMessage('broken');
    status.textContent = 'No se pudo cargar el cálculo guardado en este equipo. Vuelva a cargar la página: se cargará de nuevo desde el sitio.';
  } else {
    status.textContent = 'No se pudo cargar el cálculo. Vuelva a cargar la página.';
  }
  throw error;
}

// Once the page works, so that storing the files does not slow its start.
import('./offline.js').catch(() => {
  // Without the offline copy the page still works.
});
