#pragma once
// What quill-render's exit status tells a script.

namespace QuillRender {

enum ExitStatus : int {
  kExitSuccess = 0,        ///< every event was read and rendered
  kExitFailure = 1,        ///< nothing usable was produced (no manifest is left behind)
  kExitUsage = 2,          ///< the command line was wrong; nothing was done
  kExitIncomplete = 3,     ///< finished, but blocks were skipped or events not rendered
};

}  // namespace QuillRender
