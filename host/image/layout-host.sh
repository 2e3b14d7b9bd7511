#!/usr/bin/env bash
# Turns a freshly booted Wine prefix ($WINEPREFIX) into a Windows 98 style
# multi-station host PC with a Zelto KX4 installation: the boot files on
# drive C, the host's System.ini and Win.ini sections, Wininit.ini, the
# product's registry branch, and the printers and port monitor file that an
# earlier installation left. The wineserver of the prefix must be running.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
run=$here/../../scripts/wine-run
: "${WINEPREFIX:?set WINEPREFIX to the prefix to lay out}"
drive_c=$WINEPREFIX/drive_c
windows=$drive_c/windows

# DOS and Windows 98 files end their lines with CR LF.
crlf() { sed 's/\r*$/\r/' "$1"; }

crlf "$here/files/CONFIG.SYS" >"$drive_c/CONFIG.SYS"
crlf "$here/files/AUTOEXEC.BAT" >"$drive_c/AUTOEXEC.BAT"
crlf "$here/files/MSDOS.SYS" >"$drive_c/MSDOS.SYS"
# Windows 98 keeps MSDOS.SYS hidden, system and read-only. Wine's attrib
# applies one flag reliably per call, and read-only must come last: after it
# Wine can no longer record the other two.
for flag in +h +s +r; do "$run" attrib "$flag" 'C:\MSDOS.SYS' >/dev/null; done

# Wine's own sections stay; the host's sections are added after them.
crlf "$here/files/system.ini" >>"$windows/system.ini"
crlf "$here/files/win.ini" >>"$windows/win.ini"
# Renames that an earlier setup left for the next start.
crlf "$here/files/wininit.ini" >"$windows/Wininit.ini"

# The earlier installation's port monitor file, a placeholder: only its
# presence counts.
install_dir="$drive_c/Program Files/Orvanta"
mkdir -p "$install_dir"
printf 'Orvanta port monitor placeholder\r\n' >"$install_dir/localmon.dll"

# Each part of the host's registry in a file of its own, in name order.
for file in "$here"/registry/*.reg; do
  "$run" regedit /s "$(winepath -w "$file")"
done
