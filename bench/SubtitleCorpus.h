#pragma once
// Generated SRT-like subtitle texts for benchmarks. The same seed gives the same texts on
// every machine and library (the generator uses no standard distribution, whose output the
// standard leaves to each library), so figures from different runs compare the same work.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace QuillBench {

enum class CorpusKind {
  kOrdinary,      // one or two lines, about 69 characters, plain text
  kMarkupHeavy,   // as ordinary, with italic, bold, colours and size steps in most events
  kLongWrapping,  // one paragraph of about 250 characters that the layout has to wrap
  kNonLatin,      // Cyrillic and Greek lines of ordinary length
  kBidi,          // Hebrew and Arabic lines with Latin names and numbers among the words
};

/// How many kinds there are, for benchmarks that run every one.
constexpr int kCorpusKinds = 5;

constexpr std::uint32_t kCorpusSeed = 20240613;

/// A short name for benchmark labels ("ordinary", "markup", "wrapping", "non-latin", "bidi").
const char* corpusName(CorpusKind kind);

/// `count` subtitle texts (UTF-8 with markup, lines joined by '\n') of `kind`.
std::vector<std::string> generateCorpus(CorpusKind kind, std::size_t count,
                                        std::uint32_t seed = kCorpusSeed);

/// When the events of an SRT file show, in milliseconds: the first at `firstStart`, one
/// every `spacing`, each for `duration`.
struct SrtPacing {
  unsigned long firstStart = 1000;
  unsigned long spacing = 3000;
  unsigned long duration = 2000;
};

/// `texts` as an SRT file, numbered from 1 and timed by `pacing`.
std::string srtDocument(const std::vector<std::string>& texts, const SrtPacing& pacing = SrtPacing());

}  // namespace QuillBench
