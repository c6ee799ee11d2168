#!/usr/bin/env bash
# The Windows branch of the atomic file writer under Wine: a seed file is
# replaced whole, a read-only one is kept and the failure is reported, and
# no temporary file is left behind either way.
#   file-writes-test.sh BUILD_DIR   (Wine started by wine_start)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
build=$(cd "$1" && pwd)
windows=$build/cli/velmora.exe
work=$build/file-writes-work
rm -rf "$work"
mkdir -p "$work"

# An older, longer file is replaced by the new one, not overwritten in place.
printf 'old contents\r\n%.0s' $(seq 1 1000) >"$work/ItemListJillNormal.txt"
(cd "$work" && wine_run 300 "$windows" --seed 3 --no-items >/dev/null 2>&1)
status=$?
lines=$(wc -l <"$work/ItemListJillNormal.txt")
leftovers=$(cd "$work" && ls -A | grep -v -x -e ItemListJillNormal.txt -e CheatSheetJillNormal.txt)
if [ "$status" -eq 0 ] && [ "$lines" -eq 504 ] && [ -z "$leftovers" ]; then
  record PASS "files: ReplacesAnExistingSeedFileWhole"
else
  record FAIL "files: ReplacesAnExistingSeedFileWhole" "exit $status, $lines lines, left: $leftovers"
fi

# A read-only seed file (no write bits, which Wine shows as the read-only
# attribute) stays as it was and the program reports the failure.
rm -f "$work"/*
echo keep >"$work/ItemListJillNormal.txt"
chmod a-w "$work/ItemListJillNormal.txt"
(cd "$work" && wine_run 300 "$windows" --seed 3 --no-items >"$work.log" 2>&1)
status=$?
chmod u+w "$work/ItemListJillNormal.txt"
leftovers=$(cd "$work" && ls -A | grep -v -x -e ItemListJillNormal.txt -e CheatSheetJillNormal.txt)
if [ "$status" -ne 0 ] && [ "$(cat "$work/ItemListJillNormal.txt")" = keep ] && [ -z "$leftovers" ]; then
  record PASS "files: KeepsAReadOnlySeedFileAndFails"
else
  record FAIL "files: KeepsAReadOnlySeedFileAndFails" \
    "exit $status, file now '$(head -c 40 "$work/ItemListJillNormal.txt")', left: $leftovers"
fi
exit 0
