#include "tools/InputFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace QuillRender {
namespace {

std::string sizeText(std::uint64_t bytes) { return std::to_string(bytes >> 20) + " MiB"; }

}  // namespace

bool readInputFile(const std::string& path, std::uint64_t maxBytes, std::string& bytes,
                   std::string& error) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) {
    error = "cannot read " + path + ": " + std::strerror(errno);
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!S_ISREG(info.st_mode) || !in) {
    error = "cannot read " + path + (S_ISREG(info.st_mode) ? "" : ": not a file");
    return false;
  }
  const std::string tooLarge =
      path + " is larger than " + sizeText(maxBytes) + ", more than such a file ever is";
  if (static_cast<std::uint64_t>(info.st_size) > maxBytes) {
    error = tooLarge;
    return false;
  }
  // The size may have changed since it was asked: read no more than the limit allows.
  std::string content;
  content.reserve(static_cast<std::size_t>(info.st_size));
  char chunk[1 << 16];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    content.append(chunk, static_cast<std::size_t>(in.gcount()));
    if (content.size() > maxBytes) {
      error = tooLarge;
      return false;
    }
  }
  if (in.bad()) {
    error = "cannot read " + path;
    return false;
  }
  bytes = std::move(content);
  return true;
}

}  // namespace QuillRender
