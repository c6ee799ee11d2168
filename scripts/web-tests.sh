#!/usr/bin/env bash
# Tests the page in Debian's headless chromium against the native command
# line: installs emscripten and chromium when missing (and node with npm when
# there is no node at all), the test driver from web/package-lock.json,
# builds the site, and runs web/tests with node's test runner. Needs the
# native program: $VELMORA, default build/ci/cli/velmora.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
extra=(emscripten chromium)
# A node from elsewhere is kept: Debian's would replace its files.
command -v node >/dev/null || extra+=(nodejs)
command -v npm >/dev/null || extra+=(npm)
"$root/scripts/install-deps.sh" "${extra[@]}"
npm ci --prefix web --no-audit --no-fund
"$root/scripts/web.sh" --build-only
export VELMORA=${VELMORA:-$root/build/ci/cli/velmora}
# One file at a time: each starts its own chromium, and the machine may have
# two cores.
node --test --test-concurrency=1 web/tests/page.test.mjs web/tests/returning.test.mjs
