#pragma once
// Loading an optional shared library by its platform-neutral name and resolving entry points.
#include <string>

namespace Platform {

/// Opaque handle of a loaded library; null means "not loaded".
using LibraryHandle = void*;

/// The file name this platform gives a shared library called `baseName`
/// ("Orb_Logging" becomes "libOrb_Logging.so").
std::string libraryFileName(const std::string& baseName);

/// Loads `libraryFileName(baseName)` through the system's normal search order.
/// Answers null when it cannot be loaded; never reports anything.
LibraryHandle loadLibrary(const std::string& baseName);

/// Address of the exported symbol `name`, or null when `library` is null or lacks it.
void* findSymbol(LibraryHandle library, const char* name);

/// Releases a library obtained from `loadLibrary`; null is ignored.
void freeLibrary(LibraryHandle library);

}  // namespace Platform
