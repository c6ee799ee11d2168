#!/usr/bin/env bash
# End-to-end checks of the velmora command: files, log, exit statuses.
# Run by CTest with VELMORA set to the program.
set -uo pipefail
. "$(dirname "$0")/../scripts/check-lib.sh"
crlf_lines() { grep -c $'\r$' "$1"; }
line_count() { wc -l <"$1" | tr -d ' '; }

# A default seed: the item list of Jill Normal, the other files untouched.
out=$work/seed1
mkdir -p "$out"
for f in ItemListJillHard.txt ItemListChrisNormal.txt ItemListChrisHard.txt; do echo keep >"$out/$f"; done
(cd "$out" && "$velmora" --seed 1 >"$work/log1" 2>"$work/err1")
check "exit 0" [ $? -eq 0 ]
list=$out/ItemListJillNormal.txt
check "504 lines" [ "$(line_count "$list")" = 504 ]
check "every line CR LF" [ "$(crlf_lines "$list")" = 504 ]
check "markers" [ "$(sed -n '186p;240p' "$list" | tr -d '\r' | tr '\n' ' ')" = "ENEMYRANDODATA DOORRANDODATA " ]
check "items a permutation" [ "$(head -185 "$list" | tr -d '\r' | sort -n | uniq | wc -l)" = 185 ]
check "enemy and door sections -1" [ "$(sed -n '187,239p;241,504p' "$list" | tr -d '\r' | sort -u)" = "-1" ]
check "pins in place" bash -c "for s in 90 91 114 48 123 147 26 27 39; do [ \"\$(sed -n \"\$((s + 1))p\" '$list' | tr -d '\r')\" = \$s ] || exit 1; done"
check "other files untouched" bash -c "for f in ItemListJillHard.txt ItemListChrisNormal.txt ItemListChrisHard.txt; do [ \"\$(cat '$out'/\$f)\" = keep ] || exit 1; done"
check "seed on stderr" [ "$(grep -c '^seed 1$' "$work/err1")" = 1 ]
check "log form" grep -Eq '^Randomizing Items\. \. \.( \.)*done after [0-9]+ attempts!$' "$work/log1"
check "log writer line" grep -q '^Writing to ItemListJillNormal.txt \. \. \.done!$' "$work/log1"

# The same seed and options give the same bytes and the same log.
mkdir -p "$work/again"
(cd "$work/again" && "$velmora" --seed 1 >"$work/log1b" 2>/dev/null)
check "same bytes" cmp -s "$list" "$work/again/ItemListJillNormal.txt"
check "same log" cmp -s "$work/log1" "$work/log1b"

# No items: the identity placement, and only the writers in the log.
"$velmora" --no-items --difficulty hard --character chris --seed 5 --out "$work" >"$work/log2" 2>/dev/null
check "no-items exit 0" [ $? -eq 0 ]
check "identity" [ "$(head -185 "$work/ItemListChrisHard.txt" | tr -d '\r' | tr '\n' ' ')" = "$(seq -s ' ' 0 184) " ]
check "no-items log only writers" bash -c "! grep -v '^Writing to ' '$work/log2'"

# An output directory that does not exist: exit 1, a clear message.
"$velmora" --seed 1 --out "$work/missing" >"$work/log3" 2>/dev/null
check "missing dir exit 1" [ $? -eq 1 ]
check "missing dir message" grep -q 'FAILED: could not write ItemListJillNormal.txt (No such file or directory)' "$work/log3"

# A read-only existing seed file stays byte for byte as it was.
mkdir -p "$work/ro"
printf 'old\r\n' >"$work/ro/ItemListJillNormal.txt"
chmod 444 "$work/ro/ItemListJillNormal.txt"
"$velmora" --seed 1 --out "$work/ro" >"$work/log4" 2>/dev/null
check "read-only exit 1" [ $? -eq 1 ]
check "read-only intact" [ "$(cat "$work/ro/ItemListJillNormal.txt")" = $'old\r' ]
check "read-only message" grep -q 'FAILED: could not write ItemListJillNormal.txt (the file is read-only)' "$work/log4"
check "no stray files" [ "$(ls -A "$work/ro" | wc -l)" = 1 ]

# A spoiler file that cannot be written fails the run though the seed is made.
"$velmora" --seed 1 --out "$work" --spoiler-json "$work/missing/s.json" >/dev/null 2>"$work/err5"
check "spoiler failure exit 1" [ $? -eq 1 ]
check "spoiler failure message" grep -q "could not write $work/missing/s.json" "$work/err5"

# Bad arguments: exit 2 and one line naming the problem.
for args in "--seed 4294967296" "--bogus" "--kinds zombies" "--doors --difficulty hard"; do
  # shellcheck disable=SC2086
  "$velmora" $args --out "$work" >/dev/null 2>"$work/err"
  status=$?
  check "bad '$args' exit 2" [ $status -eq 2 ]
  check "bad '$args' one line" [ "$(wc -l <"$work/err")" = 1 ]
done

finish
