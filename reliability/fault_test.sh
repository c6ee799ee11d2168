#!/usr/bin/env bash
# File faults injected into the velmora program: a missing output directory,
# a disk that fills up during the write (a file-size limit, and a full
# tmpfs), an output path too long for the system, and a folder where the
# file should go, so that the final rename fails. (A read-only seed file
# is one of the command's own checks; a directory on a read-only file system
# fails where a missing one does, when the first file is opened.) Each must end with exit status 1, a "FAILED:" log
# line naming the file and the reason, no partial or temporary file, and an
# existing seed file left byte for byte as it was.
#
# Run by CTest with VELMORA set to the program. The fault that needs a mount
# runs in a private mount namespace when the test runs as root, and is
# skipped with a message otherwise.
set -uo pipefail
. "$(dirname "$0")/../scripts/check-lib.sh"
old_bytes=$'old seed\r\n'
printf '%s' "$old_bytes" >"$work/old"

# A directory holding an older item list and cheat sheet.
seeded_dir() {
  mkdir -p "$1"
  printf '%s' "$old_bytes" >"$1/ItemListJillNormal.txt"
  printf '%s' "$old_bytes" >"$1/CheatSheetJillNormal.txt"
}

# expect_fault NAME DIR FILE REASON STATUS LOG: the checks every fault shares.
expect_fault() {
  local name=$1 dir=$2 file=$3 reason=$4 status=$5 log=$6
  echo "fault: $name: exit $status; $(grep -o 'FAILED: .*' "$log" | head -1)"
  check "$name: exit 1" [ "$status" -eq 1 ]
  check "$name: message names $file and the reason" \
    grep -qF "FAILED: could not write $file ($reason)" "$log"
  if [ -d "$dir" ]; then
    check "$name: no temporary file left" \
      bash -c "! ls -A '$dir' | grep -q '\\.tmp\$'"
  fi
}

intact() {  # intact FILE: the older seed file is still there, unchanged
  cmp -s "$work/old" "$1"
}

# 1. The output directory does not exist.
"$velmora" --seed 1 --out "$work/missing" >"$work/log1" 2>/dev/null
expect_fault "missing directory" "$work/missing" ItemListJillNormal.txt \
  "No such file or directory" $? "$work/log1"
check "missing directory: not created" [ ! -e "$work/missing" ]

# 2. A file-size limit smaller than the item list, as a full disk would stop
# the write part way. The program must not die of SIGXFSZ; so that the test
# shows that the program itself handles it, the signal is reset to its
# default action in the child first.
seeded_dir "$work/limit"
(trap - XFSZ; ulimit -f 1; exec "$velmora" --seed 1 --out "$work/limit") >"$work/log3" 2>/dev/null
expect_fault "file-size limit (1 KiB)" "$work/limit" ItemListJillNormal.txt \
  "File too large" $? "$work/log3"
check "file-size limit: item list intact" intact "$work/limit/ItemListJillNormal.txt"
check "file-size limit: cheat sheet intact" intact "$work/limit/CheatSheetJillNormal.txt"

# 3. A limit the item list fits under but the cheat sheet does not: the item
# list is replaced, the cheat sheet stays as it was.
seeded_dir "$work/limit2"
(trap - XFSZ; ulimit -f 4; exec "$velmora" --seed 1 --out "$work/limit2") >"$work/log4" 2>/dev/null
expect_fault "file-size limit (4 KiB)" "$work/limit2" CheatSheetJillNormal.txt \
  "File too large" $? "$work/log4"
check "file-size limit 4 KiB: item list replaced" \
  [ "$(wc -l <"$work/limit2/ItemListJillNormal.txt")" -eq 504 ]
check "file-size limit 4 KiB: cheat sheet intact" intact "$work/limit2/CheatSheetJillNormal.txt"

# 4. An output path longer than the system allows: nested directories of 200
# characters each, 4,200 characters in all.
deep=$work/deep
name200=$(printf 'd%.0s' {1..200})
mkdir -p "$deep"
(cd "$deep" && for _ in $(seq 21); do mkdir "$name200" && cd "$name200" || exit 1; done)
long=$deep$(printf "/$name200%.0s" $(seq 21))
"$velmora" --seed 1 --out "$long" >"$work/log5" 2>/dev/null
expect_fault "path of ${#long} characters" "$work/none" ItemListJillNormal.txt \
  "File name too long" $? "$work/log5"

# 5. A folder standing where the item list should go: the data is written and
# flushed, and then the final rename fails. Nothing else is written.
mkdir -p "$work/folder/ItemListJillNormal.txt"
"$velmora" --seed 1 --out "$work/folder" >"$work/log6" 2>/dev/null
expect_fault "folder in the item list's place" "$work/folder" ItemListJillNormal.txt \
  "Is a directory" $? "$work/log6"
check "folder in the item list's place: folder kept, no cheat sheet" \
  [ -d "$work/folder/ItemListJillNormal.txt" -a ! -e "$work/folder/CheatSheetJillNormal.txt" ]

# A fault that needs a mount: a private mount namespace, so that nothing
# stays mounted whatever happens.
if [ "$(id -u)" -eq 0 ] && unshare -m --propagation private true 2>/dev/null; then
  # 6. A full disk: a tmpfs of four pages, filled up after the older seed
  # files are in place.
  unshare -m --propagation private bash -c '
    dir=$1
    mkdir -p "$dir" && mount -t tmpfs -o size=16k tmpfs "$dir" || exit 99
    cp "$4" "$dir/ItemListJillNormal.txt"
    cp "$4" "$dir/CheatSheetJillNormal.txt"
    dd if=/dev/zero of="$dir/filler" bs=4096 2>/dev/null
    "$2" --seed 1 --out "$dir" >"$3" 2>/dev/null
    status=$?
    cmp -s "$4" "$dir/ItemListJillNormal.txt" || status=98
    cmp -s "$4" "$dir/CheatSheetJillNormal.txt" || status=98
    ls -A "$dir" | grep -q "\.tmp$" && status=97
    exit $status' _ "$work/full" "$velmora" "$work/log7" "$work/old"
  status=$?
  if [ $status -eq 99 ]; then
    echo "SKIPPED: full disk (tmpfs mount refused)"
    skipped=$((skipped + 1))
  else
    check "full disk: older seed files intact" [ $status -ne 98 ]
    check "full disk: no temporary file left" [ $status -ne 97 ]
    expect_fault "full disk (tmpfs)" "$work/none" ItemListJillNormal.txt \
      "No space left on device" $status "$work/log7"
  fi
else
  echo "SKIPPED: full disk needs root and mount namespaces"
  skipped=$((skipped + 1))
fi

finish
