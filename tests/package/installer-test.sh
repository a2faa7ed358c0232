#!/usr/bin/env bash
# What a Windows user does with the downloads, under Wine: install through the installer's
# pages, start the program from its Start-menu shortcut, uninstall, and start the portable
# zip. Each start creates the user's database and shows the terms, which the launcher
# declines.
# Usage: installer-test.sh <shortcut-launcher.exe> <installer-wizard.exe>
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
launcher=$1
wizard=$2
run=$root/scripts/wine-run
fail() { echo "FAILED: $*"; exit 1; }
# The template's 25 catalogue entries and "Candela", which the main window adds at its first
# start: the database was made from the template and opened by the program.
catalogue_entries() { mdb-count "$1" INTERVENTI 2>/dev/null || echo none; }

mapfile -t downloads < <("$root/scripts/package")
zip=${downloads[0]}
setup=${downloads[1]}
[[ -f "$zip" && -f "$setup" ]] || fail "scripts/package made no zip and installer"

prefix=$root/build/wine/prefix
unix_path() { "$run" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
appdata=$(unix_path "$("$run" cmd /c 'echo %LOCALAPPDATA%' | tr -d '\r')")
data=$appdata/TorvaneManutenzione
install=$prefix/drive_c/Program\ Files/Torvane\ Manutenzione
menu=$prefix/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Torvane\ Manutenzione
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\TorvaneManutenzione'
rm -rf "$data"

echo "installing"
pages=$(cd "$(dirname "$setup")" && "$run" "$wizard" "$(basename "$setup")" | tr -d "\r") ||
  fail "the installer failed: $pages"
# The finish page offers the read-me only: the installer runs as administrator, so a
# program it started would create the database in the administrator's profile.
[[ "$pages" == "option=Visualizza il file Readme (checked)" ]] ||
  fail "the finish page offers something other than the read-me: $pages"
for file in TorvaneManutenzione.exe filedat LEGGIMI.txt Disinstalla.exe; do
  [[ -f "$install/$file" ]] || fail "$file not installed"
done
[[ -f "$menu/Torvane Manutenzione.lnk" ]] || fail "no Start-menu shortcut"
"$run" reg query "$key" /v UninstallString >/dev/null 2>&1 || fail "no uninstaller registered"

echo "starting from the shortcut"
shortcut='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Torvane Manutenzione\Torvane Manutenzione.lnk'
launched=$(cd /tmp && "$run" "$launcher" "$shortcut" | tr -d "\r") || fail "the program did not start cleanly from its shortcut"
echo "$launched" | grep -qx 'folder=C:\\Program Files\\Torvane Manutenzione' ||
  fail "the shortcut's working folder is not the install folder: $launched"
echo "$launched" | grep -qx 'terms=Leggimi' || fail "the program showed no terms: $launched"
[[ $(catalogue_entries "$data/dati/dati.mdb") == 26 ]] ||
  fail "the program did not create the user's database"
echo "the user's own data" >> "$data/dati/dati.mdb"
before=$(md5sum < "$data/dati/dati.mdb")

echo "uninstalling"
"$run" "$install/Disinstalla.exe" /S || fail "the uninstaller failed"
# The uninstaller works from a copy of itself in the temporary folder: wait until it has
# removed the program, the Start-menu folder and its registration (its last steps).
for _ in $(seq 150); do
  if [[ ! -e "$install" && ! -e "$menu" ]] && ! "$run" reg query "$key" >/dev/null 2>&1; then break; fi
  sleep 0.2
done
[[ ! -e "$install" ]] || fail "the program folder is still there"
[[ ! -e "$menu" ]] || fail "the Start-menu folder is still there"
if "$run" reg query "$key" >/dev/null 2>&1; then fail "the uninstaller is still registered"; fi
[[ "$(md5sum < "$data/dati/dati.mdb")" == "$before" ]] || fail "the user's database was touched"

echo "starting the portable program"
unpacked=$root/build/package/unpacked
rm -rf "$unpacked" "$data"
mkdir -p "$unpacked"
unzip -q "$zip" -d "$unpacked"
folder=$(find "$unpacked" -name TorvaneManutenzione.exe -printf '%h\n')
launched=$(cd "$folder" && "$run" "$launcher" ./TorvaneManutenzione.exe | tr -d "\r") ||
  fail "the portable program did not start cleanly"
echo "$launched" | grep -qx 'terms=Leggimi' || fail "the portable program showed no terms: $launched"
[[ $(catalogue_entries "$data/dati/dati.mdb") == 26 ]] ||
  fail "the portable program did not create the database"
rm -rf "$unpacked"
echo "installer, shortcut, uninstaller and portable zip: all fine"
