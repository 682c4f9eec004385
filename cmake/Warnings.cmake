# Warnings for every target of the project; ZELO_WERROR turns them into
# errors (CI sets it).
option(ZELO_WERROR "Treat warnings as errors" OFF)

if(MSVC)
  add_compile_options(/W4)
  if(ZELO_WERROR)
    add_compile_options(/WX)
  endif()
else()
  add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
  # GCC 12 at -O2 and above warns falsely (-Wrestrict) inside libstdc++ on
  # "text" + std::string (GCC bug 105329); debug builds keep the warning.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
     AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    add_compile_options($<$<AND:$<COMPILE_LANGUAGE:CXX>,$<NOT:$<CONFIG:Debug>>>:-Wno-restrict>)
  endif()
  if(ZELO_WERROR)
    add_compile_options(-Werror)
  endif()
endif()
