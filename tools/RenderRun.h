#pragma once
// One run of quill-render from parsed options to the manifest: read the subtitles,
// prepare the output folder, start the component, render every event, write the images
// and, last, the manifest. Diagnostics go to standard error, each one line starting with
// the program name; the summary goes to standard output.
#include <string>

#include "tools/Options.h"

namespace QuillRender {

/// Runs with `options` and answers the exit status (ExitStatus.h).
int runRender(const RenderOptions& options, const std::string& program);

}  // namespace QuillRender
