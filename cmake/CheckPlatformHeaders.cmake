# Fails the build when a file whose name does not end in _win includes a Windows header,
# so every such file keeps building with the native compiler.
file(GLOB_RECURSE candidates
    ${SOURCE_DIR}/base/*.cpp ${SOURCE_DIR}/base/*.h
    ${SOURCE_DIR}/widget/*.cpp ${SOURCE_DIR}/widget/*.h
    ${SOURCE_DIR}/uninstaller/*.cpp ${SOURCE_DIR}/uninstaller/*.h
    ${SOURCE_DIR}/tests/*.cpp ${SOURCE_DIR}/tests/*.h
    ${SOURCE_DIR}/bench/*.cpp ${SOURCE_DIR}/bench/*.h)
set(pattern "#[ \t]*include[ \t]*[<\"](windows|winuser|winbase|wingdi|wininet|gdiplus|shlobj|shellapi|objbase|ole2|oleauto|commctrl|psapi|shlwapi|winreg|tlhelp32)\\.h[>\"]")
set(offenders "")
foreach(f IN LISTS candidates)
    if(f MATCHES "_win(_test)?\\.(cpp|h)$")
        continue()
    endif()
    file(STRINGS ${f} hits REGEX "${pattern}")
    if(hits)
        file(RELATIVE_PATH rel ${SOURCE_DIR} ${f})
        list(APPEND offenders ${rel})
    endif()
endforeach()
if(offenders)
    list(JOIN offenders "\n  " text)
    message(FATAL_ERROR "Only files ending in _win may include Windows headers:\n  ${text}")
endif()
