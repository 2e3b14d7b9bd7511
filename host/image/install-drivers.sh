#!/usr/bin/env bash
# Installs and starts the stand-in drivers of the host PC in the prefix
# $WINEPREFIX, from the build's bin folder ($1): copies corehub.sys and
# s3w32d.sys into the system's drivers folder, registers them as the kernel
# services Corehub and S3W32D (an existing registration is kept), starts each
# and waits until it runs, which is when \\.\Corehub and \\.\S3W32D.VXD
# open. A driver that already runs from the same file is left running; one
# that runs an older build is restarted. The station driver files (version
# records only) go into the system folder. Quiet unless something fails. The
# prefix's wineserver must be running persistently: services die with it.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
run=$here/../../scripts/wine-run
: "${WINEPREFIX:?set WINEPREFIX to the prefix to install into}"
bin=${1:?usage: install-drivers.sh BIN_DIR}
# By full path: an sc.exe in the current folder would shadow the system's.
sc='C:\windows\system32\sc.exe'

output=$(mktemp)
trap 'rm -f "$output"' EXIT

fail() {
  printf 'install-drivers: %s\n' "$1" >&2
  [ -s "$output" ] && sed 's/^/  /' "$output" >&2
  exit 1
}

# sc may start the service host (winedevice.exe), which inherits the standard
# handles and would hold a caller's pipe open: input and output go to files.
# sc reports why a request failed only on Wine's error channel.
sc_run() { WINEDEBUG=-all,err+sc "$run" "$sc" "$@" </dev/null >"$output" 2>&1; }

# RUNNING, STOPPED, START_PENDING, ...; nothing when there is no such service.
service_state() {
  sc_run query "$1" || return 0
  sed -nE 's/^[[:space:]]*STATE[[:space:]]*:[[:space:]]*[0-9]+[[:space:]]+([A-Z_]+).*/\1/p' "$output" | tr -d '\r'
}

# Waits up to ten seconds for the service to reach the state; prints the
# state it ended in.
wait_for_state() {
  local service=$1 wanted=$2 state=
  for _ in $(seq 50); do
    state=$(service_state "$service")
    [ "$state" = "$wanted" ] && break
    case $state in *PENDING) ;; *) [ -n "$3" ] && break ;; esac
    sleep 0.2
  done
  printf '%s' "$state"
}

install_driver() {
  local service=$1 file=$2
  local drivers=$WINEPREFIX/drive_c/windows/system32/drivers
  [ -f "$bin/$file" ] || fail "$bin/$file is missing; build it first"

  local state
  state=$(service_state "$service")
  if [ "$state" = RUNNING ]; then
    cmp -s "$bin/$file" "$drivers/$file" && return 0
    sc_run stop "$service" || true
    state=$(wait_for_state "$service" STOPPED "")
    [ "$state" = STOPPED ] || fail "the running $service service did not stop (state: ${state:-unknown})"
  fi

  mkdir -p "$drivers"
  # A loaded driver keeps its file mapped: the new one takes its place by
  # rename, never by writing into it.
  cp "$bin/$file" "$drivers/.$file.new"
  mv -f "$drivers/.$file.new" "$drivers/$file"

  if [ -z "$state" ]; then
    sc_run create "$service" type= kernel start= demand binpath= "C:\\windows\\system32\\drivers\\$file" ||
      fail "sc create $service failed"
    # Two service managers answering in one prefix forget each other's
    # services; this is where that shows.
    [ -n "$(service_state "$service")" ] ||
      fail "$service is not registered after sc create (more than one service manager in the prefix?)"
  fi

  sc_run start "$service" || fail "sc start $service failed"
  state=$(wait_for_state "$service" RUNNING stop-early)
  [ "$state" = RUNNING ] || fail "the $service service did not start (state: ${state:-unknown})"
}

install_driver Corehub corehub.sys
install_driver S3W32D s3w32d.sys

# The station driver files lie in the system folder, where the system (and
# the control center's about box) finds them by name; in a prefix of the
# WoW64 Wine also in the one that 32-bit programs see.
for file in Corehub.vxd Portlane.vxd Trellmon.vxd Keyrelay.vxd; do
  [ -f "$bin/$file" ] || fail "$bin/$file is missing: build the driver_files target"
  for folder in system32 syswow64; do
    if [ -d "$WINEPREFIX/drive_c/windows/$folder" ]; then cp "$bin/$file" "$WINEPREFIX/drive_c/windows/$folder/$file"; fi
  done
done
