// quill_srt_corpus KIND COUNT: writes an SRT file of COUNT generated events of KIND
// ("ordinary", "markup", "wrapping" or "non-latin") to standard output, so that the
// command-line host can be measured over the same texts as the renderer benchmarks.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/SubtitleCorpus.h"

namespace {

constexpr QuillBench::CorpusKind kKinds[] = {
    QuillBench::CorpusKind::kOrdinary, QuillBench::CorpusKind::kMarkupHeavy,
    QuillBench::CorpusKind::kLongWrapping, QuillBench::CorpusKind::kNonLatin};
constexpr unsigned long kMaxCount = 1000000;

int usage() {
  std::fputs("usage: quill_srt_corpus ordinary|markup|wrapping|non-latin COUNT > FILE.srt\n",
             stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return usage();
  const std::string name = argv[1];
  const QuillBench::CorpusKind* kind = nullptr;
  for (const QuillBench::CorpusKind& candidate : kKinds)
    if (name == QuillBench::corpusName(candidate)) kind = &candidate;
  char* end = nullptr;
  const unsigned long count = std::strtoul(argv[2], &end, 10);
  if (!kind || *argv[2] == '\0' || *end != '\0' || count == 0 || count > kMaxCount) return usage();

  // Three seconds apart, two on screen: ordinary pacing, no overlaps.
  const std::string document = QuillBench::srtDocument(QuillBench::generateCorpus(*kind, count));
  std::fwrite(document.data(), 1, document.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
