// What every fuzz target does when an output breaks its promise: print why
// and abort, so libFuzzer keeps the input as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace tessary::fuzz {

[[noreturn]] inline void fail(std::string_view why, std::string_view detail = {}) {
  std::fprintf(stderr, "fuzz check failed: %.*s\n%.*s\n", static_cast<int>(why.size()), why.data(),
               static_cast<int>(detail.size() > 2000 ? 2000 : detail.size()), detail.data());
  std::abort();
}

inline void check(bool holds, std::string_view why, std::string_view detail = {}) {
  if (!holds) fail(why, detail);
}

}  // namespace tessary::fuzz
