#pragma once
// The downstream's answer to a component's frame-size queries, written once for every
// host: a component asks QUERY_MAX_WIDTH and QUERY_MAX_HEIGHT before it renders after a
// size change, and takes a positive answer smaller than its frame as the frame's size in
// pixels (README.md, "Geometry").
#include <cstdint>

#include "framework/MessageCodes.h"
#include "framework/PropertyValue.h"

namespace Orb {

/// Answers QUERY_MAX_WIDTH with `width` and QUERY_MAX_HEIGHT with `height`: `*value`
/// becomes a ValueUInt32 whose low 32 bits hold the signed number, and the answer is
/// true. For any other code, or a null `value`, answers false and writes nothing.
inline bool answerFrameSizeQuery(std::uint32_t code, std::int32_t width, std::int32_t height,
                                 PropertyValue* value) {
  if (!value || (code != QUERY_MAX_WIDTH && code != QUERY_MAX_HEIGHT)) return false;
  value->tag = ValueUInt32;
  value->payload.raw = 0;
  value->payload.int32 = code == QUERY_MAX_WIDTH ? width : height;
  return true;
}

}  // namespace Orb
