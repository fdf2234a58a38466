// Keeps the whole site, so that the page works offline once loaded and can be
// installed. The build writes the cache's name, taken from the site's
// content, and the list of its files: a new build at the same address is a
// new worker, which replaces the old one and its files on the next visit.
// Named for its place as well: builds at other paths of the same host keep theirs.
const kCachePrefix = `collatzperm ${self.registration.scope} `;
const kCache = `${kCachePrefix}@SITE_HASH@`;
const kFiles = [@SITE_FILES@];

self.addEventListener('install', (event) => {
  // Past the browser's HTTP cache, which may hold an older build's files.
  event.waitUntil(caches.open(kCache)
    .then((cache) => cache.addAll(kFiles.map((file) => new Request(file, { cache: 'reload' }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names
      .filter((name) => name.startsWith(kCachePrefix) && name !== kCache)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The site's own files from the cache; anything else as the network has it.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(kCache)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((kept) => kept ?? fetch(event.request)));
});
