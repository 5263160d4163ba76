// Stops the fuzzer on a broken property, so libFuzzer keeps the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace qdax_fuzz {

inline void Check(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

}  // namespace qdax_fuzz
