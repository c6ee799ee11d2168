#!/usr/bin/env bash
# Builds everything and runs every test: the test suite with warnings as
# errors, the page in headless chromium against the native program, the same
# suite under the address and undefined-behaviour sanitizers, the Windows
# programs under Wine, the command line built for other processors, the
# release files with Debian's checks of the package, and one more release of
# the same commit, from a clone on another file system, compared byte for byte.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/install-deps.sh"
jobs=$(nproc)

cmake --preset ci
cmake --build --preset ci -j "$jobs"
ctest --preset ci -j "$jobs"

# The page, in headless chromium against the native program just built.
"$root/scripts/web-tests.sh"

cmake --preset sanitize
cmake --build --preset sanitize -j "$jobs"
ctest --preset sanitize -j "$jobs"

# The Windows programs and the cross builds are compared with the native
# program built above (build/ci).
if [ -x "$root/scripts/windows-tests.sh" ]; then
  "$root/scripts/windows-tests.sh"
fi

# The same seeds from the command line built for ARM and s390x, under qemu.
"$root/scripts/cross-tests.sh"

# Every release file, as scripts/release.sh makes them for players.
"$root/scripts/release.sh" >/dev/null
"$root/scripts/deb-check.sh"
"$root/scripts/release-check.sh" --against-tree
