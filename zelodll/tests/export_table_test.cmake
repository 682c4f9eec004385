cmake_minimum_required(VERSION 3.21)
# Checks the export tables against each other and against the built library:
#  - zelodll.def lists 80 names with unique fixed ordinals within 1..85, and
#    the additions (HM_last_error_text at 100, HM_last_file_error_text at
#    101, HM_poll_number at 102, HM_poll_stored at 103, the group download
#    at 104 to 107) outside that range;
#  - the Linux version script and the header name exactly those;
#  - the shared library exports exactly those names and nothing else, and the
#    names that share a body in the .def share one address;
#  - the library depends on libpendra by name.
# Run with -DLIBRARY= -DDEF_FILE= -DMAP_FILE= -DHEADER=.

function(fail message)
  message(FATAL_ERROR "export table: ${message}")
endfunction()

file(STRINGS "${DEF_FILE}" def_lines REGEX "^[ \t]+[A-Za-z_]")
set(def_names "")
set(def_ordinals "")
set(shared_pairs "")
foreach(line IN LISTS def_lines)
  if(NOT line MATCHES "^[ \t]+([A-Za-z_0-9]+)(=([A-Za-z_0-9]+))?[ \t]+@([0-9]+)[ \t]*$")
    fail("cannot read .def line '${line}'")
  endif()
  list(APPEND def_names "${CMAKE_MATCH_1}")
  list(APPEND def_ordinals "${CMAKE_MATCH_4}")
  if(CMAKE_MATCH_3)
    list(APPEND shared_pairs "${CMAKE_MATCH_1}:${CMAKE_MATCH_3}")
  endif()
endforeach()

# The additions beyond the fixed table: name and ordinal, deliberately listed.
set(additions "HM_last_error_text:100" "HM_last_file_error_text:101" "HM_poll_number:102"
    "HM_poll_stored:103" "HM_download_group1:104" "HM_download_group2:105"
    "HM_download_group_member:106" "HM_download_group_resume:107")
set(fixed_count 0)
foreach(name ordinal IN ZIP_LISTS def_names def_ordinals)
  if(ordinal LESS_EQUAL 85)
    math(EXPR fixed_count "${fixed_count} + 1")
  elseif(NOT "${name}:${ordinal}" IN_LIST additions)
    fail("${name} @${ordinal} is outside 1..85 and not a listed addition")
  endif()
endforeach()
list(LENGTH additions addition_count)
math(EXPR expected_count "80 + ${addition_count}")
list(LENGTH def_names count)
if(NOT fixed_count EQUAL 80 OR NOT count EQUAL expected_count)
  fail(".def lists ${fixed_count} fixed names and ${count} in all, not 80 and ${expected_count}")
endif()
set(unique ${def_names})
list(REMOVE_DUPLICATES unique)
list(LENGTH unique unique_count)
set(unique_ordinals ${def_ordinals})
list(REMOVE_DUPLICATES unique_ordinals)
list(LENGTH unique_ordinals ordinal_count)
if(NOT unique_count EQUAL count OR NOT ordinal_count EQUAL count)
  fail("names or ordinals repeat in the .def")
endif()
foreach(missing 36 56 57 58 59)
  if(missing IN_LIST def_ordinals)
    fail("ordinal ${missing} must stay unassigned")
  endif()
endforeach()
list(SORT def_names)

# The version script.
file(STRINGS "${MAP_FILE}" map_lines REGEX "^[ \t]+[A-Za-z_][A-Za-z_0-9]*;")
set(map_names "")
foreach(line IN LISTS map_lines)
  string(REGEX REPLACE "[ \t;]" "" name "${line}")
  list(APPEND map_names "${name}")
endforeach()
list(SORT map_names)
if(NOT map_names STREQUAL def_names)
  fail("zelodll.map and zelodll.def name different functions")
endif()

# The header.
file(READ "${HEADER}" header)
foreach(name IN LISTS def_names)
  if(NOT header MATCHES "ZELO_API ${name}\\(")
    fail("zelodll.h does not declare ${name}")
  endif()
endforeach()

# The built library.
execute_process(COMMAND nm -D --defined-only --format=posix "${LIBRARY}"
                OUTPUT_VARIABLE nm_out RESULT_VARIABLE nm_result)
if(NOT nm_result EQUAL 0)
  fail("nm failed on ${LIBRARY}")
endif()
string(REPLACE "\n" ";" nm_lines "${nm_out}")
set(exported "")
foreach(line IN LISTS nm_lines)
  if(line MATCHES "^([^ ]+) ([A-Za-z]) ([0-9a-fA-F]+)")
    list(APPEND exported "${CMAKE_MATCH_1}")
    set(address_${CMAKE_MATCH_1} "${CMAKE_MATCH_3}")
  endif()
endforeach()
list(SORT exported)
if(NOT exported STREQUAL def_names)
  set(extra ${exported})
  list(REMOVE_ITEM extra ${def_names})
  set(absent ${def_names})
  list(REMOVE_ITEM absent ${exported})
  fail("the library exports other names than the table; extra: '${extra}' missing: '${absent}'")
endif()
foreach(pair IN LISTS shared_pairs)
  string(REPLACE ":" ";" pair "${pair}")
  list(GET pair 0 alias)
  list(GET pair 1 body)
  if(NOT address_${alias} STREQUAL address_${body})
    fail("${alias} is not the same function as ${body}")
  endif()
endforeach()

execute_process(COMMAND readelf -d "${LIBRARY}" OUTPUT_VARIABLE dynamic)
if(NOT dynamic MATCHES "NEEDED[^\n]*\\[libpendra\\.so")
  fail("the library does not depend on libpendra by name")
endif()

message(STATUS "export table: 80 fixed names and ${addition_count} addition(s), library matches")
