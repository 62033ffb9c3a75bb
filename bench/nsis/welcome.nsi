; The first page of an NSIS setup with the Modern UI 2: its welcome page.
; makensis -DNAME=... -DPAYLOAD=<file> -DOUTFILE=<setup.exe> welcome.nsi
Unicode true
SetCompressor zlib
!include "MUI2.nsh"
Name "${NAME}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${NAME}"
RequestExecutionLevel admin

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_LANGUAGE "English"

Section "Install"
  SetOutPath "$INSTDIR"
  File "${PAYLOAD}"
SectionEnd
