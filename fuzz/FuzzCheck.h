// What a fuzz target does when one of its checks fails: it says which check and aborts, so that
// libFuzzer keeps the input as a finding (NAME-crash-... in the build folder).
#pragma once

#include <cstdio>
#include <cstdlib>

namespace vortana::fuzz {

inline void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

}  // namespace vortana::fuzz
