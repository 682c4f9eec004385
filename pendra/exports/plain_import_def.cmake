# Writes the .def from which zelodll's import library for pendra.dll is made.
# pendra.dll exports plain names ("Pendra_ACK"); the callers' objects ask for
# the 32-bit stdcall symbols ("_Pendra_ACK@8"). The linker's own .def of the
# DLL ("Pendra_ACK = Pendra_ACK@8 @1") gives both; each line here keeps the
# decorated symbol, and dlltool --kill-at imports it by the plain name.
# Usage: cmake -DIN=<the linker's --output-def> -DOUT=<file> -P plain_import_def.cmake
file(STRINGS ${IN} lines REGEX "^[ \t]+[A-Za-z_0-9]+")
set(text "; Made by the build from pendra.dll's exports: bound by plain name.\nLIBRARY \"pendra.dll\"\nEXPORTS\n")
foreach(line IN LISTS lines)
  # "Name = Name@8 @1" on 32-bit, "Name @1" where nothing is decorated.
  if(line MATCHES "^[ \t]+([A-Za-z_0-9]+)[ \t]*=[ \t]*([A-Za-z_0-9]+@[0-9]+)")
    string(APPEND text "    ${CMAKE_MATCH_2}\n")
  elseif(line MATCHES "^[ \t]+([A-Za-z_0-9]+)")
    string(APPEND text "    ${CMAKE_MATCH_1}\n")
  endif()
endforeach()
file(WRITE ${OUT} "${text}")
