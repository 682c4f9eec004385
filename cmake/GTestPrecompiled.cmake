# GoogleTest's header costs about as much to compile as a test file's own
# code, and every test file includes it. zelo_precompile_gtest() gives each
# test program that links GoogleTest and compiles at least
# ZELO_GTEST_PCH_MIN_FILES C++ files a precompiled <gtest/gtest.h> of its own
# (with the program's own flags, so it is always usable); programs of fewer
# files would spend more on the precompiling than they save. Debug builds
# only: in an optimised build GCC 12 reports its false -Wstringop-overflow
# inside libstdc++'s std::string when the header comes precompiled (the
# warning is not recognised as a system header's), which warnings as errors
# would turn into a failed build. Call it once, after every test program is
# declared. ZELO_GTEST_PCH=OFF turns it off.
option(ZELO_GTEST_PCH "Precompile <gtest/gtest.h> for the larger test programs" ON)
set(ZELO_GTEST_PCH_MIN_FILES 3)

function(_zelo_targets_below dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    _zelo_targets_below(${subdir} below)
    list(APPEND targets ${below})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

function(zelo_precompile_gtest)
  if(NOT ZELO_GTEST_PCH)
    return()
  endif()
  _zelo_targets_below(${PROJECT_SOURCE_DIR} targets)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT type STREQUAL "EXECUTABLE")
      continue()
    endif()
    get_target_property(libraries ${target} LINK_LIBRARIES)
    if(NOT libraries OR NOT ("GTest::gtest_main" IN_LIST libraries
                             OR "GTest::gtest" IN_LIST libraries))
      continue()
    endif()
    get_target_property(sources ${target} SOURCES)
    list(FILTER sources INCLUDE REGEX "\\.cpp$")
    list(LENGTH sources files)
    if(files GREATER_EQUAL ZELO_GTEST_PCH_MIN_FILES)
      target_precompile_headers(${target} PRIVATE
        "$<$<AND:$<COMPILE_LANGUAGE:CXX>,$<CONFIG:Debug>>:<gtest/gtest.h$<ANGLE-R>>")
    endif()
  endforeach()
endfunction()
