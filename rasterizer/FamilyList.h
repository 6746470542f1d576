#pragma once
// The text of the "Font"/"Fallback" setting: font families separated by commas, in the
// order they are preferred for characters the subtitle's own font lacks.
#include <string>
#include <string_view>
#include <vector>

namespace Orb {

/// The families of `text`, each without the blanks around it; empty names are dropped.
std::vector<std::string> parseFamilyList(std::string_view text);

}  // namespace Orb
