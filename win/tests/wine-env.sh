# Sourced by the Windows test scripts: Wine in a prefix of its own inside the
# build tree, on an Xvfb display of its own, and the tests' result record.
#   wine_start BUILD_DIR   sets WINE, WINEPREFIX, DISPLAY...; starts Xvfb and
#                          a persistent wineserver; boots the prefix once
#   wine_stop              ends the wineserver and the Xvfb it started
#   record PASS|FAIL NAME [DETAIL]  one test result, into $VELMORA_RESULTS

record() {
  local verdict=$1 name=$2
  shift 2
  if [ "$verdict" = PASS ]; then
    echo "[       OK ] $name"
  else
    echo "[  FAILED  ] $name${1:+: $*}"
  fi
  [ -n "${VELMORA_RESULTS:-}" ] && echo "$verdict $name" >>"$VELMORA_RESULTS"
  return 0
}

wine_loader() {
  local candidate
  for candidate in "$(dpkg -L wine64 2>/dev/null | grep -E '/wine64$' | head -n 1)" \
    /usr/lib/wine/wine64 "$(command -v wine64 || true)" "$(command -v wine || true)"; do
    if [ -n "$candidate" ] && [ -x "$candidate" ]; then
      echo "$candidate"
      return 0
    fi
  done
  return 1
}

wine_server_binary() {
  local candidate
  for candidate in "$(dirname "$WINE")/wineserver" "$(dirname "$WINE")/wineserver64" \
    "$(command -v wineserver || true)"; do
    if [ -n "$candidate" ] && [ -x "$candidate" ]; then
      echo "$candidate"
      return 0
    fi
  done
  return 1
}

# Starts Xvfb on the first display number that is free; sets DISPLAY.
xvfb_start() {
  local n
  for n in $(seq 90 199); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$WINE_LOGS/xvfb.log" 2>&1 &
    XVFB_PID=$!
    local i
    for i in $(seq 1 50); do
      if [ -e "/tmp/.X11-unix/X$n" ]; then
        export DISPLAY=":$n"
        return 0
      fi
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
  done
  echo "no free X display for Xvfb" >&2
  return 1
}

wine_start() {
  local build
  build=$(cd "$1" && pwd) || return 1
  WINE=$(wine_loader) || {
    echo "Wine's 64-bit loader not found (apt-get install wine64)" >&2
    return 1
  }
  WINESERVER=$(wine_server_binary) || {
    echo "wineserver not found" >&2
    return 1
  }
  export WINE WINESERVER
  export WINEPREFIX=$build/wine-prefix
  export WINEDEBUG=-all
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
  return 0
}

wine_stop() {
  if [ -n "${WINESERVER:-}" ] && [ -n "${WINEPREFIX:-}" ]; then
    timeout 60 "$WINESERVER" -k 2>/dev/null
  fi
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
  fi
  return 0
}

# Runs a Windows program under Wine with a time limit: wine_run SECONDS EXE ARGS...
wine_run() {
  local seconds=$1
  shift
  timeout --kill-after=10 "$seconds" "$WINE" "$@"
}
