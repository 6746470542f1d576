#include "text/RenderContext.h"

#include <algorithm>

namespace Orb {

FreeTypeLibrary::~FreeTypeLibrary() {
  if (handle != nullptr) FT_Done_FreeType(handle);
}

FreeTypeStroker::~FreeTypeStroker() {
  if (handle != nullptr) FT_Stroker_Done(handle);
}

std::int32_t boundPixelSize(std::int64_t size) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(size, MarkupLimits::kMinPixelSize,
                                                            MarkupLimits::kMaxPixelSize));
}

std::unique_ptr<RenderContext> RenderContext::create(StyleNode base,
                                                     const FaceCacheCallbacks* faceCacheTable,
                                                     void* userData) {
  std::unique_ptr<RenderContext> context(new RenderContext(std::move(base)));
  context->faceCacheTable = faceCacheTable;
  context->userData = userData;
  if (FT_Init_FreeType(&context->library.handle) != 0) {
    context->library.handle = nullptr;
    return nullptr;
  }
  if (FT_Stroker_New(context->library.handle, &context->stroker.handle) != 0) {
    context->stroker.handle = nullptr;
    return nullptr;
  }
  return context;
}

}  // namespace Orb
