#pragma once
// The surroundings of one fault test: a data folder and a copy of the fixture fonts as
// the scanned folder, both of the test's own, pointed at through the environment before
// any component is made. The environment is restored and the files removed afterwards.
//
// A component refreshes the cache file once per process; every case therefore runs in a
// process of its own, as CTest runs them.
#include <map>
#include <string>

#include "TempFolder.h"

namespace QuillTest {

class FaultScene {
 public:
  FaultScene();
  ~FaultScene();
  FaultScene(const FaultScene&) = delete;
  FaultScene& operator=(const FaultScene&) = delete;

  /// The scanned fonts folder: Arial, Arial Bold and Quill Serif, copied.
  std::string fontsFolder() const { return temp.file("fonts"); }
  /// Where the component keeps its cache file, and the file itself.
  std::string cacheFolder() const;
  std::string cacheFile() const { return cacheFolder() + "/Font Cache"; }

  /// Points the per-user data folder somewhere else for components made from now on.
  void pointDataFolderAt(const std::string& path);

  QuillRender::TempFolder temp;

 private:
  std::map<std::string, std::pair<bool, std::string>> saved;  // variable: (was set, value)
};

/// Every file below `folder` (relative path) with its bytes; folders as "<name>/".
std::map<std::string, std::string> folderContents(const std::string& folder);

/// Writes `bytes` to `path`, replacing what was there; creates the parent folders.
void writeText(const std::string& path, const std::string& bytes);
std::string readText(const std::string& path);

}  // namespace QuillTest
