; Windows installer, in Italian. Built by scripts/package, which passes:
;   VERSION  the program's version (from the project's CMake version)
;   BINDIR   the folder holding TorvaneManutenzione.exe and filedat
;   SRCDIR   the source tree;  OUTFILE  the installer to write
Unicode true
!include "MUI2.nsh"

!define PRODUCT "Torvane Manutenzione"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TorvaneManutenzione"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1040 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1040 "CompanyName" "Torvane"
VIAddVersionKey /LANG=1040 "FileDescription" "Installazione di ${PRODUCT}"
VIAddVersionKey /LANG=1040 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "LegalCopyright" "Torvane"

!define MUI_ICON "${SRCDIR}/app/resources/program.ico"
!define MUI_UNICON "${SRCDIR}/app/resources/program.ico"
; No "run the program" on the finish page: the installer runs as administrator, and a
; program started from it would make the user's database in the administrator's profile.
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\LEGGIMI.txt"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"

Section "Programma"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${BINDIR}/TorvaneManutenzione.exe"
  File "${BINDIR}/filedat"
  File "${SRCDIR}/app/installer/LEGGIMI.txt"
  WriteUninstaller "$INSTDIR\Disinstalla.exe"

  ; A shortcut's working folder is the output path: the program looks for "filedat" there.
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\TorvaneManutenzione.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Leggimi.lnk" "$INSTDIR\LEGGIMI.txt"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Disinstalla ${PRODUCT}.lnk" "$INSTDIR\Disinstalla.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Torvane"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\TorvaneManutenzione.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Disinstalla.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Disinstalla.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the installer put in place and nothing else: the user's database in
; %LOCALAPPDATA%\TorvaneManutenzione belongs to the user and stays.
Section "Uninstall"
  SetShellVarContext all
  Delete "$INSTDIR\TorvaneManutenzione.exe"
  Delete "$INSTDIR\filedat"
  Delete "$INSTDIR\LEGGIMI.txt"
  Delete "$INSTDIR\Disinstalla.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Leggimi.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Disinstalla ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
