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
  if(ZELO_WERROR)
    add_compile_options(-Werror)
  endif()
endif()
