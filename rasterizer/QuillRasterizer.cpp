#include "rasterizer/QuillRasterizer.h"

#include <cstring>
#include <vector>

#include "db/Database.h"
#include "fontcache/FontCacheRefresh.h"
#include "framework/InterfaceIds.h"
#include "platform/Folders.h"
#include "rasterizer/QuillRasterizerPorts.h"

namespace Orb {

namespace {

constexpr const char* kNameKey = "Name";
constexpr const char* kTypeKey = "Type";
constexpr const char* kComponentName = "Text Subtitle Decoder";
constexpr const char* kComponentType = "Overlay|Decoder|TEXT";

// The component's name as the UTF-16 string the "Name" property holds.
std::vector<unsigned short> wideText(const char* ascii) {
  std::vector<unsigned short> wide(ascii, ascii + std::strlen(ascii));
  wide.push_back(0);
  return wide;
}

// The cache scan takes folders ending in the separator, so that a file's folder part
// compares equal to the folder it was found in.
std::vector<std::string> fontFolders() {
  std::string folder = Platform::systemFontsFolder();
  if (folder.empty()) return {};
  if (folder.back() != '/' && folder.back() != '\\') folder += Platform::kPathSeparator;
  return {folder};
}

}  // namespace

QuillRasterizer::QuillRasterizer(PluginHost* host) : Plugin(host) {
  properties.setWideString(kNameKey, wideText(kComponentName).data());
  properties.setString(kTypeKey, kComponentType);
  properties.setString(PropertyTable::INPUT_FORMAT, "");
  properties.setString(PropertyTable::OUTPUT_FORMAT, "");

  worker = std::make_unique<boost::thread>([this] { run(); });
  try {
    const std::vector<std::string> folders = fontFolders();
    KTDSOLD::Database::EnableSharedCache(true);
    RefreshFontCache(cacheDatabase, folders, kFontCacheName);
  } catch (...) {
    stopWorker();  // a half-built component must not leave its thread running
    throw;
  }
}

QuillRasterizer::~QuillRasterizer() {
  dropRetained();
  stopWorker();
  boost::lock_guard<HandOverMutex> guard(componentLock);
  if (inputPort) releaseInputPort(inputPort.get());
  if (outputPort) releaseOutputPort(outputPort.get());
  resetRenderer();
  for (const char* key :
       {kNameKey, kTypeKey, PropertyTable::INPUT_FORMAT, PropertyTable::OUTPUT_FORMAT}) {
    properties.remove(key);
  }
}

std::int32_t QuillRasterizer::queryInterface(const SimpleString<char>& id, void** out) {
  if (!out) return QUERY_INTERFACE_UNKNOWN;
  *out = nullptr;
  if (id.equals(ID_INTERFACE_COMPONENT)) {
    *out = static_cast<ComponentInterface*>(this);
  } else if (id.equals(ID_INTERFACE_TRANSFORM)) {
    *out = static_cast<TransformInterface*>(this);
  } else if (id.equals(ID_COMPONENT_TRANSFORM)) {
    *out = static_cast<TransformComponent*>(this);
  } else {
    return QUERY_INTERFACE_UNKNOWN;
  }
  return QUERY_INTERFACE_OK;
}

bool QuillRasterizer::getPropertyNames(std::vector<const char*>* names) {
  return properties.getPropertyNames(names);
}

bool QuillRasterizer::getProperty(const char* name, PropertyValue* value) {
  return properties.getProperty(name, value);
}

}  // namespace Orb
