#!/usr/bin/env bash
# Writes reliability/seed-list.txt again: the settings strings of a fixed set
# of option mixes with the SHA-256 of the files and log each makes, which the
# test suite then holds every build to. Run it only when a change to what a
# seed contains is meant, together with a new version.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/install-deps.sh"
cmake --preset release >/dev/null
cmake --build --preset release --target velmora -j 2
VELMORA=$root/build/release/cli/velmora "$root/reliability/seed_list_test.sh" --write
