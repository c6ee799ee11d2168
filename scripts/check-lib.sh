# Shared by the shell tests that drive the velmora program: sourced after
# `set -uo pipefail`. Sets $velmora (from VELMORA) and a scratch folder $work
# removed on exit, counts checks, and prints the closing line.
velmora=${VELMORA:?set VELMORA to the velmora program}
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
passed=0
failed=0
skipped=0

check() {  # check NAME CONDITION...
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $name"
  fi
}

finish() {  # the closing line; the status says whether every check passed
  echo "$passed passed, $failed failed, $skipped skipped"
  [ "$failed" -eq 0 ]
}
