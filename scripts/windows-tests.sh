#!/usr/bin/env bash
# Builds the Windows programs with mingw-w64 and tests them under Wine on an
# Xvfb display: the GUI test of Velmora.exe (with its screenshot), the
# Windows file writer, and the determinism of velmora.exe against the native
# build. Installs what it needs when it is missing. Prints "N passed, M
# failed" last and exits non-zero when a test failed.
#   VELMORA_NATIVE=path    the native velmora to compare with (default
#                          build/ci/cli/velmora when built, else the release
#                          preset's, built in build/release)
#   VELMORA_UPDATE_SCREENSHOT=1   also copy the screenshot to docs/screenshot.png
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/scripts/install-deps.sh" g++-mingw-w64-x86-64-posix wine64 fonts-wine xvfb imagemagick \
  libxrender1 libxrandr2 libxi6 libxcursor1 libxfixes3 libxinerama1 libxcomposite1 libxxf86vm1 ||
  exit 1

build=$root/build/windows
jobs=2
echo "== Building the Windows programs (build/windows)"
cmake --preset windows >/dev/null || exit 1
cmake --build "$build" --target Velmora velmora velmora_gui_test -j "$jobs" || exit 1

native=$("$root/scripts/native-velmora.sh") || exit 1

. "$root/win/tests/wine-env.sh"
export VELMORA_RESULTS=$build/test-results.txt
: >"$VELMORA_RESULTS"

# The version resource of both programs names the version, commit and date
# that the native program's --version prints.
version=$("$native" --version | sed -n '1s/^velmora //p')
commit=$("$native" --version | sed -n '2s/^commit \([^ ]*\) (\(.*\))$/\1, \2/p')
for exe in win/Velmora.exe cli/velmora.exe; do
  x86_64-w64-mingw32-windres -i "$build/$exe" -O rc 2>/dev/null |
    grep -qF "VALUE \"FileVersion\", \"$version (commit $commit)\"" &&
    record PASS "version resource: $exe" || record FAIL "version resource: $exe" "not $version ($commit)"
done

trap wine_stop EXIT
echo "== Starting Wine"
if wine_start "$build"; then
  echo "== GUI test"
  "$root/win/tests/gui-test.sh" "$build"
  echo "== File writes under Wine"
  "$root/win/tests/file-writes-test.sh" "$build"
  echo "== Determinism: velmora.exe under Wine against $native"
  "$root/win/tests/determinism-test.sh" "$build" "$native"
else
  record FAIL "wine: start"
fi
wine_stop

if [ "${VELMORA_UPDATE_SCREENSHOT:-0}" = 1 ] && [ -f "$build/test-artifacts/dialog.png" ]; then
  cp "$build/test-artifacts/dialog.png" "$root/docs/screenshot.png"
  echo "docs/screenshot.png updated"
fi

passed=$(grep -c '^PASS ' "$VELMORA_RESULTS")
failed=$(grep -c '^FAIL ' "$VELMORA_RESULTS")
echo "Windows tests: screenshot and logs in build/windows/test-artifacts"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
