#!/usr/bin/env bash
# Cross-platform determinism: the Windows velmora.exe under Wine and the
# native velmora, given the same seed and options, must write byte-identical
# files and print byte-identical logs.
#   determinism-test.sh BUILD_DIR NATIVE_VELMORA   (Wine started by wine_start)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
. "$here/../../scripts/compare-runs.sh"
build=$(cd "$1" && pwd)
native=$(readlink -f "$2")
work=$build/determinism-work
rm -rf "$work"

# seed | options. Both characters and difficulties, items, enemies with their
# panel, doors, locks and every modifier, each case taking several of them at
# once. Chris seeds run without items or with doors, where no retry loop runs.
cases=(
  "4294967295|--difficulty hard"
  "7|--difficulty hard --enemies --kinds zombies,dogs,hunters --tyrant many --yawn none --lisa many --tyrant-type random"
  "31337|--doors --tyrant-type slow --enemies --kinds spiders,sharks,bees,chimera,elder-crimson-heads"
  "5|--locks"
  "123456789|--difficulty hard --locks --enemies --remove healing,ammo,ink,defence"
  "0|--remove ammo,ink --swap-sdg --armed-capsule"
  "65536|--character chris --difficulty hard --no-items --enemies --tyrant none --tyrant-type random"
  "424242|--character chris --doors --enemies"
  "1000003|--character chris --no-items --locks --enemies --remove defence"
  "17|--character chris --difficulty hard --no-items --locks --swap-sdg --armed-capsule --remove healing"
)

# The Windows program under Wine. Standard error is a text stream: Windows
# ends its lines with CR LF, which are taken off before the comparison.
run_other() {
  local status
  wine_run 600 "$build/cli/velmora.exe" "$@" 2>../windows.crlf.err
  status=$?
  sed 's/\r$//' ../windows.crlf.err >&2
  rm -f ../windows.crlf.err
  return "$status"
}

compare_cases "$work" windows "determinism: " "${cases[@]}"
exit 0
