#!/usr/bin/env bash
# End-to-end checks of the velmora command: files, log, exit statuses. The
# file faults are reliability/fault_test.sh's; that a run gives the bytes and
# log of the in-memory generation, the property run's.
# Run by CTest with VELMORA set to the program.
set -uo pipefail
. "$(dirname "$0")/../scripts/check-lib.sh"

# A default seed: the item list of Jill Normal, the other files untouched,
# the spoiler at a path from the current directory.
out=$work/seed1
mkdir -p "$out/sub"
for f in ItemListJillHard.txt ItemListChrisNormal.txt ItemListChrisHard.txt; do echo keep >"$out/$f"; done
(cd "$out" && "$velmora" --seed 1 --spoiler-json sub/s.json >"$work/log1" 2>"$work/err1")
check "exit 0" [ $? -eq 0 ]
check "spoiler alone in its directory" [ "$(ls -A "$out/sub")" = s.json ]
list=$out/ItemListJillNormal.txt
# Its bytes are the in-memory generation's (the property run compares them),
# whose form output/ItemList_test.cpp pins.
check "item list written" [ -s "$list" ]
check "other files untouched" bash -c "for f in ItemListJillHard.txt ItemListChrisNormal.txt ItemListChrisHard.txt; do [ \"\$(cat '$out'/\$f)\" = keep ] || exit 1; done"
check "seed on stderr" [ "$(grep -c '^seed 1$' "$work/err1")" = 1 ]
check "log streamed" grep -q '^Writing to ItemListJillNormal.txt \. \. \.done!$' "$work/log1"

# A spoiler file that cannot be written fails the run though the seed is made.
"$velmora" --seed 1 --out "$work" --spoiler-json "$work/missing/s.json" >/dev/null 2>"$work/err5"
check "spoiler failure exit 1" [ $? -eq 1 ]
check "spoiler failure message" \
  grep -qF "could not write $work/missing/s.json (No such file or directory)" "$work/err5"

# Bad arguments: exit 2 and one line naming the problem.
for args in "--seed 4294967296" "--bogus" "--kinds zombies" "--doors --difficulty hard"; do
  # shellcheck disable=SC2086
  "$velmora" $args --out "$work" >/dev/null 2>"$work/err"
  status=$?
  check "bad '$args' exit 2" [ $status -eq 2 ]
  check "bad '$args' one line" [ "$(wc -l <"$work/err")" = 1 ]
done

# A mystery seed writes the files that its printed settings string makes.
weights=$(dirname "$0")/../docs/mystery/racing.json
mkdir -p "$work/mystery" "$work/settings"
"$velmora" --mystery "$weights" --seed 9 --out "$work/mystery" >"$work/mlog" 2>"$work/merr"
check "mystery exit 0" [ $? -eq 0 ]
drawn=$(sed -n 's/^settings //p' "$work/merr")
"$velmora" --settings "$drawn" --out "$work/settings" >"$work/slog" 2>/dev/null
check "mystery files equal --settings" diff -r "$work/mystery" "$work/settings"
check "mystery log equals --settings" cmp "$work/mlog" "$work/slog"

# A bad weights file: exit 2, one line naming the place, nothing written.
mkdir -p "$work/bad"
printf '{"locks": {"on": -2}}' >"$work/bad.json"
"$velmora" --mystery "$work/bad.json" --seed 1 --out "$work/bad" >/dev/null 2>"$work/err"
check "bad weights exit 2" [ $? -eq 2 ]
check "bad weights message" grep -qF "/locks/on: the weight -2 is negative" "$work/err"
check "bad weights nothing written" [ -z "$(ls -A "$work/bad")" ]
"$velmora" stats --count 3 --mystery "$work/bad.json" >/dev/null 2>"$work/err"
check "stats bad weights exit 2" [ $? -eq 2 ]

finish
