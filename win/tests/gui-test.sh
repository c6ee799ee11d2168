#!/usr/bin/env bash
# The GUI test: the driver program clicks through the real Velmora.exe under
# Wine, a screenshot of the finished dialog is taken from the Xvfb screen,
# and the generation the dialog made is found again with the command line:
# one seed from the seconds the generation ran must give the same log and
# the same two files byte for byte.
#   gui-test.sh BUILD_DIR   (Wine started with wine-env.sh's wine_start)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
build=$(cd "$1" && pwd)
artifacts=$build/test-artifacts
work=$build/gui-test-work
rm -rf "$work" "$artifacts"
mkdir -p "$work" "$artifacts"

winpath() { echo "Z:${1//\//\\}"; }

# The driver runs in the background; when it asks for the screenshot, take
# it and crop it to the dialog's rectangle.
wine_run 1800 "$build/win/velmora_gui_test.exe" "$(winpath "$build/win/Velmora.exe")" \
  "$(winpath "$work")" "$(winpath "$artifacts")" >"$artifacts/driver.log" 2>&1 &
driver_pid=$!
shot=FAIL
while kill -0 "$driver_pid" 2>/dev/null; do
  if [ -f "$artifacts/screenshot-request.txt" ] && [ ! -f "$artifacts/screenshot-done.txt" ]; then
    read -r x y w h <"$artifacts/screenshot-request.txt"
    timeout 60 import -display "$DISPLAY" -window root "$artifacts/screen.png" &&
      convert "$artifacts/screen.png" -crop "${w}x${h}+${x}+${y}" +repage "$artifacts/dialog.png" &&
      shot=PASS
    touch "$artifacts/screenshot-done.txt"
  fi
  sleep 0.2
done
wait "$driver_pid"
driver_status=$?
cat "$artifacts/driver.log"

# The driver's own cases.
while read -r verdict name; do
  record "$verdict" "gui: $name"
done < <(sed -n -e 's/^\[       OK \] \(.*\)$/PASS \1/p' -e 's/^\[  FAILED  \] \(.*\)$/FAIL \1/p' \
  "$artifacts/driver.log" | tr -d '\r')
[ "$driver_status" -eq 0 ] || record FAIL "gui: driver" "exit status $driver_status"
record "$shot" "gui: ScreenshotTaken"

# The dialog's seed, found again on the command line. The options are those
# the driver set: Jill, Normal, Items, Enemies with Tyrant "Many", "Ammo"
# removed.
name="gui: GenerationMatchesTheCommandLine"
if ! read -r first last <"$artifacts/generation-seconds.txt"; then
  record FAIL "$name" "the driver left no time window"
  exit 0
fi
for ((seed = first - 1; seed <= last + 1; seed++)); do
  out=$work/cli-$seed
  mkdir -p "$out"
  (cd "$out" && wine_run 300 "$build/cli/velmora.exe" --seed "$seed" --enemies --tyrant many \
    --remove ammo >"$out.log" 2>/dev/null)
  if cmp -s "$out.log" "$artifacts/dialog-log.txt" &&
    cmp -s "$out/ItemListJillNormal.txt" "$work/generate/ItemListJillNormal.txt" &&
    cmp -s "$out/CheatSheetJillNormal.txt" "$work/generate/CheatSheetJillNormal.txt"; then
    record PASS "$name" && echo "    seed $seed"
    exit 0
  fi
done
record FAIL "$name" "no seed from $((first - 1)) to $((last + 1)) gives the dialog's log and files"
exit 0
