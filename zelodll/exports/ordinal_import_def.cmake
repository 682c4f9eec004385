# Writes the .def from which the program's import library for zelodll.dll is
# made: every export of zelodll.def under its fixed ordinal, NONAME, so that
# the program binds each function by ordinal as the export table promises.
# The names carry the symbol decoration the compiler gives them (32-bit
# stdcall "name@bytes"), read from the library's objects, so that callers
# compiled against zelodll.h find them.
# Usage: cmake -DNM=<nm> -DDEF=<zelodll.def> -DOUT=<file> -DOBJECTS=<a|b|...> -P ordinal_import_def.cmake
string(REPLACE "|" ";" OBJECTS "${OBJECTS}")
execute_process(COMMAND ${NM} --defined-only ${OBJECTS} OUTPUT_VARIABLE symbols
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${NM} failed on the library's objects")
endif()
file(STRINGS ${DEF} lines REGEX "^[ \t]+[A-Za-z_0-9]+(=[A-Za-z_0-9]+)?[ \t]+@[0-9]+")
set(text "; Made by the build from zelodll.def: the program binds by ordinal.\nLIBRARY \"zelodll.dll\"\nEXPORTS\n")
foreach(line IN LISTS lines)
  string(REGEX MATCH "^[ \t]+([A-Za-z_0-9]+)(=([A-Za-z_0-9]+))?[ \t]+@([0-9]+)" _ "${line}")
  set(name ${CMAKE_MATCH_1})
  set(body ${CMAKE_MATCH_1})
  if(CMAKE_MATCH_3)
    set(body ${CMAKE_MATCH_3})
  endif()
  set(ordinal ${CMAKE_MATCH_4})
  # "_name@12" (32-bit stdcall) or "name" (64-bit): keep the "@bytes" part.
  string(REGEX MATCH "[ \t]T _?${body}(@[0-9]+)?\n" found "${symbols}")
  if(NOT found)
    message(FATAL_ERROR "no symbol for ${body} in the library's objects")
  endif()
  string(APPEND text "    ${name}${CMAKE_MATCH_1} @${ordinal} NONAME\n")
endforeach()
file(WRITE ${OUT} "${text}")
