# The program's parts (link, core, program, dialogs, headless) include each
# other's headers as "part/header.hpp". Each part gets an include root of its
# own in the build tree that holds only its folder, and publishes just that,
# so a part sees the headers of the parts it links and no others: an include
# against the arrows fails to compile.
#
# zelo_app_part(<target> <part>): <target> publishes app/<part>/ as <part>/.
function(zelo_app_part target part)
  set(root ${CMAKE_BINARY_DIR}/app_include/${part})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/app/${part} ${root}/${part} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# zelo_app_wrong_arrow(<name> <part target> <header>): a test that compiles a
# file including <header> against <part target> alone, and passes only when
# the compiler cannot find the header.
function(zelo_app_wrong_arrow name part_target header)
  set(target zelo_app_wrong_arrow_${name})
  add_library(${target} OBJECT EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/app/arrows/wrong_arrow.cpp)
  target_link_libraries(${target} PRIVATE ${part_target})
  target_compile_definitions(${target} PRIVATE "WRONG_HEADER=\"${header}\"")
  add_test(NAME app_arrow_${name}
           COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target ${target})
  string(REPLACE "." "\\." pattern "${header}")
  set_tests_properties(app_arrow_${name} PROPERTIES
    PASS_REGULAR_EXPRESSION "${pattern}: No such file"
    # One build of the tree at a time.
    RESOURCE_LOCK build_tree)
endfunction()
