# QUILL_SANITIZER selects a sanitizer build: "address" (with leak and undefined-behaviour
# checks) or "thread". Presets set it; a plain configure leaves it empty.
set(QUILL_SANITIZER "" CACHE STRING "Sanitizer to build with: address, thread or empty")

if(QUILL_SANITIZER STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
elseif(QUILL_SANITIZER STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT QUILL_SANITIZER STREQUAL "")
  message(FATAL_ERROR "Unknown QUILL_SANITIZER '${QUILL_SANITIZER}'")
endif()
