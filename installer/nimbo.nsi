; Nimbo! setup: installs exactly the files Uninstall.exe removes, its registry keys and its shortcuts.
; makensis -DARCH=amd64|x86 -DSTAGE=<folder with the 112 files> -DICON=<nimbo.ico> -DPLUGINS=<folder of
;          NimboSetup.dll> -DOUTFILE=<Setup.exe> nimbo.nsi
; Options: /S silent; /SERVER=http://host:port the data service written into Options.ini [Servers] (without it
; the amd64 setup chooses direct mode, Weather=direct; anything but an http:// or https:// address ends the setup
; with exit code 2 before it writes anything); /D=folder.
Unicode true
; The name "Setup.exe" is what users expect; Windows treating it as an installer is right.
!pragma warning disable 9000
!if "${ARCH}" == "amd64"
    Target amd64-unicode
!else
    Target x86-unicode
!endif

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "TextFunc.nsh"
; NimboSetup.dll (installer/setup_plugin_main_win.cpp) of the setup's own bitness.
!addplugindir /${ARCH}-unicode "${PLUGINS}"

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
; The setup runs elevated; the widget it offers to start must not: the desktop shell starts it as the user.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartWidgetAsUser
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}/License.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_LANGUAGE "Turkish"

Var ServerBase

Function .onInit
!if "${ARCH}" == "amd64"
    SetRegView 64
!endif
    ; /SERVER= is checked before anything is written: a wrong address ends the setup, silent or not, with a word.
    NimboSetup::ServerOption
    Pop $0
    Pop $ServerBase
    ${If} $0 == "bad"
        MessageBox MB_OK|MB_ICONSTOP "/SERVER= ile verilen sunucu adresi kullanılamaz. Adres http:// ya da https:// \
            ile başlamalı, örneğin:$\r$\n/SERVER=http://sunucu:8640$\r$\n$\r$\nKurulum hiçbir şey yazmadan sona erdi."
        SetErrorLevel 2
        Quit
    ${EndIf}
FunctionEnd

Function StartWidgetAsUser
    NimboSetup::StartAsUser "$INSTDIR\Nimbo.exe"
    Pop $0
    ${If} $0 != "ok"
        MessageBox MB_OK|MB_ICONINFORMATION "Nimbo! şimdi başlatılamadı. Başlat menüsündeki Nimbo! kısayoluyla \
            açabilirsiniz." /SD IDOK
    ${EndIf}
FunctionEnd

; The widget of this folder holds its files while it runs: it is asked to close, and ended when it no longer answers,
; 20 s at most; the files are copied only once its process has ended. The installed Nimbo.exe is not started: with
; no widget running, an old one's "-exit" would start one, elevated.
Function CloseRunningWidget
    NimboSetup::CloseWidget "$INSTDIR\Nimbo.exe"
    Pop $0
    ${If} $0 != "ok"
        DetailPrint "Nimbo! kapatılamadı; dosyaları değiştirilemeyebilir."
    ${EndIf}
FunctionEnd

; A folder outside Program Files gets permissions of its own before anything is copied into it: administrators and
; the system change it, users only read and run (Uninstall.exe runs elevated). One holding files of something else
; is refused: their permissions are not the setup's to change.
Function PrepareFolder
    NimboSetup::PrepareFolder "$INSTDIR"
    Pop $0
    ${If} $0 == "refused"
        MessageBox MB_OK|MB_ICONSTOP "Nimbo!, içinde başka dosyalar bulunan bir klasöre kurulamaz:$\r$\n$INSTDIR$\r$\n\
            Lütfen yeni ya da boş bir klasör seçin."
        SetErrorLevel 3
        Quit
    ${ElseIf} $0 == "failed"
        MessageBox MB_OK|MB_ICONSTOP "Kurulum klasörünün izinleri ayarlanamadı:$\r$\n$INSTDIR$\r$\n\
            Lütfen başka bir klasör seçin."
        SetErrorLevel 3
        Quit
    ${EndIf}
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
    Call PrepareFolder
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
    ; The installed Options.ini holds the machine's defaults and servers, which users only read. An earlier setup
    ; granted every user write on it: that grant goes, the file keeps what its folder hands down.
    NimboSetup::InheritPermissions "$INSTDIR\Options.ini"
    Pop $0
    File /r "${STAGE}/Contents"

    ${If} $ServerBase != ""
        WriteINIStr "$INSTDIR\Options.ini" "Servers" "Weather" "$ServerBase"
        WriteINIStr "$INSTDIR\Options.ini" "Servers" "Search" "$ServerBase"
        WriteINIStr "$INSTDIR\Options.ini" "Servers" "Web" "$ServerBase"
        WriteINIStr "$INSTDIR\Options.ini" "Servers" "Address" "$ServerBase"
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
