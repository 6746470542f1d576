// quill-render: renders subtitle files to images through the Quill subtitle component.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/ExitStatus.h"
#include "tools/Options.h"
#include "tools/RenderRun.h"

int main(int argc, char** argv) {
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
