#include "tools/AtomicFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace QuillRender {
namespace {

std::string describe(const std::string& path, const char* what) {
  return "cannot " + std::string(what) + " " + path + ": " + std::strerror(errno);
}

}  // namespace

bool writeFileAtomically(const std::string& path, const std::function<bool(std::FILE*)>& write,
                         std::string& error) {
  std::string temporary = path + ".XXXXXX";
  const int descriptor = mkstemp(temporary.data());
  if (descriptor < 0) {
    error = describe(path, "write");
    return false;
  }
  // mkstemp makes the file private; the result should be readable like any other output.
  const mode_t mask = umask(0);
  umask(mask);
  std::FILE* stream = fchmod(descriptor, 0666 & ~mask) == 0 ? fdopen(descriptor, "wb") : nullptr;
  if (!stream) {
    error = describe(path, "write");
    close(descriptor);
    unlink(temporary.c_str());
    return false;
  }
  bool ok = write(stream);
  if (!ok && error.empty()) error = "cannot write " + path;
  if (std::fclose(stream) != 0 && ok) {
    error = describe(path, "write");
    ok = false;
  }
  if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) {
    error = describe(path, "replace");
    ok = false;
  }
  if (!ok) unlink(temporary.c_str());
  return ok;
}

bool writeFileAtomically(const std::string& path, const std::string& content, std::string& error) {
  return writeFileAtomically(
      path,
      [&content](std::FILE* stream) {
        return std::fwrite(content.data(), 1, content.size(), stream) == content.size();
      },
      error);
}

}  // namespace QuillRender
