#include "gstreamer/DefaultModulePath.h"

#include <dlfcn.h>
#include <unistd.h>

namespace QuillGst {

std::string defaultModulePath() {
  Dl_info info{};
  std::string folder = ".";
  if (dladdr(reinterpret_cast<void*>(&defaultModulePath), &info) != 0 && info.dli_fname) {
    const std::string file = info.dli_fname;
    const std::size_t slash = file.rfind('/');
    if (slash != std::string::npos) folder = file.substr(0, slash);
  }
  const std::string built = folder + "/" + QUILL_MODULE_BUILD_RELATIVE_PATH;
  if (access(built.c_str(), F_OK) == 0) return built;
  return folder + "/" + QUILL_MODULE_INSTALL_RELATIVE_PATH;
}

}  // namespace QuillGst
