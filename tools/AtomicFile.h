#pragma once
// Writing a file so that readers see either the old file or the whole new one, never a
// part: the content goes to a temporary file beside the target, is closed and
// then renamed over it. A failed write removes the temporary file.
#include <cstdio>
#include <functional>
#include <string>

namespace QuillRender {

/// Calls `write` with a stream open on a temporary file in the folder of `path`, then
/// moves the file to `path`. `write` answers false (and may set `error`) to give up.
/// Answers false with `error` set when anything failed; `path` is then untouched.
bool writeFileAtomically(const std::string& path, const std::function<bool(std::FILE*)>& write,
                         std::string& error);

/// The same for a file whose content is ready in memory.
bool writeFileAtomically(const std::string& path, const std::string& content, std::string& error);

}  // namespace QuillRender
