#!/usr/bin/env bash
# Prints the path of a native velmora for the checks that compare other
# builds with it: $VELMORA_NATIVE when set, else build/ci/cli/velmora when
# built, else the `release` preset's, built here (its build output goes to
# standard error).
# Usage: native=$(scripts/native-velmora.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -n "${VELMORA_NATIVE:-}" ]; then
  readlink -f "$VELMORA_NATIVE"
elif [ -x "$root/build/ci/cli/velmora" ]; then
  echo "$root/build/ci/cli/velmora"
else
  echo "== Building the native velmora (build/release)" >&2
  (cd "$root" && cmake --preset release && cmake --build --preset release --target velmora -j 2) >&2
  echo "$root/build/release/cli/velmora"
fi
