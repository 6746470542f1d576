#pragma once
// The style stack: the renderer's base style at the bottom, one node per opening tag
// above it. Layout reads the top node for every character.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "text/FontRecord.h"

namespace Orb {

/// Four bytes in memory order red, green, blue and one that drawing ignores.
struct Colour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t unused = 0;

  /// The colour whose memory bytes are those of `value` (as the owner hands colours over).
  static Colour fromMemory(std::uint32_t value);
};

/// One entry of the style stack. A pushed node starts as a copy of the node below.
struct StyleNode {
  std::shared_ptr<FontRecord> font;
  std::int32_t size = 0;  // pixel height given to FreeType; also the unit of line spacing
  std::uint8_t underline = 0;
  std::uint8_t strikeOut = 0;
  std::uint8_t overrideEmbeddedFont = 0;  // markup "face" and "size" are ignored when set
  Colour fillColour;
  Colour outlineColour;
  std::uint8_t overrideEmbeddedColour = 0;  // markup "color" is ignored when set
};

class StyleStack {
 public:
  /// Markup cannot nest deeper than this: a megabyte of <u> would otherwise hold a third
  /// of a million nodes. Opening tags beyond it are dropped.
  static constexpr std::size_t kMaxDepth = 256;

  /// Starts with `base` as the only node.
  explicit StyleStack(StyleNode base);

  StyleNode& base() { return nodes.front(); }
  const StyleNode& base() const { return nodes.front(); }
  StyleNode& top() { return nodes.back(); }
  const StyleNode& top() const { return nodes.back(); }
  /// The node just below the top, or null when the top is the base.
  StyleNode* belowTop();
  std::size_t depth() const { return nodes.size(); }
  StyleNode& at(std::size_t index) { return nodes[index]; }

  /// Pushes a copy of the top node; with `cloneFont` it gets a fresh unresolved clone of
  /// the top's font record, otherwise it shares the record. False (nothing pushed) when the
  /// stack is at kMaxDepth.
  bool push(bool cloneFont);

  /// Removes the top node unless it is the base. When the popped node shared its face with
  /// the node below at another size, the face goes back to the lower node's size.
  void pop();

  /// Pops every node above the base.
  void popAll();

 private:
  std::vector<StyleNode> nodes;
};

/// Sets the pixel size of the node's face to the node's size (when it has a face).
void applyPixelSize(const StyleNode& node);

}  // namespace Orb
