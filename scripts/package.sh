#!/usr/bin/env bash
# Builds the release package for players: a zip with Velmora.exe, the
# command line and the players' readme, as build/package/Velmora-1.25-windows.zip.
# The two programs' names differ only in case, which Windows does not tell
# apart, so the command line lies in a folder of its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/install-deps.sh" g++-mingw-w64-x86-64-posix zip

build=$root/build/windows
cmake --preset windows >/dev/null
cmake --build "$build" --target Velmora velmora -j 2

version=1.25
out=$root/build/package
stage=$out/Velmora-$version
zip_file=$out/Velmora-$version-windows.zip
rm -rf "$stage" "$zip_file"
mkdir -p "$stage/command-line"
x86_64-w64-mingw32-strip -o "$stage/Velmora.exe" "$build/win/Velmora.exe"
x86_64-w64-mingw32-strip -o "$stage/command-line/velmora.exe" "$build/cli/velmora.exe"
sed 's/$/\r/' "$root/win/PLAYERS.txt" >"$stage/README.txt"
(cd "$out" && zip -q -r -X "$zip_file" "Velmora-$version")
zip -sf "$zip_file"
echo "$zip_file"
