// The page's service worker: Sol Brim plays offline after one visit.
// Rules it keeps:
//   - One cache per build, named after the game's version and the build's
//     hash; it holds only that build's files, so a page never gets one
//     build's script with another's data.
//   - Install caches the page, the program and its common data, the
//     manifest and the icons. If any of them fails, the cache is deleted
//     again: a failed install leaves nothing a later visit could serve.
//   - A new build's worker takes over at once and deletes every older
//     build's cache when it activates.
//   - The page is fetched from the network first, so a reload after a new
//     build was deployed loads the new build; offline the cached page is
//     used. Everything else of the build comes from the cache first.
//   - Level packages are kept as they are fetched; the page names those it
//     fetched before this worker took over.
const kCache = "@CACHE@";
const kFiles = @FILES@;

const scope = new URL(self.registration.scope);
const address = (file) => new URL(file, scope).href;
const kBuild = new Set([...kFiles.precache, ...kFiles.levels].map(address));
const kPage = address("index.html");

self.addEventListener("install", (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(kCache);
    try {
      await cache.addAll(kFiles.precache);
    } catch (error) {
      await caches.delete(kCache);
      throw error;
    }
    await self.skipWaiting();
  })());
});

self.addEventListener("activate", (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) {
      if (name !== kCache && name.startsWith("solbrim-")) await caches.delete(name);
    }
    await self.clients.claim();
  })());
});

// Into this build's cache, unless it has been deleted (a newer build took
// over): a cache opened again would be a half cache.
async function keep(request, response) {
  if (!(await caches.has(kCache))) return;
  const cache = await caches.open(kCache);
  await cache.put(request, response);
}

async function page(request) {
  try {
    const response = await fetch(request);
    if (response.ok) return response;
    return (await caches.match(kPage, { cacheName: kCache })) ?? response;
  } catch (error) {
    const cached = await caches.match(kPage, { cacheName: kCache });
    if (cached) return cached;
    throw error;
  }
}

async function buildFile(request) {
  const cached = await caches.match(request, { cacheName: kCache });
  if (cached) return cached;
  const response = await fetch(request);
  if (response.ok) await keep(request, response.clone());
  return response;
}

self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET") return;
  const url = new URL(request.url);
  url.search = "";
  if (request.mode === "navigate" && (url.href === scope.href || url.href === kPage)) event.respondWith(page(request));
  else if (kBuild.has(url.href)) event.respondWith(buildFile(request));
});

self.addEventListener("message", (event) => {
  const files = (event.data?.keep ?? []).map(address).filter((file) => kBuild.has(file));
  event.waitUntil(Promise.all(files.map(async (file) => {
    if (await caches.match(file, { cacheName: kCache })) return;
    const response = await fetch(file);
    if (response.ok) await keep(file, response);
  })));
});
