// Keeps the site for use offline: every file of the site is stored at installation (the list is
// written in at build time, with a version that changes with the files), and requests are
// answered from the store first.
'use strict';
const kVersion = '@LX_SITE_VERSION@';
const kFiles = [@LX_SITE_FILES@];
const kStore = `lxtools-${kVersion}`;

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(kStore).then((store) => store.addAll(kFiles)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((k) => k.startsWith('lxtools-') && k !== kStore).map((k) => caches.delete(k))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.match(event.request, {ignoreSearch: true}).then((hit) => hit || fetch(event.request)));
});
