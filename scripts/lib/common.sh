# Shared steps of scripts/test and scripts/demo: packages, build, host
# prefix, display. Sourced, not run.

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${BUILD_DIR:-$repo/build}

export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=win64

say() { printf '%s\n' "$*"; }
die() { say "error: $*" >&2; exit 1; }

# Installs the cross compilers (64-bit for the tests, 32-bit for the
# Windows 95/98 release; never wine32, which breaks Wine's 64-bit side), Wine, Xvfb and the build tools when any is
# missing. Needs root or sudo.
ensure_packages() {
  local packages=(g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 g++-mingw-w64-i686-win32 binutils-mingw-w64-i686
                  wine wine64 xvfb xauth cmake ninja-build googletest clang-format imagemagick python3)
  local missing=()
  for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  say "Installing ${missing[*]} ..."
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
}

configure_and_build() {
  cmake -S "$repo" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build"
}

# The Windows 95/98 release from the same sources: 32-bit files, their
# package and the check of both, in build/win9x; with "tests", the test
# suites and the user-mode stand-ins beside them, built with the same
# settings, which run the release's own files (a tree once configured so
# keeps them).
release=$build/win9x
configure_and_build_release() {
  local tests=()
  [ "${1:-}" = tests ] && tests=(-DORVANTA_WIN9X_TESTS=ON)
  cmake -S "$repo" -B "$release" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-i686-win9x.cmake" \
    -DCMAKE_BUILD_TYPE=Release "${tests[@]}" >/dev/null
  cmake --build "$release"
}

# The Wine that runs 32-bit programs (WoW64 mode), built once per machine by
# scripts/wow64-wine: its folder in wine_root. The system's Wine runs the
# 64-bit build; a caller puts $wine_root/bin first on the path for the
# release's programs.
ensure_wow64_wine() {
  wine_root=$("$repo/scripts/wow64-wine") || die "the WoW64 Wine could not be built (see above)"
}

# The same, built beside what comes before the 32-bit pass: scripts/test
# starts it first and waits for it last. It runs at the lowest priority, in a
# process group of its own, so that the project's builds and the 64-bit
# pass keep the cores they ask for and a stopped run ends it too (the next
# run goes on where it stopped). Its stage lines go to the error stream as
# they come.
start_wow64_wine() {
  setsid nice -n 19 "$repo/scripts/wow64-wine" </dev/null >/dev/null &
  wow64_wine_pid=$!
}

await_wow64_wine() {
  local status=0
  wait "$wow64_wine_pid" || status=$?
  wow64_wine_pid=
  [ "$status" -eq 0 ] || die "the WoW64 Wine could not be built (see above)"
  wine_root=$("$repo/scripts/wow64-wine" --path)
}

stop_wow64_wine() {
  [ -n "${wow64_wine_pid:-}" ] || return 0
  kill -TERM -- "-$wow64_wine_pid" 2>/dev/null || true
  wait "$wow64_wine_pid" 2>/dev/null || true
  wow64_wine_pid=
}

# The Windows version the prefix's programs are told (Wine's per-prefix
# setting): win98 for the product's Windows 9x paths; none for Wine's
# default, an NT version, under which the stand-in drivers are reached.
set_host_version() {
  if [ -n "${1:-}" ]; then
    "$repo/scripts/wine-run" reg add 'HKCU\Software\Wine' /v Version /d "$1" /f </dev/null >/dev/null 2>&1
  else
    "$repo/scripts/wine-run" reg delete 'HKCU\Software\Wine' /v Version /f </dev/null >/dev/null 2>&1 || true
  fi
}

# A fresh prefix laid out as the host PC, its wineserver kept running
# (services such as the stand-in drivers die with the wineserver). A step
# that fails is reported with what it printed, and the layout is made once
# more from scratch: one rare failure of Wine's first boot or of a driver's
# registration should not end a run.
make_host() {
  export WINEPREFIX=$1
  local attempt
  for attempt in 1 2; do
    lay_out_host && return 0
    stop_host
    [ "$attempt" -eq 1 ] && say "Laying out $WINEPREFIX once more ..."
  done
  die "the host $WINEPREFIX could not be laid out"
}

# One attempt: false, after saying which step failed and what it printed.
lay_out_host() {
  end_wineserver
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX" || return 1
  start_wineserver || return 1
  host_step "$repo/scripts/wine-run" wineboot -i || return 1
  # A first boot can leave two service managers answering in turn; a fresh
  # server after it has one, which the drivers' registration needs.
  end_wineserver
  start_wineserver || return 1
  host_step "$repo/host/image/layout-host.sh" "$build/bin" || return 1
  host_step "$repo/host/image/install-drivers.sh" "$build/bin" || return 1
  # As after a start of the host: the devices present are listed.
  host_step "$repo/scripts/wine-run" "$build/bin/stationctl.exe" restart || return 1
  rm -f "$WINEPREFIX.log"
}

# A host laid out before, started again on the current display: a Wine
# server of its own (one left running keeps the display it started with),
# and the stand-in drivers, which end with every server.
start_kept_host() {
  export WINEPREFIX=$1
  end_wineserver
  start_wineserver || die "the host $WINEPREFIX could not be started"
  "$repo/host/image/install-drivers.sh" "$build/bin"
}

end_wineserver() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}

# Persistent, its output away from any caller's pipe.
start_wineserver() {
  wineserver -p </dev/null >/dev/null 2>&1 || { say "error: wineserver -p failed in $WINEPREFIX"; return 1; }
}

host_step() {
  "$@" </dev/null >"$WINEPREFIX.log" 2>&1 && return 0
  local status=$?
  say "error: '$*' failed (exit $status) while laying out $WINEPREFIX" \
    "($(df -h --output=avail "$(dirname "$WINEPREFIX")" | tail -n 1 | tr -d ' ') free on its disk):"
  tail -n 20 "$WINEPREFIX.log" | sed 's/^/  /'
  return $status
}

stop_host() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
}

# Starts an Xvfb of the given depth on a free display and makes it the
# display.
xvfb_pids=()
start_xvfb() {
  local depth=${1:-24}
  local number=90
  while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
  Xvfb ":$number" -screen 0 "1024x768x$depth" -nolisten tcp >/dev/null 2>&1 &
  xvfb_pids+=($!)
  export DISPLAY=":$number"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$number" ] && return 0; sleep 0.1; done
  die "Xvfb did not start"
}

# Starts Xvfb unless a display is already given.
start_display() {
  if [ -n "${DISPLAY:-}" ] && [ -z "${FORCE_XVFB:-}" ]; then return 0; fi
  start_xvfb "${1:-24}"
}

stop_display() {
  local pid
  for pid in "${xvfb_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  xvfb_pids=()
}
