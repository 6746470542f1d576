#include "tools/ModuleLibrary.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

namespace QuillRender {

std::unique_ptr<ModuleLibrary> ModuleLibrary::open(const std::string& path, std::string& error) {
  // RTLD_NODELETE: the module's libraries may have registered clean-ups that run at exit;
  // their code has to be there then.
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!handle) {
    const char* reason = dlerror();
    error = "cannot load the component module: " + std::string(reason ? reason : path);
    return nullptr;
  }
  void* entry = dlsym(handle, "_getPlugin");
  if (!entry) {
    error = "the module " + path + " has no _getPlugin entry";
    dlclose(handle);
    return nullptr;
  }
  return std::unique_ptr<ModuleLibrary>(
      new ModuleLibrary(handle, reinterpret_cast<GetPlugin>(entry)));
}

std::string ModuleLibrary::defaultPath() {
  char executable[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", executable, sizeof executable - 1);
  std::string folder = ".";
  if (length > 0) {
    const std::string path(executable, static_cast<std::size_t>(length));
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos) folder = path.substr(0, slash);
  }
  return folder + "/" + QUILL_MODULE_RELATIVE_PATH;
}

ModuleLibrary::~ModuleLibrary() { dlclose(handle_); }

}  // namespace QuillRender
