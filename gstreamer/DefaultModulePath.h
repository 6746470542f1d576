#pragma once
// Where the element finds the Quill module when its "module" property is not set.
#include <string>

namespace QuillGst {

/// The module relative to the file this code was loaded from: beside it in the build
/// tree, else where installation puts it relative to GStreamer's plug-in folder. The
/// installed place is answered when neither file exists, so that an error names it.
std::string defaultModulePath();

}  // namespace QuillGst
