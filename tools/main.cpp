// quill-render: renders subtitle files to images through the Quill subtitle component.
#include <malloc.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tools/ExitStatus.h"
#include "tools/Options.h"
#include "tools/RenderRun.h"

namespace {

// Output blocks of a few hundred kilobytes to a few megabytes come and go as the canvas
// changes size. By default the C library maps each such block from the kernel and hands
// it back when freed, so every new one is paid again in page faults (a tenth of a
// --discard run); kept in the heap, a later block reuses pages already touched. The
// recycling allocator bounds how many blocks live at once, so memory stays bounded.
void keepFreedBlocksInTheHeap() {
  constexpr int kMappedFrom = 32 << 20;  // the largest threshold the C library accepts
  constexpr int kTrimmedFrom = 64 << 20;
  mallopt(M_MMAP_THRESHOLD, kMappedFrom);
  mallopt(M_TRIM_THRESHOLD, kTrimmedFrom);
}

}  // namespace

int main(int argc, char** argv) {
  keepFreedBlocksInTheHeap();
  const std::string program = "quill-render";
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const QuillRender::ParsedOptions parsed = QuillRender::parseOptions(arguments);
  if (!parsed.ok) {
    std::fprintf(stderr, "%s: %s\n", program.c_str(), parsed.error.c_str());
    return QuillRender::kExitUsage;
  }
  if (parsed.options.help) {
    std::fputs(QuillRender::usageText(program).c_str(), stdout);
    return QuillRender::kExitSuccess;
  }
  return QuillRender::runRender(parsed.options, program);
}
