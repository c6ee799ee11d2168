// Makes the site's service worker (sw.js and Workbox's runtime beside it)
// from the built site: every file of the site, each with a hash of its
// content, so that one version's files are cached and served together and a
// changed file makes a new version. The CMake build runs it once the site is
// complete; run it by hand only on a copy of a site.
// Usage: node web/precache.mjs SITE_DIR
import path from 'node:path';
import { generateSW } from 'workbox-build';

const site = path.resolve(process.argv[2] || '');
if (!process.argv[2]) {
  console.error('usage: node web/precache.mjs SITE_DIR');
  process.exit(2);
}
const { count, size, warnings } = await generateSW({
  globDirectory: site,
  globPatterns: ['**/*'],
  globIgnores: ['sw.js', 'workbox-*.js', '**/*.map'],
  swDest: path.join(site, 'sw.js'),
  // The generator's WebAssembly is larger than Workbox's default limit.
  maximumFileSizeToCacheInBytes: 64 * 1024 * 1024,
  // A new version waits for the page's "reload" (a SKIP_WAITING message),
  // so no file changes under a running generation.
  skipWaiting: false,
  clientsClaim: true,
  cleanupOutdatedCaches: true,
  // Links carry the settings after '#', which never reaches the worker; the
  // page takes no query parameters.
  ignoreURLParametersMatching: [/.*/],
  mode: 'production',
  sourcemap: false,
});
for (const warning of warnings) console.error(`precache: ${warning}`);
if (warnings.length) process.exit(1);
console.log(`precache: ${count} files, ${size} bytes`);
