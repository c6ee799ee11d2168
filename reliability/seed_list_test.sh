#!/usr/bin/env bash
# A seed stays the same seed: for every settings string of
# reliability/seed-list.txt the velmora program must make an item list, a
# cheat sheet and a log with the SHA-256 the list holds. A failure names the
# string and the file that changed.
#
#   VELMORA=PROGRAM reliability/seed_list_test.sh          checks the list (CTest)
#   VELMORA=PROGRAM reliability/seed_list_test.sh --write  writes it again from
#                                                          the option mixes below
# scripts/seed-list.sh builds the program and writes the list. Write it again
# only when a change to what a seed contains is meant, with a new version.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../scripts/check-lib.sh"
list=$here/seed-list.txt

# The option mixes: each plain selection, each randomizer, Doors with the
# door-mode placement and its supplies, Locks for both characters, every
# modifier and the enemy panel's settings. Plain seeds come from the attempt
# index; the lock seeds are ones whose search is short.
mixes=(
  "--seed 1"
  "--seed 4294967295"
  "--difficulty hard --seed 1"
  "--character chris --seed 1"
  "--character chris --seed 123456789"
  "--character chris --difficulty hard --seed 1"
  "--character chris --difficulty hard --seed 2"
  "--no-items --seed 1"
  "--character chris --difficulty hard --no-items --seed 5"
  "--enemies --seed 1"
  "--character chris --enemies --seed 2"
  "--enemies --kinds zombies,dogs --seed 3"
  "--enemies --kinds none --seed 4"
  "--enemies --kinds hunters,spiders,sharks,bees,chimera,elder-crimson-heads --seed 5"
  "--enemies --tyrant many --yawn none --lisa many --seed 6"
  "--enemies --tyrant none --yawn many --lisa none --tyrant-type slow --seed 7"
  "--character chris --difficulty hard --enemies --tyrant-type random --seed 8"
  "--no-items --enemies --tyrant many --tyrant-type random --seed 9"
  "--doors --seed 1"
  "--doors --seed 2"
  "--character chris --doors --seed 1"
  "--character chris --doors --enemies --seed 3"
  "--doors --remove healing,ammo --seed 4"
  "--character chris --doors --remove ink,defence --swap-sdg --seed 5"
  "--doors --armed-capsule --seed 6"
  "--locks --seed 1"
  "--difficulty hard --locks --seed 2"
  "--character chris --locks --seed 1"
  "--character chris --difficulty hard --locks --seed 2"
  "--locks --enemies --remove ammo --seed 5"
  "--remove healing --seed 10"
  "--remove ammo --seed 11"
  "--remove ink --seed 12"
  "--remove defence --seed 13"
  "--character chris --remove healing,ammo,ink,defence --seed 14"
  "--swap-sdg --seed 15"
  "--character chris --difficulty hard --swap-sdg --seed 16"
  "--armed-capsule --seed 17"
  "--character chris --armed-capsule --remove ink --seed 18"
  "--difficulty hard --enemies --swap-sdg --armed-capsule --remove defence --seed 19"
)

# run ARGS...: makes the seed in a folder of its own and prints the settings
# string and the SHA-256 of the item list, the cheat sheet and the log.
run() {
  local dir
  dir=$(mktemp -d "$work/seed.XXXXXX")
  (cd "$dir" && "$velmora" "$@" >log 2>err) || {
    echo "velmora $*: exit $? ($(tail -1 "$dir/err"))" >&2
    return 1
  }
  local settings
  settings=$(sed -n 's/^settings //p' "$dir/err")
  echo "$settings $(sha256sum "$dir"/ItemList*.txt "$dir"/CheatSheet*.txt "$dir/log" |
    cut -d' ' -f1 | tr '\n' ' ')"
}

if [ "${1:-}" = --write ]; then
  {
    echo "# The same settings string makes the same files in every build of this version."
    echo "# Each line: the settings string, the SHA-256 of the item list, the cheat sheet"
    echo "# and the log it makes, and the options it holds. Written by scripts/seed-list.sh;"
    echo "# checked by reliability/seed_list_test.sh."
    for mix in "${mixes[@]}"; do
      # shellcheck disable=SC2086 # a mix is a list of arguments
      line=$(run $mix) || exit 1
      echo "${line}${mix}"
    done
  } >"$list.new" && mv "$list.new" "$list"
  echo "wrote $(grep -vc '^#' "$list") seeds to $list"
  exit 0
fi

names=("item list" "cheat sheet" "log")
while read -r settings want_list want_sheet want_log options; do
  case $settings in '#'* | '') continue ;; esac
  line=$(run --settings "$settings") || { check "$settings ($options) runs" false; continue; }
  read -r -a got <<<"$line"
  want=("$want_list" "$want_sheet" "$want_log")
  for i in 0 1 2; do
    check "$settings ($options): the ${names[$i]} changed" [ "${got[$((i + 1))]}" = "${want[$i]}" ]
  done
done <"$list"
[ "$passed" -gt 0 ] || check "the list holds seeds" false
finish
