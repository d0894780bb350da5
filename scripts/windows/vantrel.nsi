; The Windows installer: the two programs with the Qt and MinGW libraries they need, Start-menu
; entries, an uninstaller and the icon. makensis -DVERSION=... -DSTAGE=... -DOUTFILE=... vantrel.nsi
; A 64-bit installer for the 64-bit programs (it also runs where no 32-bit Windows layer is, as under a 64-bit-only Wine).
Target amd64-unicode
Name "Vantrel ${VERSION}"
OutFile "${OUTFILE}"
Icon "${STAGE}\vantrel.ico"
UninstallIcon "${STAGE}\vantrel.ico"
InstallDir "$PROGRAMFILES64\Vantrel"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Vantrel"
    SetShellVarContext all ; Start-menu entries for every user of the machine
    SetOutPath "$INSTDIR"
    File /r "${STAGE}\*.*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateDirectory "$SMPROGRAMS\Vantrel"
    CreateShortcut "$SMPROGRAMS\Vantrel\Vantrel.lnk" "$INSTDIR\vantrel.exe" "" "$INSTDIR\vantrel.exe" 0
    CreateShortcut "$SMPROGRAMS\Vantrel\Vantrel Bet History.lnk" "$INSTDIR\vantrel-history.exe" "" \
        "$INSTDIR\vantrel-history.exe" 0
    CreateShortcut "$SMPROGRAMS\Vantrel\Vantrel Offer Calculators.lnk" "$INSTDIR\vantrel-offers.exe" "" \
        "$INSTDIR\vantrel-offers.exe" 0
    CreateShortcut "$SMPROGRAMS\Vantrel\Uninstall Vantrel.lnk" "$INSTDIR\uninstall.exe"
    WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantrel" "DisplayName" "Vantrel"
    WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantrel" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantrel" "DisplayIcon" "$INSTDIR\vantrel.exe"
    WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantrel" "UninstallString" \
        '"$INSTDIR\uninstall.exe"'
SectionEnd

; The data folder c:\vantrel holds the user's bets and is left alone.
Section "Uninstall"
    SetShellVarContext all
    RMDir /r "$SMPROGRAMS\Vantrel"
    RMDir /r "$INSTDIR"
    DeleteRegKey HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantrel"
SectionEnd
