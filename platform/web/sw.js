// Keeps one build of the page for use offline. Each build has its own cache, named after the
// hash of its files: a new build installs whole beside the old one and takes over only once
// no page of the old one is open, so no page ever gets an old script with a new module.
const BUILD = '@VEXO_BUILD@';
const FILES = ['./', 'index.html', 'vexo.js', 'vexo.wasm', 'manifest.webmanifest', 'icon-192.png',
               'icon-512.png', 'icon-maskable-512.png', 'preview.png'];
// Several copies of the page may live on one host, each under its own path.
const PREFIX = `vexo ${self.registration.scope} `;
const CACHE = PREFIX + BUILD;

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) =>
    cache.addAll(FILES.map((file) => new Request(file, { cache: 'reload' })))));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys().then((keys) => Promise.all(
    keys.filter((key) => key.startsWith(PREFIX) && key !== CACHE).map((key) => caches.delete(key)))));
});

// The page asks a waiting build to take over once its visitor has chosen to load it.
self.addEventListener('message', (event) => {
  if (event.data === 'take over') self.skipWaiting();
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((kept) => kept || fetch(event.request)));
});
