# Sourced by the Windows test scripts: Wine in a prefix of its own inside the
# build tree, on an Xvfb display of its own, and the tests' result record.
#   wine_start BUILD_DIR   sets WINE, WINEPREFIX, DISPLAY...; starts Xvfb and
#                          a persistent wineserver; boots the prefix once
#   wine_stop              ends the wineserver and the Xvfb it started
#   record PASS|FAIL NAME [DETAIL]  one test result, into $VELMORA_RESULTS

record() {
  local verdict=$1 name=$2
  shift 2
  [ "$verdict" = PASS ] && echo "[       OK ] $name" || echo "[  FAILED  ] $name${1:+: $*}"
  [ -n "${VELMORA_RESULTS:-}" ] && echo "$verdict $name" >>"$VELMORA_RESULTS"
  return 0
}

# Prints the first of its arguments that is an executable file.
first_executable() {
  local candidate
  for candidate in "$@"; do
    [ -n "$candidate" ] && [ -x "$candidate" ] && echo "$candidate" && return 0
  done
  return 1
}

# Starts Xvfb on a display number it picks itself; sets DISPLAY.
xvfb_start() {
  local number
  exec {fd}< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>"$WINE_LOGS/xvfb.log" &
    echo "pid $!")
  read -r _ XVFB_PID <&"$fd"
  read -r -t 10 number <&"$fd"
  exec {fd}<&-
  [ -n "$number" ] || { echo "Xvfb did not start; see $WINE_LOGS/xvfb.log" >&2; return 1; }
  export DISPLAY=":$number"
}

wine_start() {
  local build
  build=$(cd "$1" && pwd) || return 1
  WINE=$(first_executable "$(dpkg -L wine64 2>/dev/null | grep -E '/wine64$' | head -n 1)" \
    /usr/lib/wine/wine64 "$(command -v wine64)" "$(command -v wine)") || {
    echo "Wine's 64-bit loader not found (apt-get install wine64)" >&2
    return 1
  }
  WINESERVER=$(first_executable "$(dirname "$WINE")/wineserver" "$(dirname "$WINE")/wineserver64" \
    "$(command -v wineserver)") || {
    echo "wineserver not found" >&2
    return 1
  }
  export WINE WINESERVER WINEPREFIX=$build/wine-prefix WINEDEBUG=-all
  # No Mono or Gecko: nothing here needs them, and their installers would
  # wait for a click.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export HOME=${HOME:-/root}
  WINE_LOGS=$build/wine-logs
  mkdir -p "$WINE_LOGS"
  xvfb_start || return 1
  if [ ! -f "$WINEPREFIX/.velmora-booted" ]; then
    echo "Creating the Wine prefix $WINEPREFIX (takes a while once)"
    rm -rf "$WINEPREFIX"
    timeout 600 "$WINE" wineboot -i >"$WINE_LOGS/wineboot.log" 2>&1 || {
      echo "wineboot failed; see $WINE_LOGS/wineboot.log" >&2
      return 1
    }
    timeout 300 "$WINESERVER" -w
    # A virtual desktop: Wine draws the windows' frames and captions itself,
    # as Windows would, since Xvfb has no window manager.
    timeout 120 "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f \
      >>"$WINE_LOGS/wineboot.log" 2>&1 &&
      timeout 120 "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default \
        /d 1024x900 /f >>"$WINE_LOGS/wineboot.log" 2>&1 || return 1
    timeout 300 "$WINESERVER" -w
    touch "$WINEPREFIX/.velmora-booted"
  fi
  # One server for all the runs, instead of one start-up per program.
  "$WINESERVER" -p >/dev/null 2>&1 </dev/null
}

wine_stop() {
  [ -n "${WINESERVER:-}" ] && [ -n "${WINEPREFIX:-}" ] && timeout 60 "$WINESERVER" -k 2>/dev/null
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  XVFB_PID=
  return 0
}

# Runs a Windows program under Wine with a time limit: wine_run SECONDS EXE ARGS...
wine_run() {
  local seconds=$1
  shift
  timeout --kill-after=10 "$seconds" "$WINE" "$@"
}
