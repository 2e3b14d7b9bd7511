#!/usr/bin/env bash
# Turns a freshly booted Wine prefix ($WINEPREFIX) into a Windows 98 style
# multi-station host PC with a Zelto KX4 installation: the boot files on
# drive C, the host's System.ini and Win.ini sections, Wininit.ini, the
# product's registry branch, and the printers and port monitor file that an
# earlier installation left. The wineserver of the prefix must be running.
# $1, the 64-bit build's bin folder, is needed only in a prefix of a Wine
# that runs 32-bit programs too.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
run=$here/../../scripts/wine-run
: "${WINEPREFIX:?set WINEPREFIX to the prefix to lay out}"
drive_c=$WINEPREFIX/drive_c
windows=$drive_c/windows

# In a prefix of the WoW64 Wine, 32-bit programs see a system folder
# (syswow64) and a view of HKLM\Software of their own. They get what a
# Windows 98 host has: the system folder's files in theirs, the registry
# layout in their view, and the product's branch shared with the 64-bit
# side (the stand-in drivers, the registry editor in the Windows folder that
# the setup library starts).
system_folders=("$windows/system32")
editors=(regedit)
if [ -f "$windows/syswow64/regedit.exe" ]; then
  system_folders+=("$windows/syswow64")
  editors+=('C:\windows\syswow64\regedit.exe')
  bin=${1:?usage: layout-host.sh BIN_DIR, the bin folder of the 64-bit build with registry_link.exe}
  "$run" "$bin/registry_link.exe" Quillon
fi

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

# Windows draws the caption buttons with the Marlett font, which every
# Windows 98 host has in its font folder; Wine ships it but does not put it
# in a new prefix.
wine_fonts=$(dirname "$(command -v wine)")/../share/wine/fonts
for fonts in "$wine_fonts" /usr/share/wine/fonts /usr/lib/wine/fonts /opt/wine/share/wine/fonts; do
  if [ -f "$fonts/marlett.ttf" ]; then
    mkdir -p "$windows/Fonts"
    cp "$fonts/marlett.ttf" "$windows/Fonts/marlett.ttf"
    break
  fi
done

# Each part of the host's registry in a file of its own, in name order.
for file in "$here"/registry/*.reg; do
  for editor in "${editors[@]}"; do "$run" "$editor" /s "$("$run" winepath -w "$file")"; done
done

# What the product and its earlier versions left on disk: the old
# installation with its task folders and logs (and a file of the
# administrator's own), the drivers in the Windows and system folders, the
# copied INF files, the start-menu group and the start-up folder.
leftover() { mkdir -p "$(dirname "$1")"; printf '%s\r\n' "${2:-placeholder}" >"$1"; }
install=$drive_c/Program\ Files/Orvanta
for file in Orvanta.exe ORVANTA.DLL Orvanta.hlp Orvanta.cnt Readme.txt License.txt Uninst.isu Setup.iss StnTest.exe; do
  leftover "$install/$file"
done
leftover "$install/Station notes.txt" "The administrator's own notes stay."
leftover "$install/Station1Tasks/backup.bat" "@ECHO OFF"
leftover "$install/Station2Tasks/Monday/report.txt"
chmod a-w "$install/Station2Tasks/Monday/report.txt"
leftover "$install/Station1TaskLog.txt"
leftover "$install/Station3TaskLog.txt"
leftover "$windows/Orvanta.sys"
for folder in "${system_folders[@]}"; do
  for file in Corehub.vxd Stnload.vxd Sndhub.vxd Serlink.vxd Serlink.dll; do leftover "$folder/$file"; done
done
for file in s3svg.inf 3dm.inf mdmgen.inf; do leftover "$windows/inf/$file" "[Version]"; done
for file in "TC Labs3DM.INF" "ESS Technology, Inc.MAESTRO.INF"; do leftover "$windows/inf/other/$file" "[Version]"; done
programs=$("$run" reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' /v Programs |
  sed -nE 's/^ *Programs +REG_SZ +(.*[^[:space:]]).*$/\1/p')
programs=$("$run" winepath -u "$programs")
for file in "Zelto Control Center.lnk" "Read Me.lnk" "Online Guide.lnk" "Uninstall Zelto.lnk"; do
  leftover "$programs/Zelto/$file"
done
leftover "$programs/Startup Zelto KX4/Zelto AutoLaunch.lnk"

# The users' profile folders and password lists (registered in system.ini);
# the profile list in the registry names the same users.
for user in mwclerk mwreader guest; do
  leftover "$windows/Profiles/$user/USER.DAT" "profile"
  leftover "$windows/Profiles/$user/Desktop/Notes.txt"
  leftover "$windows/${user^^}.PWL" "password list"
done
