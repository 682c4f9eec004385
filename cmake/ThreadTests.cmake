# The target `thread_tests` builds the programs of every test labelled
# "thread" and nothing else, so that the ThreadSanitizer build of the CI
# compiles only what it runs (cmake --build DIR --target thread_tests, then
# ctest -L thread). A test joins it by its label alone:
#   - gtest_discover_tests(<target> PROPERTIES LABELS ... thread ...) adds
#     <target> (the GoogleTest module's command is wrapped below);
#   - the project's own test helpers call zelo_label_test_program().
# A plain add_test() labelled "thread" outside those helpers is not seen
# here; its program is then missing in the ThreadSanitizer build and ctest
# fails it as not run, so the omission cannot pass unnoticed.
# Include after include(GoogleTest).

add_custom_target(thread_tests)

# zelo_label_test_program(<target> <labels>): <target> is the program of a
# test with <labels>; it joins thread_tests when they hold "thread".
function(zelo_label_test_program target labels)
  if("thread" IN_LIST labels)
    add_dependencies(thread_tests ${target})
  endif()
endfunction()

# The module's command, unchanged, after noting the labels its PROPERTIES
# give; the original stays callable as _gtest_discover_tests. The arguments
# are passed on as the original would read them itself (flattened lists).
if(COMMAND gtest_discover_tests AND NOT COMMAND _zelo_thread_tests_wrapped)
  function(_zelo_thread_tests_wrapped)
  endfunction()
  function(gtest_discover_tests target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "PROPERTIES")
    set(properties "${arg_PROPERTIES}")
    list(LENGTH properties count)
    set(index 0)
    while(index LESS count)
      list(GET properties ${index} name)
      math(EXPR index "${index} + 1")
      if(index LESS count)
        list(GET properties ${index} value)
        math(EXPR index "${index} + 1")
        if(name STREQUAL "LABELS")
          # One argument may hold several labels ("gui;thread").
          string(REPLACE "\\;" ";" value "${value}")
          zelo_label_test_program(${target} "${value}")
        endif()
      endif()
    endwhile()
    _gtest_discover_tests(${ARGV})
  endfunction()
endif()
