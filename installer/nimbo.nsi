; Nimbo! setup: installs exactly the files Uninstall.exe removes, its registry keys and its shortcuts.
; makensis -DARCH=amd64|x86 -DSTAGE=<folder with the 112 files> -DICON=<nimbo.ico> -DOUTFILE=<Setup.exe> nimbo.nsi
; Options: /S silent; /SERVER=http://host:port the data service written into Options.ini [Servers] (without it
; the amd64 setup chooses direct mode, Weather=direct); /D=folder.
Unicode true
; The name "Setup.exe" is what users expect; Windows treating it as an installer is right.
!pragma warning disable 9000
!if "${ARCH}" == "amd64"
    Target amd64-unicode
!else
    Target x86-unicode
!endif

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "TextFunc.nsh"

!define PRODUCT "Nimbo!"
!define VERSION "1.60"
!define WIDGET_KEY "SOFTWARE\Pelvar\Nimbo"
!define APP_PATHS_KEY "Software\Microsoft\Windows\CurrentVersion\App Paths\Nimbo.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Nimbo"
!define HOME_PAGE "http://www.pelvar.com/projects.html#nimbo"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; The 64-bit programs go to the 64-bit folder and write the 64-bit registry view that they read back.
!if "${ARCH}" == "amd64"
    InstallDir "$PROGRAMFILES64\Pelvar\Nimbo"
!else
    InstallDir "$PROGRAMFILES\Pelvar\Nimbo"
!endif
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "Pelvar"
VIProductVersion "1.6.0.0"
VIAddVersionKey /LANG=1055 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1055 "CompanyName" "Pelvar"
VIAddVersionKey /LANG=1055 "FileDescription" "${PRODUCT} ${VERSION} Kurulum"
VIAddVersionKey /LANG=1055 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1055 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1055 "LegalCopyright" "© Pelvar"

!define MUI_ICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\Nimbo.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}/License.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_LANGUAGE "Turkish"

Function .onInit
!if "${ARCH}" == "amd64"
    SetRegView 64
!endif
FunctionEnd

; $R1 := the value of /SERVER= on the command line, up to the next blank, or empty. (GetOptions would cut it at
; the first "/" of "http://".)
Function ServerOption
    ${GetParameters} $R0
    StrCpy $R1 ""
    StrLen $R2 $R0
    StrCpy $R3 0
    find:
        IntCmp $R3 $R2 done 0 done
        StrCpy $R4 $R0 8 $R3
        StrCmp $R4 "/SERVER=" found
        IntOp $R3 $R3 + 1
        Goto find
    found:
        IntOp $R3 $R3 + 8
        StrCpy $R1 $R0 "" $R3
        StrLen $R2 $R1
        StrCpy $R3 0
    cut:
        IntCmp $R3 $R2 done 0 done
        StrCpy $R4 $R1 1 $R3
        StrCmp $R4 " " 0 next
        StrCpy $R1 $R1 $R3
        Goto done
    next:
        IntOp $R3 $R3 + 1
        Goto cut
    done:
FunctionEnd

; A widget of this folder that is running holds its files: it is asked to end through its own "-exit", only when
; its mutex says that one runs (with none running, "-exit" would start it).
Function CloseRunningWidget
    IfFileExists "$INSTDIR\Nimbo.exe" 0 done
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "globalUniqueMutexHandle_nimbo160") p .r0'
    StrCmp $0 0 done
    System::Call 'kernel32::CloseHandle(p r0)'
    ExecWait '"$INSTDIR\Nimbo.exe" -exit'
    done:
FunctionEnd

; An Options.ini kept from an earlier installation becomes UTF-16LE, the form in which the profile functions keep
; Turkish letters on every Windows (an ANSI file is read through the system's code page, as the widget reads
; it), and its [CitiesTU] becomes this setup's list; every other line stays. Built in the plug-ins folder, then
; copied over the file, which keeps its security.
Function MendSettingsFile
    InitPluginsDir
    File "/oname=$PLUGINSDIR\Shipped.ini" "${STAGE}/Options.ini"
    FileOpen $0 "$INSTDIR\Options.ini" r
    FileOpen $1 "$PLUGINSDIR\Options.ini" w
    FileWriteWord $1 0xFEFF
    FileReadWord $0 $2
    ${If} $2 <> 0xFEFF
        FileSeek $0 0 SET
    ${EndIf}
    StrCpy $3 0 ; inside [CitiesTU]
    ${Do}
        ClearErrors
        ${If} $2 = 0xFEFF
            FileReadUTF16LE $0 $4
        ${Else}
            FileRead $0 $4
        ${EndIf}
        ${IfThen} ${Errors} ${|} ${ExitDo} ${|}
        Call TrackCitiesSection
        ${IfThen} $3 = 0 ${|} FileWriteUTF16LE $1 $4 ${|}
    ${Loop}
    FileClose $0
    ; The old file's last line may lack its line end.
    FileWriteUTF16LE $1 "$\r$\n"
    FileOpen $0 "$PLUGINSDIR\Shipped.ini" r
    FileReadWord $0 $2
    StrCpy $3 0
    ${Do}
        ClearErrors
        FileReadUTF16LE $0 $4
        ${IfThen} ${Errors} ${|} ${ExitDo} ${|}
        Call TrackCitiesSection
        ${IfThen} $3 = 1 ${|} FileWriteUTF16LE $1 $4 ${|}
    ${Loop}
    FileClose $0
    FileClose $1
    System::Call 'kernel32::CopyFileW(w "$PLUGINSDIR\Options.ini", w "$INSTDIR\Options.ini", i 0) i .r0'
FunctionEnd

; $3 := 1 from the line $4 that opens [CitiesTU] to the next section's header, else 0.
Function TrackCitiesSection
    StrCpy $5 $4 1
    ${If} $5 == "["
        ${TrimNewLines} $4 $5
        ${If} $5 == "[CitiesTU]"
            StrCpy $3 1
        ${Else}
            StrCpy $3 0
        ${EndIf}
    ${EndIf}
FunctionEnd

Section "Nimbo!"
    Call CloseRunningWidget
    SetOutPath "$INSTDIR"
    File "${STAGE}/Nimbo.exe"
    File "${STAGE}/License.txt"
    File "${STAGE}/Uninstall.exe"
    ; A reinstall keeps the user's settings.
    StrCpy $R9 0
    ${IfThen} ${FileExists} "$INSTDIR\Options.ini" ${|} StrCpy $R9 1 ${|}
    SetOverwrite off
    File "${STAGE}/Options.ini"
    SetOverwrite on
    ${IfThen} $R9 = 1 ${|} Call MendSettingsFile ${|}
    ; The widget keeps its settings in Options.ini beside it and runs without administrator rights, so the
    ; machine's users (BUILTIN\Users, by its SID) may change that one file. Windows XP has no icacls; its users
    ; are usually administrators.
    nsExec::Exec '"$SYSDIR\icacls.exe" "$INSTDIR\Options.ini" /grant *S-1-5-32-545:M'
    Pop $0
    File /r "${STAGE}/Contents"

    Call ServerOption
    ${If} $R1 != ""
        WriteINIStr "$INSTDIR\Options.ini" "Servers" "Weather" "$R1"
        WriteINIStr "$INSTDIR\Options.ini" "Servers" "Search" "$R1"
        WriteINIStr "$INSTDIR\Options.ini" "Servers" "Web" "$R1"
        WriteINIStr "$INSTDIR\Options.ini" "Servers" "Address" "$R1"
!if "${ARCH}" == "amd64"
    ${Else}
        ; Windows 7 and later reach Open-Meteo themselves; a server the user chose before is kept.
        ReadINIStr $0 "$INSTDIR\Options.ini" "Servers" "Weather"
        ${If} $0 == ""
            WriteINIStr "$INSTDIR\Options.ini" "Servers" "Weather" "direct"
        ${EndIf}
!endif
    ${EndIf}

    WriteRegStr HKLM "${WIDGET_KEY}" "" "$INSTDIR\Nimbo.exe"
    WriteRegStr HKLM "${WIDGET_KEY}" "Path" "$INSTDIR"
    WriteRegStr HKLM "${WIDGET_KEY}" "Version" "${VERSION}"
    WriteRegStr HKLM "${APP_PATHS_KEY}" "" "$INSTDIR\Nimbo.exe"
    WriteRegStr HKLM "${APP_PATHS_KEY}" "Path" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Pelvar"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Nimbo.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${HOME_PAGE}"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

    ; The shortcuts of the current user, where the widget's options and the uninstaller look for them; the
    ; working folder of each is $OUTPATH, the installation folder.
    CreateDirectory "$SMPROGRAMS\Nimbo"
    CreateShortcut "$SMPROGRAMS\Nimbo\Nimbo!.lnk" "$INSTDIR\Nimbo.exe" "" "$INSTDIR\Nimbo.exe" 0
    CreateShortcut "$SMPROGRAMS\Nimbo\Kaldır.lnk" "$INSTDIR\Uninstall.exe" "" "$INSTDIR\Uninstall.exe" 0
    WriteINIStr "$SMPROGRAMS\Nimbo\Nimbo! Anasayfa.url" "InternetShortcut" "URL" "${HOME_PAGE}"
    CreateShortcut "$DESKTOP\Nimbo!.lnk" "$INSTDIR\Nimbo.exe" "" "$INSTDIR\Nimbo.exe" 0
    CreateDirectory "$QUICKLAUNCH"
    CreateShortcut "$QUICKLAUNCH\Nimbo!.lnk" "$INSTDIR\Nimbo.exe" "" "$INSTDIR\Nimbo.exe" 0
    CreateDirectory "$SMSTARTUP"
    CreateShortcut "$SMSTARTUP\Nimbo!.lnk" "$INSTDIR\Nimbo.exe" "" "$INSTDIR\Nimbo.exe" 0
SectionEnd
