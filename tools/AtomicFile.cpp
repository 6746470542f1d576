#include "tools/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace QuillRender {
namespace {

std::string describe(const std::string& path, const char* what) {
  return "cannot " + std::string(what) + " " + path + ": " + std::strerror(errno);
}

// A new file of a name no one else uses, beside `path`. It is made with the mode any new
// file gets, the kernel applying the umask: reading the umask would mean setting it for a
// moment, and another thread writing meanwhile would see, and put back, the wrong one.
int createTemporary(const std::string& path, std::string& temporary) {
  static std::atomic<unsigned> serial{0};
  const std::string prefix = path + ".tmp" + std::to_string(getpid()) + "-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = prefix + std::to_string(serial++);
    const int descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0 || errno != EEXIST) return descriptor;
  }
  return -1;
}

}  // namespace

bool writeFileAtomically(const std::string& path, const std::function<bool(std::FILE*)>& write,
                         std::string& error) {
  std::string temporary;
  const int descriptor = createTemporary(path, temporary);
  if (descriptor < 0) {
    error = describe(path, "write");
    return false;
  }
  std::FILE* stream = fdopen(descriptor, "wb");
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
