# VORTANA_SANITIZE: "address" (AddressSanitizer + UndefinedBehaviorSanitizer) or "thread"
# (ThreadSanitizer). Each goes to a build folder of its own (./test --asan, ./test --tsan).
set(VORTANA_SANITIZE "" CACHE STRING "address, thread or empty")

if(VORTANA_SANITIZE STREQUAL "address")
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
elseif(VORTANA_SANITIZE STREQUAL "thread")
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
elseif(NOT VORTANA_SANITIZE STREQUAL "")
    message(FATAL_ERROR "VORTANA_SANITIZE must be address, thread or empty")
endif()
