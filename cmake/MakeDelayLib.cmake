# Makes a delay-load import library from MinGW's import library of a system DLL (cmake -P).
# In: NM, DLLTOOL, OBJCOPY, IMPORT_LIB, OUTPUT.
#
# A call through it loads the DLL on first use, with the library search that the program has
# set by then. Data exports are left out: they cannot be loaded late, and a program that uses
# one gets the ordinary import, which the import check then reports.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${DLLTOOL} --identify ${IMPORT_LIB} OUTPUT_VARIABLE dll
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
if(NOT dll MATCHES "^[A-Za-z0-9_]+\\.[A-Za-z]+$")
  message(FATAL_ERROR "${IMPORT_LIB} names not one DLL: ${dll}")
endif()
execute_process(COMMAND ${NM} ${IMPORT_LIB} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "[^\n]+" lines "${symbols}")
set(pointers)
set(stubs)
foreach(line IN LISTS lines)
  if(line MATCHES " I __imp__([^ ]+)$")
    list(APPEND pointers ${CMAKE_MATCH_1})
  elseif(line MATCHES " T _([^ ]+)$")
    list(APPEND stubs ${CMAKE_MATCH_1})
  endif()
endforeach()
list(REMOVE_DUPLICATES pointers)
set(def "LIBRARY \"${dll}\"\nEXPORTS\n")
set(stubNames)
foreach(name IN LISTS pointers)
  if(name IN_LIST stubs)
    string(APPEND def "${name}\n")
    string(APPEND stubNames "_${name}\n")
  endif()
endforeach()
get_filename_component(base ${OUTPUT} NAME_WE)
get_filename_component(folder ${OUTPUT} DIRECTORY)
file(WRITE ${folder}/${base}.def "${def}")
file(WRITE ${folder}/${base}.stubs "${stubNames}")
execute_process(COMMAND ${DLLTOOL} -d ${folder}/${base}.def -D ${dll} -y ${folder}/${base}.raw.a
                COMMAND_ERROR_IS_FATAL ANY)
# ld drops the call stub of an import whose global name nobody references, and a call through
# the import pointer then jumps to nothing; local names keep the stubs in.
execute_process(COMMAND ${OBJCOPY} -D --localize-symbols=${folder}/${base}.stubs ${folder}/${base}.raw.a ${OUTPUT}
                COMMAND_ERROR_IS_FATAL ANY)
