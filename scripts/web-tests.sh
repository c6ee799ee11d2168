#!/usr/bin/env bash
# Tests the page in Debian's headless chromium against the native command
# line: installs emscripten and chromium when missing, the test driver from
# web/package-lock.json, builds the site, and runs web/tests with node's test
# runner. Needs the native program: $VELMORA, default build/ci/cli/velmora.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/install-deps.sh" emscripten chromium
npm ci --prefix web --no-audit --no-fund
"$root/scripts/web.sh" --build-only
export VELMORA=${VELMORA:-$root/build/ci/cli/velmora}
node --test --test-concurrency=1 web/tests/
