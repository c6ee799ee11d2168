#!/usr/bin/env bash
# The Windows branch of the atomic file writer under Wine: a seed file is
# replaced whole, a read-only one is kept and the failure is reported, a
# failed final rename is reported, and no temporary file is left behind.
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

# A folder standing where the item list should go: the final rename fails,
# which is reported with exit status 1, and no temporary file stays.
rm -rf "${work:?}"/*
mkdir "$work/ItemListJillNormal.txt"
generate
status=$?
[ "$status" -eq 1 ] && [ -d "$work/ItemListJillNormal.txt" ] && [ -z "$(leftovers)" ] &&
  verdict=PASS || verdict=FAIL
record "$verdict" "files: AFailedRenameFailsAndLeavesNoTemporaryFile" "exit $status, left: $(leftovers)"

# The command line prints its version and the commit it was built from.
(cd "$work" && wine_run 60 "$build/cli/velmora.exe" --version >version.txt 2>&1)
head -2 "$work/version.txt" | tr -d '\r' >"$work/version-head.txt"
grep -qx "velmora [0-9.]*" "$work/version-head.txt" && grep -q "^commit " "$work/version-head.txt" &&
  verdict=PASS || verdict=FAIL
record "$verdict" "version: NamesTheVersionAndCommit" "$(tr '\n' ' ' <"$work/version-head.txt")"
exit 0
