# The library's tests in the Windows build, run under Wine. Windows looks
# for a DLL in the program's own folder first, so every program that needs
# the fake link layer is built into the fake's folder, where its pendra.dll
# comes before the real one; zelodll.dll is found on the path.
set_target_properties(fake_pendra PROPERTIES PREFIX ""
  RUNTIME_OUTPUT_DIRECTORY ${FAKE_PENDRA_DIR} ARCHIVE_OUTPUT_DIRECTORY ${FAKE_PENDRA_DIR})

function(zelo_windows_fake_link_test target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES} fake_pendra)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${FAKE_PENDRA_DIR})
  add_test(NAME ${target} COMMAND ${target})
endfunction()

zelo_windows_fake_link_test(zelodll_tests
  SOURCES commands_test.cpp download_test.cpp escaped_form_test.cpp link_setup_test.cpp
          local_file_error_test.cpp modem_test.cpp queries_test.cpp upload_test.cpp
  LIBRARIES zelodll_static zelo_test_support GTest::gtest_main)
zelo_windows_fake_link_test(zelodll_thread_tests
  SOURCES modem_stop_thread_test.cpp stop_flag_thread_test.cpp transfer_stop_thread_test.cpp
  LIBRARIES zelodll_static zelo_test_support GTest::gtest_main)
zelo_windows_fake_link_test(c_api_test SOURCES c_api_test.c LIBRARIES zelodll)

# The program binds the library by ordinal: every ordinal of zelodll.def
# must reach the function of its name in the loaded DLL.
file(STRINGS ${PROJECT_SOURCE_DIR}/zelodll/exports/zelodll.def ZELODLL_DEF_LINES
     REGEX "^[ \t]+[A-Za-z_0-9]+(=[A-Za-z_0-9]+)?[ \t]+@[0-9]+")
set(ORDINAL_ROWS "")
foreach(line IN LISTS ZELODLL_DEF_LINES)
  string(REGEX MATCH "^[ \t]+([A-Za-z_0-9]+)(=[A-Za-z_0-9]+)?[ \t]+@([0-9]+)" _ "${line}")
  string(APPEND ORDINAL_ROWS "    {${CMAKE_MATCH_3}, \"${CMAKE_MATCH_1}\"},\n")
endforeach()
set(ORDINAL_TABLE ${CMAKE_CURRENT_BINARY_DIR}/ordinal_table.h)
file(CONFIGURE OUTPUT ${ORDINAL_TABLE} CONTENT
  "/* Made from zelodll.def by the build. */\nstatic const struct OrdinalRow { unsigned short ordinal; const char *name; } kOrdinals[] = {\n${ORDINAL_ROWS}};\n")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/zelodll/exports/zelodll.def)
zelo_windows_fake_link_test(ordinal_binding_test SOURCES ordinal_binding_test.c)
target_include_directories(ordinal_binding_test PRIVATE ${CMAKE_CURRENT_BINARY_DIR}
                                                        ${PROJECT_SOURCE_DIR}/zelodll/include)
add_dependencies(ordinal_binding_test zelodll)
