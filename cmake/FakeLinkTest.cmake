# zelo_add_fake_link_test(<target> SOURCES ... [LIBRARIES ...] [LABELS ...])
#
# A test program that runs the real terminal library with the scriptable fake
# link layer below it. The library's folder and the fake's both hold a
# libpendra.so, so the program carries no search path of its own and its
# test's library path puts the fake first. Listing its cases at build time
# would run it without that path, so each program is one test.
function(zelo_add_fake_link_test target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES;LABELS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES} zelodll fake_pendra)
  set_target_properties(${target} PROPERTIES SKIP_BUILD_RPATH ON)
  add_test(NAME ${target} COMMAND ${target})
  set_tests_properties(${target} PROPERTIES ENVIRONMENT
    "LD_LIBRARY_PATH=$<TARGET_FILE_DIR:fake_pendra>:$<TARGET_FILE_DIR:zelodll>")
  if(ARG_LABELS)
    set_tests_properties(${target} PROPERTIES LABELS "${ARG_LABELS}")
    zelo_label_test_program(${target} "${ARG_LABELS}")
  endif()
endfunction()
