; The Windows installer of Pitchwright, built by scripts/build-windows.sh:
;
;   makensis -DVERSION=1.1.0 -DSOURCE=<deploy folder> -DFILES=<files.nsh>
;            -DREMOVE=<remove.nsh> -DICON=<pitchwright.ico> -DSIDE=<164x314.bmp>
;            -DOUTFILE=<setup.exe> pitchwright.nsi
;
; It shows the licence, installs for the current user only, without
; administrator rights, into %LOCALAPPDATA%\Programs\Pitchwright, adds a
; Start-menu entry and an entry in the user's installed programs and
; Pitchwright to the "Open with" list of .tct files, and offers to start the
; program. Its uninstaller removes exactly the files it installed (FILES and
; REMOVE list them). /S runs either silently, without starting anything.

Unicode true
; A 64-bit installer: the program is 64-bit, and 64-bit-only Wine cannot
; start NSIS's default 32-bit stubs.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!define NAME "Pitchwright"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pitchwright"
; "Open with" for tactic files: a ProgID of our own listed among the .tct
; file's candidates, never the file type's default, which stays the user's.
!define PROGID "Pitchwright.Tactic"
!define CLASSES "Software\Classes"

Name "${NAME} ${VERSION}"
Caption "${NAME} ${VERSION} Setup"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${NAME}"
BrandingText "${NAME} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${NAME}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${NAME} ${VERSION} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "Pitchwright team"
VIAddVersionKey "LegalCopyright" "Pitchwright team"

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${SIDE}"
; The GPL asks for no consent: the page shows it, Next goes on.
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!define MUI_LICENSEPAGE_TEXT_BOTTOM "$(LicenceBottom)"
!insertmacro MUI_PAGE_LICENSE "${SOURCE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; Only shown, and so only started, when not silent.
!define MUI_FINISHPAGE_RUN "$INSTDIR\pitchwright.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The program speaks both; the installer takes the one of Windows' interface.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Russian"
LangString LicenceBottom ${LANG_ENGLISH} "You need not accept this licence to install or run \
    ${NAME}; it gives you the right to share and change it. Click Next to continue."
LangString LicenceBottom ${LANG_RUSSIAN} "Эту лицензию не нужно принимать, чтобы установить \
    и запустить ${NAME}; она даёт право распространять и изменять программу. Нажмите \
    «Далее», чтобы продолжить."

Section "Pitchwright"
    SetShellVarContext current
    !include "${FILES}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\pitchwright.exe"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Pitchwright team"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\pitchwright.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "HelpLink" "$INSTDIR\README.txt"
    ; In KiB, as "Installed apps" reads it.
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1

    WriteRegStr HKCU "${CLASSES}\${PROGID}" "" "CM tactic"
    WriteRegStr HKCU "${CLASSES}\${PROGID}\DefaultIcon" "" "$INSTDIR\pitchwright.exe,0"
    WriteRegStr HKCU "${CLASSES}\${PROGID}\shell\open\command" "" '"$INSTDIR\pitchwright.exe" "%1"'
    WriteRegStr HKCU "${CLASSES}\.tct\OpenWithProgids" "${PROGID}" ""
    WriteRegStr HKCU "${CLASSES}\Applications\pitchwright.exe" "FriendlyAppName" "${NAME}"
    WriteRegStr HKCU "${CLASSES}\Applications\pitchwright.exe\SupportedTypes" ".tct" ""
    WriteRegStr HKCU "${CLASSES}\Applications\pitchwright.exe\shell\open\command" "" '"$INSTDIR\pitchwright.exe" "%1"'
    ; Explorer reads the associations again.
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
    SetShellVarContext current
    Delete "$SMPROGRAMS\${NAME}.lnk"
    !include "${REMOVE}"
    Delete "$INSTDIR\uninstall.exe"
    ; Only if empty: files the user put there stay.
    RMDir "$INSTDIR"
    RMDir "$LOCALAPPDATA\Programs"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    DeleteRegKey HKCU "${CLASSES}\${PROGID}"
    DeleteRegKey HKCU "${CLASSES}\Applications\pitchwright.exe"
    DeleteRegValue HKCU "${CLASSES}\.tct\OpenWithProgids" "${PROGID}"
    ; The .tct keys only if nothing else uses them.
    DeleteRegKey /ifempty HKCU "${CLASSES}\.tct\OpenWithProgids"
    DeleteRegKey /ifempty HKCU "${CLASSES}\.tct"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
    ; The uninstaller runs from a copy of itself in a folder of the temporary
    ; folder, which is removed at the next start of Windows. The stub asks
    ; for that folder's removal before its file's; asked once more, it goes
    ; too once the file has.
    StrCmp "$EXEDIR" "$INSTDIR" +2
    RMDir /REBOOTOK "$EXEDIR"
SectionEnd
