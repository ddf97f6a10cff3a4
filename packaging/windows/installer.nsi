; The Windows installer: makensis -INPUTCHARSET UTF8 -DVERSION=x.y.z -DSTAGE=folder -DICON=folvane.ico
;   -DOUTFILE=setup.exe
; STAGE holds what the zip holds: the three programs, README.txt and licenses\.
Unicode true
; The programs are 64-bit, and so is the installer: it runs where they run.
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include "MUI2.nsh"

!define PRODUCT "Folvane CHM 制作"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Folvane"
; The right-click command the program can register for .hhp files, and where it keeps the one it replaced.
!define VERB "编译(&E)"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Folvane"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Folvane ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "© Folvane 开发组"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\folvane.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Section
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File "${STAGE}\folvane.exe"
    File "${STAGE}\folvane-make.exe"
    File "${STAGE}\hhc.exe"
    File "${STAGE}\README.txt"
    File /r "${STAGE}\licenses"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\folvane.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Folvane 开发组"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\folvane.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize 0 $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Takes the right-click command away when it is this copy's, and puts back the command and the
; default verb the program kept when it registered: what the program's own menu item does.
Function un.RemoveVerb
    ReadRegStr $0 HKCR ".hhp" ""
    StrCmp $0 "" done
    ReadRegStr $1 HKCR "$0\shell\${VERB}\command" ""
    ; StrCmp ignores letter case, as paths on Windows do.
    StrCmp $1 '"$INSTDIR\hhc.exe"  "%1"' 0 done
    DeleteRegKey HKCR "$0\shell\${VERB}"
    ReadRegStr $1 HKCR "$0\shell_Old\${VERB}\command" ""
    StrCmp $1 "" +2
    WriteRegStr HKCR "$0\shell\${VERB}\command" "" $1
    ReadRegStr $1 HKCR "$0\shell_Old" ""
    StrCmp $1 "" +2
    WriteRegStr HKCR "$0\shell" "" $1
    DeleteRegKey HKCR "$0\shell_Old"
done:
FunctionEnd

Section "Uninstall"
    SetShellVarContext all
    Call un.RemoveVerb
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    Delete "$INSTDIR\folvane.exe"
    Delete "$INSTDIR\folvane-make.exe"
    Delete "$INSTDIR\hhc.exe"
    Delete "$INSTDIR\README.txt"
    RMDir /r "$INSTDIR\licenses"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
