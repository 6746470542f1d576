#include "rasterizer/FamilyList.h"

namespace Orb {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::vector<std::string> parseFamilyList(std::string_view text) {
  std::vector<std::string> families;
  while (!text.empty()) {
    const std::size_t comma = text.find(',');
    std::string_view name = text.substr(0, comma);
    while (!name.empty() && isBlank(name.front())) name.remove_prefix(1);
    while (!name.empty() && isBlank(name.back())) name.remove_suffix(1);
    if (!name.empty()) families.emplace_back(name);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return families;
}

}  // namespace Orb
