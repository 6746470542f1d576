#pragma once
// A broken expectation inside a fuzz target must stop the run the way a crash does, so
// that libFuzzer keeps the input and the replay test fails.
#include <cstdio>
#include <cstdlib>

namespace QuillFuzz {

/// Aborts with `what` on stderr unless `holds`.
inline void require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "fuzz expectation broken: %s\n", what);
  std::abort();
}

}  // namespace QuillFuzz
