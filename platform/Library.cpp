#include "platform/Library.h"

#include <dlfcn.h>

namespace Platform {

std::string libraryFileName(const std::string& baseName) { return "lib" + baseName + ".so"; }

LibraryHandle loadLibrary(const std::string& baseName) {
  return ::dlopen(libraryFileName(baseName).c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* findSymbol(LibraryHandle library, const char* name) {
  return library && name ? ::dlsym(library, name) : nullptr;
}

void freeLibrary(LibraryHandle library) {
  if (library) ::dlclose(library);
}

}  // namespace Platform
