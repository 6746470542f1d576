#pragma once
// Runs the built quill-render the way a user's shell would, with its face cache kept in
// a private folder so that tests neither read nor change the user's.
#include <string>
#include <vector>

#include "tools/JsonReader.h"
#include "TempFolder.h"
#include "tools/RgbaImage.h"

namespace QuillRender {

struct RunResult {
  int exitCode = -1;  ///< the program's status; -1 when it did not exit normally (a crash)
  std::string out;    ///< standard output
  std::string err;    ///< standard error
};

/// Runs quill-render with `arguments`; `folder` holds the data folder and the captured
/// streams. QUILL_FONTS_DIR is removed from its environment, so the defaults apply.
RunResult runQuillRender(const std::vector<std::string>& arguments, const TempFolder& folder);

/// The manifest in `outDir`; a null value (and a test failure) when it is missing or bad.
Json readManifest(const std::string& outDir);

/// The PNG at `path` (a test failure and an empty image when it cannot be read).
RgbaImage loadPng(const std::string& path);

}  // namespace QuillRender
