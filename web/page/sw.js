// Keeps the page's files so it opens without a network once loaded.
const kCache = 'zk-h41-web-2';
const kFiles = ['./', 'index.html', 'style.css', 'app.mjs', 'grid.mjs', 'files.mjs', 'serial.mjs', 'transfer.mjs',
                'zk-h41-core.js', 'zk-h41-core.wasm', 'lists/lists.json'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(kCache).then((cache) => cache.addAll(kFiles)));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys().then((keys) => Promise.all(keys.filter((k) => k !== kCache).map((k) => caches.delete(k)))));
});

// The network first, so a new build is seen at once; the cache when offline.
self.addEventListener('fetch', (event) => {
  event.respondWith(fetch(event.request).then((response) => {
    const copy = response.clone();
    caches.open(kCache).then((cache) => cache.put(event.request, copy));
    return response;
  }).catch(() => caches.match(event.request)));
});
