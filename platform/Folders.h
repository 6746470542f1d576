#pragma once
// Where things live on this machine: the fonts folder the cache scans and the per-user
// folder the cache database is kept in. Paths are UTF-8; an empty answer means "none".
#include <string>

namespace Platform {

/// The character that separates folders in a path on this platform.
constexpr char kPathSeparator = '/';

/// Name of the environment variable that points the fonts folder elsewhere
/// (for hosts that keep their own fonts, and for tests).
constexpr const char* kFontsFolderVariable = "QUILL_FONTS_DIR";

/// The folder whose fonts the face cache scans, without a trailing separator.
/// `$QUILL_FONTS_DIR` when set and not empty; otherwise the per-user fonts folder,
/// `userDataFolder()` + "/fonts". Empty when neither can be determined.
std::string systemFontsFolder();

/// The per-user application-data folder, without a trailing separator:
/// `$XDG_DATA_HOME` when it is an absolute path, otherwise `$HOME/.local/share`.
/// Empty when `$HOME` is unset or empty and no absolute `$XDG_DATA_HOME` is given.
std::string userDataFolder();

}  // namespace Platform
