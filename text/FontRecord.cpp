#include "text/FontRecord.h"

namespace Orb {

std::shared_ptr<FontRecord> FontRecord::clone() const {
  auto copy = std::make_shared<FontRecord>();
  copy->family = family;
  copy->path = path;
  copy->data = data;
  return copy;
}

void FontRecord::closeFace() {
  face.reset();
  transform = FT_Matrix{0x10000, 0, 0, 0x10000};
  loadFlags = 0;
}

bool FontRecord::hasOwnSource() const { return path.has_value() || (data && !data->bytes.empty()); }

}  // namespace Orb
