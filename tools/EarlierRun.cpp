#include "tools/EarlierRun.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <set>
#include <vector>

#include "tools/InputFile.h"
#include "tools/JsonReader.h"

namespace QuillRender {
namespace {

constexpr std::uint64_t kMaxManifestBytes = 256ull << 20;
constexpr std::size_t kNamesShown = 3;

struct DirectoryCloser {
  void operator()(DIR* directory) const { closedir(directory); }
};

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool isRegularFile(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// A folder where an image goes stops the run when it gets there; a file or a link would
// be replaced.
bool isReplaceable(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

// The entries of `folder` with the tool's output names that a new image would replace,
// in name order.
std::vector<std::string> outputFilesIn(const std::string& folder) {
  std::vector<std::string> names;
  const std::unique_ptr<DIR, DirectoryCloser> directory(opendir(folder.c_str()));
  if (!directory) return names;
  while (const dirent* entry = readdir(directory.get())) {
    const std::string name = entry->d_name;
    if (isOutputName(name) && isReplaceable(folder + "/" + name)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The output names the manifest in `folder` gives its files; false with `error` when
// there is a manifest the tool cannot read as its own.
bool namedByManifest(const std::string& folder, std::set<std::string>& named, std::string& error) {
  const std::string path = folder + "/" + kManifestName;
  if (access(path.c_str(), F_OK) != 0) return true;
  std::string text, problem;
  Json manifest;
  const bool read = readInputFile(path, kMaxManifestBytes, text, problem) && parseJson(text, manifest, problem);
  if (!read || manifest.type != Json::Type::Object || manifest["events"].type != Json::Type::Array) {
    error = path + " is not a manifest quill-render wrote" + (problem.empty() ? "" : " (" + problem + ")") +
            "; remove it or choose another --out";
    return false;
  }
  const auto name = [&named](const Json& value) {
    if (value.type == Json::Type::String && isOutputName(value.string)) named.insert(value.string);
  };
  for (const Json& event : manifest["events"].array) {
    name(event["image"]);
    name(event["frame"]);
  }
  name(manifest["bdn"]["file"]);
  return true;
}

std::string someOf(const std::vector<std::string>& names) {
  std::string shown;
  for (std::size_t i = 0; i < names.size() && i < kNamesShown; ++i) shown += (i ? ", " : "") + names[i];
  if (names.size() > kNamesShown) shown += " and " + std::to_string(names.size() - kNamesShown) + " more";
  return shown;
}

bool removeFile(const std::string& path, std::string& error) {
  if (unlink(path.c_str()) == 0 || errno == ENOENT) return true;
  error = "cannot remove " + path + " of the earlier run: " + std::strerror(errno);
  return false;
}

}  // namespace

bool isOutputName(const std::string& name) {
  if (name == kBdnFileName) return true;
  const std::string stem = endsWith(name, "-frame.png") ? name.substr(0, name.size() - 10)
                           : endsWith(name, ".png")     ? name.substr(0, name.size() - 4)
                                                        : std::string();
  return stem.size() >= 4 && std::all_of(stem.begin(), stem.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool clearEarlierRun(const std::string& folder, std::string& error) {
  std::set<std::string> named;
  if (!namedByManifest(folder, named, error)) return false;
  std::vector<std::string> strangers;
  for (const std::string& name : outputFilesIn(folder)) {
    if (!named.count(name)) strangers.push_back(name);
  }
  if (!strangers.empty()) {
    error = "the output folder " + folder + " holds " + someOf(strangers) +
            ", which no manifest of an earlier run names; quill-render removes only the files "
            "its last manifest lists: remove them or choose another --out";
    return false;
  }
  // The manifest goes last: were the run stopped here, the next would still find the
  // files it names.
  for (const std::string& name : named) {
    const std::string path = folder + "/" + name;
    if (isRegularFile(path) && !removeFile(path, error)) return false;
  }
  return removeFile(folder + "/" + kManifestName, error);
}

}  // namespace QuillRender
