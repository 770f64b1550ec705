; The Windows installer (makensis from Debian's nsis; scripts/build-windows.sh runs it):
; a per-user installation without administrator rights, Start-menu and optional desktop
; shortcuts, an entry in the Send to menu, and an uninstaller listed under Settings -> Apps
; that removes what was installed and leaves the user's drawings and settings file.
;
; makensis -DVERSION=1.10 -DSTAGE=folder-with-the-files -DICON=plandown.ico -DOUTFILE=setup.exe
; A 64-bit installer for the 64-bit programs (it also runs under a 64-bit-only wine).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!define PRODUCT "Plandown"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Plandown"
!define SENDTO_NAME "Plandown で変換"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Plandown"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

!include "MUI2.nsh"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\plandown-gui.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The first language is the default; Windows' UI language picks the other.
!insertmacro MUI_LANGUAGE "Japanese"
!insertmacro MUI_LANGUAGE "English"

LangString NameProgram ${LANG_JAPANESE} "Plandown (必須)"
LangString NameProgram ${LANG_ENGLISH} "Plandown (required)"
LangString NameDesktop ${LANG_JAPANESE} "デスクトップのショートカット"
LangString NameDesktop ${LANG_ENGLISH} "Desktop shortcut"
LangString DescProgram ${LANG_JAPANESE} "プログラム、スタートメニューのショートカットと「送る」メニューの「${SENDTO_NAME}」。"
LangString DescProgram ${LANG_ENGLISH} "The programs, a Start menu shortcut and '${SENDTO_NAME}' in the Send to menu."
LangString DescDesktop ${LANG_JAPANESE} "デスクトップに Plandown のショートカットを置きます。"
LangString DescDesktop ${LANG_ENGLISH} "Puts a Plandown shortcut on the desktop."

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "the Plandown developers"

Section "!$(NameProgram)" SecProgram
  SectionIn RO
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${STAGE}\plandown.exe"
  File "${STAGE}\plandown-gui.exe"
  File "${STAGE}\README.txt"
  SetOutPath "$INSTDIR\licenses"
  File "${STAGE}\licenses\*.txt"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\Plandown.lnk" "$INSTDIR\plandown-gui.exe"
  CreateShortCut "$SENDTO\${SENDTO_NAME}.lnk" "$INSTDIR\plandown-gui.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "the Plandown developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\plandown-gui.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "$(NameDesktop)" SecDesktop
  SetShellVarContext current
  CreateShortCut "$DESKTOP\Plandown.lnk" "$INSTDIR\plandown-gui.exe"
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} $(DescProgram)
  !insertmacro MUI_DESCRIPTION_TEXT ${SecDesktop} $(DescDesktop)
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; Only what the installer wrote: the settings file (plandown-gui.dat beside the program)
; and the user's drawings stay, and so does the folder while it holds them.
Section "Uninstall"
  SetShellVarContext current
  Delete "$INSTDIR\plandown.exe"
  Delete "$INSTDIR\plandown-gui.exe"
  Delete "$INSTDIR\README.txt"
  RMDir /r "$INSTDIR\licenses"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Plandown.lnk"
  Delete "$SENDTO\${SENDTO_NAME}.lnk"
  Delete "$DESKTOP\Plandown.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
