// Keeps the page for use without a network. Every file of the page is stored
// at install; afterwards the network is asked first (so a new build is seen
// at once) and the stored copy answers when there is no network.
const kCache = 'pellox-page';

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const files = await (await fetch('files.json', {cache: 'no-store'})).json();
    const cache = await caches.open(kCache);
    await cache.addAll(files.map((f) => new Request(f, {cache: 'reload'})));
    await self.skipWaiting();
  })());
});

self.addEventListener('activate', (event) => event.waitUntil(self.clients.claim()));

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith((async () => {
    try {
      const response = await fetch(request);
      if (response.ok && response.status === 200) {
        const copy = response.clone();
        event.waitUntil(caches.open(kCache).then((cache) => cache.put(request, copy)));
      }
      return response;
    } catch (error) {
      const stored = await caches.match(request, {ignoreSearch: true});
      if (stored) return stored;
      if (request.mode === 'navigate') {
        const page = await caches.match('./');
        if (page) return page;
      }
      throw error;
    }
  })());
});
