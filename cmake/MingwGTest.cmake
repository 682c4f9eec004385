# GoogleTest for the Windows cross-build: Debian packages it for the host
# only, but ships its sources, which build with the MinGW compiler.
set(ZELO_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for the cross-build")
if(NOT EXISTS ${ZELO_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found in ${ZELO_GTEST_SOURCE} (libgtest-dev)")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${ZELO_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# Third-party code: built without the project's warnings-as-errors.
foreach(target gtest gtest_main)
  set_target_properties(${target} PROPERTIES COMPILE_OPTIONS "")
endforeach()
