#!/usr/bin/env bash
# Builds the command-line generator and generates a seed with the default
# options into the current directory. Extra arguments go to velmora.
set -euo pipefail
here=$(pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
# Standard output carries the generator's log only: the installer's and the
# build's messages go to standard error.
"$root/scripts/install-deps.sh" >&2
cd "$root"
cmake --preset release >/dev/null
cmake --build --preset release --target velmora >&2
cd "$here"
exec "$root/build/release/cli/velmora" "$@"
