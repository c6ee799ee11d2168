#!/usr/bin/env bash
# Prints the path of a native velmora for the checks that compare other
# builds with it: $VELMORA_NATIVE when set, else build/ci/cli/velmora when
# built, else one built here in build/native (its build output goes to
# standard error).
# Usage: native=$(scripts/native-velmora.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -n "${VELMORA_NATIVE:-}" ]; then
  readlink -f "$VELMORA_NATIVE"
elif [ -x "$root/build/ci/cli/velmora" ]; then
  echo "$root/build/ci/cli/velmora"
else
  echo "== Building the native velmora (build/native)" >&2
  cmake -S "$root" -B "$root/build/native" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DVELMORA_TESTS=OFF >&2
  cmake --build "$root/build/native" --target velmora -j 2 >&2
  echo "$root/build/native/cli/velmora"
fi
