# The programs built on vnt_win32 (the setup, the uninstaller, the Windows tests) import
# nothing but kernel32 and the C runtime at load time. Every other system library is loaded
# on its first call, after the program entry has limited the library search to the system
# folder: loaded by the loader, user32 and its friends would in turn load further libraries
# (uxtheme, version, imm32) by the plain search, from beside a program run in a downloads
# folder, before any code of ours runs.
# tests/checks/load_imports_test.sh checks the programs' load-time imports.
set(VNT_DELAY_LOADED user32 gdi32 comctl32 comdlg32 ole32 oleaut32 shell32 shlwapi advapi32 ws2_32 winhttp)

set(VNT_DELAY_DIR ${CMAKE_BINARY_DIR}/delayload)
file(MAKE_DIRECTORY ${VNT_DELAY_DIR})
if(NOT CMAKE_DLLTOOL OR NOT CMAKE_OBJCOPY OR NOT CMAKE_NM)
  message(FATAL_ERROR "The delay-load import libraries need the toolchain's dlltool, objcopy and nm")
endif()
set(delayLibs)
foreach(name ${VNT_DELAY_LOADED})
  find_library(VNT_IMPORT_LIB_${name} ${name} REQUIRED)
  set(lib ${VNT_DELAY_DIR}/lib${name}_delayed.a)
  add_custom_command(OUTPUT ${lib}
    COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DDLLTOOL=${CMAKE_DLLTOOL} -DOBJCOPY=${CMAKE_OBJCOPY}
            -DIMPORT_LIB=${VNT_IMPORT_LIB_${name}} -DOUTPUT=${lib} -P ${CMAKE_SOURCE_DIR}/cmake/MakeDelayLib.cmake
    DEPENDS ${VNT_IMPORT_LIB_${name}} ${CMAKE_SOURCE_DIR}/cmake/MakeDelayLib.cmake
    COMMENT "Delay-load import library for ${name}"
    VERBATIM)
  list(APPEND delayLibs ${lib})
endforeach()
add_custom_target(vnt_delaylibs DEPENDS ${delayLibs})
add_library(vnt_delayload INTERFACE)
target_link_libraries(vnt_delayload INTERFACE ${delayLibs})
add_dependencies(vnt_delayload vnt_delaylibs)
