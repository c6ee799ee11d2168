#!/usr/bin/env bash
# A long item search on the velmora program: the attempt count on standard
# error only when that is a terminal, and a clean end on SIGINT or SIGTERM
# mid-search (exit status 130, "interrupted" on standard error, no seed file
# and no temporary file written, older seed files untouched).
#
# Run by CTest with VELMORA set to the program.
set -uo pipefail
. "$(dirname "$0")/../scripts/check-lib.sh"

# Chris on Normal with seed 7 takes over 13 million attempts: searched
# instead of looked up, seconds of search, long enough to be stopped mid-way.
for signal in INT TERM; do
  out=$work/$signal
  mkdir -p "$out"
  printf 'older\r\n' >"$out/ItemListChrisNormal.txt"
  cp "$out/ItemListChrisNormal.txt" "$work/older"
  "$velmora" --character chris --seed 7 --no-attempt-index --out "$out" >"$work/log-$signal" 2>"$work/err-$signal" &
  pid=$!
  # Stop it once the log shows the search under way (its third mark).
  for _ in $(seq 200); do
    grep -q '\. \. \. \.' "$work/log-$signal" 2>/dev/null && break
    sleep 0.05
  done
  started=$(date +%s%N)
  kill -"$signal" "$pid"
  wait "$pid"
  status=$?
  took_ms=$((($(date +%s%N) - started) / 1000000))
  echo "SIG$signal mid-search: exit $status after ${took_ms} ms; $(cat "$work/err-$signal")"
  check "SIG$signal: exit 130" [ "$status" -eq 130 ]
  check "SIG$signal: says interrupted" grep -q 'interrupted' "$work/err-$signal"
  check "SIG$signal: search was under way" grep -q '^Randomizing Items\. \. \. \.' "$work/log-$signal"
  check "SIG$signal: no done line" bash -c "! grep -q 'done after' '$work/log-$signal'"
  check "SIG$signal: older seed file untouched" cmp -s "$work/older" "$out/ItemListChrisNormal.txt"
  check "SIG$signal: nothing else written" [ "$(ls -A "$out")" = ItemListChrisNormal.txt ]
done

# Jill on Hard with seed 7 takes some 300,000 attempts; looked up here and
# searched on the terminal below, which shows the count as the search goes.
"$velmora" --difficulty hard --seed 7 --out "$work" >"$work/log-plain" 2>"$work/err-plain"
check "no terminal: exit 0" [ $? -eq 0 ]
check "no terminal: no attempt count on standard error" \
  bash -c "! grep -q 'attempts' '$work/err-plain'"

if command -v script >/dev/null && script -qec true /dev/null >/dev/null 2>&1; then
  # Standard error on a terminal, standard output to a file.
  script -qec "'$velmora' --difficulty hard --seed 7 --no-attempt-index --out '$work' \
    >'$work/log-tty'" /dev/null >"$work/terminal" 2>&1
  check "terminal: attempt count shown" grep -q '\[[0-9]* attempts\]' "$work/terminal"
  check "terminal: first count after the first block" grep -q '\[10001 attempts\]' "$work/terminal"
  check "terminal: count taken off before the seed line" \
    grep -q $'\r\033\\[Kseed 7\r*$' "$work/terminal"
  check "terminal: log unchanged" cmp -s "$work/log-plain" "$work/log-tty"
  # Both on the terminal: the count follows the unfinished log line.
  script -qec "'$velmora' --difficulty hard --seed 7 --no-attempt-index --out '$work'" /dev/null \
    >"$work/both" 2>&1
  check "both on terminal: count after the log line" \
    grep -q 'Randomizing Items\. \. \.\( \.\)* \[[0-9]* attempts\]' "$work/both"
else
  echo "SKIPPED: terminal checks need script(1)"
  skipped=$((skipped + 1))
fi

finish
