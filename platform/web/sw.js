// Keeps one build of the page for use offline. Each build has its own cache, named after the
// hash of its files: a new build installs whole beside the old one and takes over only once
// no page of the old one is open, or its visitor chooses to load it, so no page ever gets an old
// script with a new module.
const BUILD = '@VEXO_BUILD@';
// What the page needs, stored at install; what the browser may ask for later (the large icons,
// the picture a shared link shows), stored when it does.
// The page is kept under its folder's address, the one visitors use.
const FILES = '@VEXO_SW_FILES@'.split(',').map((file) => (file === 'index.html' ? './' : file));
const LATER = '@VEXO_SW_LATER@'.split(',');
// Several copies of the page may live on one host, each under its own path.
const PREFIX = `vexo ${self.registration.scope} `;
const CACHE = PREFIX + BUILD;

// A first install takes what the page has just fetched from the browser's HTTP cache, so that
// nothing is downloaded twice; a new build's files are asked of the server again, since the
// HTTP cache may still hold an older build's.
self.addEventListener('install', (event) => {
  event.waitUntil(caches.keys().then((keys) => {
    const mode = keys.some((key) => key.startsWith(PREFIX)) ? 'no-cache' : 'force-cache';
    return caches.open(CACHE).then((cache) =>
      cache.addAll(FILES.map((file) => new Request(file, { cache: mode }))));
  }));
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
  const request = event.request;
  if (request.method !== 'GET') return;
  // The page asked for by its file name is the page under its folder's address.
  const asked = request.mode === 'navigate' && new URL(request.url).pathname.endsWith('/index.html')
    ? './' : request;
  event.respondWith(caches.open(CACHE).then((cache) =>
    cache.match(asked, { ignoreSearch: true }).then((kept) => kept || fetch(request).then((response) => {
      const file = new URL(request.url).pathname.split('/').pop();
      if (response.ok && LATER.includes(file)) cache.put(request, response.clone());
      return response;
    }))));
});
