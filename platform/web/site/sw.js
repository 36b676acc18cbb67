'use strict';
// The site kept in the browser's cache, so that a return visit fetches
// nothing and the page plays with the network gone. The cache is named after
// the build's stamp, which build-web writes here with the files it holds: a
// new build is a new worker, which fetches the new files and waits; it takes
// over at the next visit, or at once when the page asks (its Reload), and
// drops the old cache. A page never mixes two builds' files.

const build = '';
const files = [];
const cacheName = `kvor-${build}`;

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(cacheName);
    // What the page fetched a moment ago the browser revalidates (304): no body twice.
    await cache.addAll(files);
  })());
});

self.addEventListener('message', (event) => {
  if (event.data === 'take over') self.skipWaiting();
});

self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) if (name.startsWith('kvor-') && name !== cacheName) await caches.delete(name);
    await self.clients.claim();
  })());
});

// The cached copy when there is one (the page's parameters do not name another
// file), else the network.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith((async () => {
    const cache = await caches.open(cacheName);
    const kept = await cache.match(event.request, { ignoreSearch: true, ignoreVary: true });
    return kept || fetch(event.request);
  })());
});
