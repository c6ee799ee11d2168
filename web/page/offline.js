// The page without the network: the service worker (sw.js, made at build
// time from the built site) keeps one version's files and serves them
// together. A newer version waits until the player takes it with the
// notice's "reload", which the page offers only while no generation runs.
'use strict';

/// Registers the service worker and calls `onUpdate(apply)` when a newer
/// version is ready; `apply()` switches to it and reloads the page.
function registerOffline(onUpdate) {
  if (!('serviceWorker' in navigator)) return;
  let switching = false;
  const controlled = !!navigator.serviceWorker.controller;
  navigator.serviceWorker.addEventListener('controllerchange', () => {
    if (switching) location.reload();
    // Another tab took the new version: this page's files are the old ones.
    else if (controlled) onUpdate(() => location.reload());
  });
  const offer = (worker) => {
    // The first version installed while nothing controls the page is no
    // update.
    if (!navigator.serviceWorker.controller) return;
    onUpdate(() => {
      switching = true;
      worker.postMessage({ type: 'SKIP_WAITING' });
    });
  };
  navigator.serviceWorker.register('sw.js').then((registration) => {
    if (registration.waiting) offer(registration.waiting);
    registration.addEventListener('updatefound', () => {
      const worker = registration.installing;
      worker.addEventListener('statechange', () => {
        if (worker.state === 'installed') offer(worker);
      });
    });
  }).catch(() => {
    // Without a service worker the page still works while online.
  });
}
