# VORTANA_SANITIZE: "address" (AddressSanitizer + UndefinedBehaviorSanitizer) or "thread"
# (ThreadSanitizer). Each goes to a build folder of its own (./test --asan, ./test --tsan).
set(VORTANA_SANITIZE "" CACHE STRING "address, thread or empty")

if(VORTANA_SANITIZE STREQUAL "address")
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
    # GCC's maybe-uninitialized analysis sees through the sanitizers' checks into std::regex and
    # std::function and warns of what cannot happen; the plain build keeps the warning.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        add_compile_options(-Wno-maybe-uninitialized)
    endif()
elseif(VORTANA_SANITIZE STREQUAL "thread")
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
elseif(NOT VORTANA_SANITIZE STREQUAL "")
    message(FATAL_ERROR "VORTANA_SANITIZE must be address, thread or empty")
endif()

# VORTANA_FUZZ (clang only): builds the libFuzzer targets of fuzz/ and gives every object
# libFuzzer's coverage instrumentation, so a target sees the branches of the libraries it drives,
# not only those of its own file. Comparison tracing is left out: its hooks in the string and
# table loops more than halve the executions per second and found no more; the targets'
# dictionaries give the parsers their keywords instead. Meant for a build folder of its own
# (./test uses build-fuzz/).
option(VORTANA_FUZZ "build the libFuzzer targets (clang only)" OFF)
if(VORTANA_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "VORTANA_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++)")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link -fno-sanitize-coverage=trace-cmp)
endif()
