#!/usr/bin/env bash
# The Windows branch of the atomic file writer under Wine: a seed file is
# replaced whole, a read-only one is kept and the failure is reported, and
# no temporary file is left behind either way.
#   file-writes-test.sh BUILD_DIR   (Wine started by wine_start)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
build=$(cd "$1" && pwd)
work=$build/file-writes-work
rm -rf "$work"
mkdir -p "$work"
generate() { (cd "$work" && wine_run 300 "$build/cli/velmora.exe" --seed 3 --no-items >/dev/null 2>&1); }
leftovers() { ls -A "$work" | grep -v -x -e ItemListJillNormal.txt -e CheatSheetJillNormal.txt; }

# An older, longer file is replaced by the new one, not overwritten in place.
printf 'old contents\r\n%.0s' $(seq 1 1000) >"$work/ItemListJillNormal.txt"
generate
status=$?
lines=$(wc -l <"$work/ItemListJillNormal.txt")
[ "$status" -eq 0 ] && [ "$lines" -eq 504 ] && [ -z "$(leftovers)" ] && verdict=PASS || verdict=FAIL
record "$verdict" "files: ReplacesAnExistingSeedFileWhole" "exit $status, $lines lines, left: $(leftovers)"

# A read-only seed file (no write bits, which Wine shows as the read-only
# attribute) stays as it was and the program reports the failure.
rm -f "$work"/*
echo keep >"$work/ItemListJillNormal.txt"
chmod a-w "$work/ItemListJillNormal.txt"
generate
status=$?
chmod u+w "$work/ItemListJillNormal.txt"
kept=$(head -c 40 "$work/ItemListJillNormal.txt")
[ "$status" -ne 0 ] && [ "$kept" = keep ] && [ -z "$(leftovers)" ] && verdict=PASS || verdict=FAIL
record "$verdict" "files: KeepsAReadOnlySeedFileAndFails" "exit $status, file now '$kept', left: $(leftovers)"
exit 0
