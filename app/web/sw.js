// Keeps the page's files, so that after one visit Arrowbench opens with no
// network. The cache's name comes from the files' contents: a new build
// fills a new cache and drops the old ones.
'use strict';

const CACHE = 'arrowbench-@CACHE_TAG@';
const FILES = [@WEB_FILE_LIST@];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((n) => n !== CACHE).map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

// The cache first; the network only for what it does not hold.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.match(event.request, {ignoreSearch: true})
    .then((hit) => hit || fetch(event.request)));
});
