#!/usr/bin/env bash
# Makes the attempt index again: judges all 2^32 attempts of each selection
# without locks and writes items/attempt-index/*.idx. Finished chunks are
# kept in build/attempt-index-work, so an interrupted run goes on where it
# stopped. Extra arguments go to velmora-make-index (for example
# --selection ChrisHard). Progress goes to standard error; standard output
# gets one line per selection with its key count and checksum.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/install-deps.sh" >&2
cmake --preset release >&2
cmake --build --preset release --target velmora-make-index >&2
build/release/items/velmora-make-index --out items/attempt-index \
  --work build/attempt-index-work "$@"
