#!/usr/bin/env bash
# Builds the page (the `web` preset: the generator in WebAssembly, with
# Debian's emscripten) into build/web/site and serves it on 127.0.0.1.
# Usage: scripts/web.sh [PORT]   (default 8015); --build-only builds and stops.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/install-deps.sh" emscripten librsvg2-bin
# The page ships the door-map renderer and the plotting library, and its
# service worker is made with Workbox, all from the lockfile's packages;
# npm ci installs them when node_modules is missing or older than the lockfile.
if [ web/package-lock.json -nt web/node_modules/.package-lock.json ]; then
  npm ci --prefix web --no-audit --no-fund >&2
fi
# emscripten's JavaScript tools find Debian's acorn there.
export NODE_PATH=/usr/share/nodejs
cmake --preset web >&2
cmake --build --preset web -j "${VELMORA_JOBS:-$(nproc)}" >&2
[ "${1:-}" = "--build-only" ] && exit 0
port=${1:-8015}
echo "Velmora in the browser: http://127.0.0.1:$port/index.html"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$root/build/web/site"
