#pragma once
// Where quill-render finds the component module when --module does not say.
#include <string>

namespace QuillRender {

/// The module beside the running program: where the build puts it when the program runs
/// from the build tree, else where installation puts it relative to the installed
/// program. The installed place is answered when neither file exists, so that the error
/// names the place a user would look.
std::string defaultModulePath();

}  // namespace QuillRender
