#pragma once
// What an earlier run left in the output folder, cleared before a new run writes there,
// so that no stale image is left beside the new ones. Only files the earlier run's
// manifest names, and that have the names this tool gives its files, are removed: a
// folder that holds such names without a manifest that accounts for them, or a
// manifest.json that is not one of this tool's, is refused and left as it is, since
// those files may be anyone's.
#include <string>

namespace QuillRender {

/// The name of the manifest in an output folder.
constexpr const char* kManifestName = "manifest.json";
/// The name of the file for disc authoring in an output folder (--bdn-xml).
constexpr const char* kBdnFileName = "BDN.xml";

/// True for a name the tool gives the files of a run: "NNNN.png" or "NNNN-frame.png"
/// (four digits or more), and "BDN.xml".
bool isOutputName(const std::string& name);

/// Removes from `folder` the earlier run's files its manifest names (regular files only,
/// never what a link points to), then the manifest. False with a one-line `error`,
/// having removed nothing, when the folder holds files or links with the tool's names
/// that no manifest names, or a manifest the tool cannot read; false too when a file
/// cannot be removed, the files before it being gone.
bool clearEarlierRun(const std::string& folder, std::string& error);

}  // namespace QuillRender
