# ZELO_SANITIZE selects a sanitizer build:
#   address  AddressSanitizer with UndefinedBehaviorSanitizer (every test)
#   thread   ThreadSanitizer (the tests labelled "thread")
set(ZELO_SANITIZE "" CACHE STRING "Sanitizer build: address or thread")

if(ZELO_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
elseif(ZELO_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT ZELO_SANITIZE STREQUAL "")
  message(FATAL_ERROR "ZELO_SANITIZE must be empty, address or thread")
endif()
