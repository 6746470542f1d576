// A small driver for profilers, which count the instructions one event costs the whole
// component where the benchmark's timings move with the machine's load:
//   valgrind --tool=callgrind --collect-atstart=no --toggle-collect="*measuredEvent*"
//     quill_component_profile ordinary 30 warm [full]
// Only measuredEvent is counted: one delivery to the component, through to downstream.
// "warm" renders the events once before the counted pass; "cold" empties the caches
// (uncounted) before each counted event. "full" lays out with the full layout.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/SubtitleCorpus.h"
#include "bench/component/ComponentRig.h"

namespace {

__attribute__((noinline)) bool measuredEvent(QuillBench::ComponentRig& rig,
                                             Orb::MediaBuffer& sample) {
  return rig.deliver(sample);
}

bool corpusNamed(const char* name, QuillBench::CorpusKind& kind) {
  for (int index = 0; index < QuillBench::kCorpusKinds; ++index) {
    const auto candidate = static_cast<QuillBench::CorpusKind>(index);
    if (std::strcmp(name, QuillBench::corpusName(candidate)) != 0) continue;
    kind = candidate;
    return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  QuillBench::CorpusKind kind{};
  const int count = argc > 2 ? std::atoi(argv[2]) : 0;
  const bool cold = argc > 3 && std::strcmp(argv[3], "cold") == 0;
  const bool full = argc > 4 && std::strcmp(argv[4], "full") == 0;
  if (argc < 4 || argc > 5 || !corpusNamed(argv[1], kind) || count <= 0 ||
      (!cold && std::strcmp(argv[3], "warm") != 0) ||
      (argc == 5 && !full && std::strcmp(argv[4], "classic") != 0)) {
    std::fprintf(stderr,
                 "usage: %s ordinary|markup|wrapping|non-latin|bidi EVENTS warm|cold [classic|full]\n",
                 argv[0]);
    return 2;
  }
  const auto events = QuillBench::textSamples(
      QuillBench::generateCorpus(kind, static_cast<std::size_t>(count)));
  QuillBench::RigSettings settings;
  settings.layout = full ? "full" : "classic";
  QuillBench::ComponentRig rig(settings);
  if (!rig.ready()) {
    std::fprintf(stderr, "%s\n", rig.error().c_str());
    return 1;
  }
  if (!cold) {
    for (const auto& event : events) rig.deliver(*event);
  }
  int delivered = 0;
  for (const auto& event : events) {
    if (cold) rig.emptyCaches();
    delivered += measuredEvent(rig, *event) ? 1 : 0;
  }
  std::printf("%d of %d events delivered\n", delivered, count);
  return delivered == count ? 0 : 1;
}
