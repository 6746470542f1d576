#include "text/StyleStack.h"

#include <cstring>

namespace Orb {

Colour Colour::fromMemory(std::uint32_t value) {
  unsigned char bytes[sizeof(value)];
  std::memcpy(bytes, &value, sizeof(value));
  return Colour{bytes[0], bytes[1], bytes[2], bytes[3]};
}

StyleStack::StyleStack(StyleNode base) { nodes.push_back(std::move(base)); }

StyleNode* StyleStack::belowTop() {
  return nodes.size() > 1 ? &nodes[nodes.size() - 2] : nullptr;
}

bool StyleStack::push(bool cloneFont) {
  if (nodes.size() >= kMaxDepth) return false;
  StyleNode copy = nodes.back();
  if (cloneFont) copy.font = copy.font->clone();
  nodes.push_back(std::move(copy));
  return true;
}

void StyleStack::pop() {
  if (nodes.size() <= 1) return;
  const StyleNode& popped = nodes.back();
  const StyleNode& lower = nodes[nodes.size() - 2];
  if (popped.size != lower.size && popped.font->face && popped.font->face == lower.font->face) {
    applyPixelSize(lower);
  }
  nodes.pop_back();
}

void StyleStack::popAll() {
  while (nodes.size() > 1) pop();
}

void applyPixelSize(const StyleNode& node) {
  if (node.font && node.font->face) node.font->face->setPixelSize(node.size);
}

}  // namespace Orb
