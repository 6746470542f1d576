#include "tools/ModulePath.h"

#include <unistd.h>

#include <climits>

namespace QuillRender {
namespace {

std::string programFolder() {
  char executable[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", executable, sizeof executable - 1);
  if (length <= 0) return ".";
  const std::string path(executable, static_cast<std::size_t>(length));
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

}  // namespace

std::string defaultModulePath() {
  const std::string folder = programFolder();
  const std::string built = folder + "/" + QUILL_MODULE_BUILD_RELATIVE_PATH;
  if (access(built.c_str(), F_OK) == 0) return built;
  return folder + "/" + QUILL_MODULE_INSTALL_RELATIVE_PATH;
}

}  // namespace QuillRender
