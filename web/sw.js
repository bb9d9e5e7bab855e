// Keeps the site for the next visit, with or without a network. The page is
// asked of the network first (a new build is seen at once) and of the cache
// when there is none; every other file's address names its build, so the
// cache's copy is the right one whenever it has it.
'use strict';
var kept = /*@KEPT@*/null;
var cacheName = 'murmel-worlds-' + kept.version;

self.addEventListener('install', function (event) {
  event.waitUntil(caches.open(cacheName).then(function (cache) {
    // A versioned file the page has just fetched is taken from the browser's
    // own cache rather than downloaded twice; the page itself is checked.
    return cache.addAll(kept.files.map(function (file) {
      return new Request(file, { cache: file.indexOf('?v=') >= 0 ? 'force-cache' : 'no-cache' });
    }));
  }).then(function () { return self.skipWaiting(); }));
});

self.addEventListener('activate', function (event) {
  event.waitUntil(caches.keys().then(function (names) {
    return Promise.all(names.filter(function (name) {
      return name.indexOf('murmel-worlds-') == 0 && name != cacheName;
    }).map(function (name) { return caches.delete(name); }));
  }).then(function () { return self.clients.claim(); }));
});

self.addEventListener('fetch', function (event) {
  var request = event.request;
  if (request.method != 'GET' || new URL(request.url).origin != location.origin) return;
  if (request.mode == 'navigate') {
    event.respondWith(fetch(request).catch(function () {
      return caches.match('index.html', { cacheName: cacheName, ignoreSearch: true }).then(function (page) {
        return page || Response.error();
      });
    }));
    return;
  }
  event.respondWith(caches.match(request, { cacheName: cacheName }).then(function (hit) {
    return hit || fetch(request);
  }));
});
