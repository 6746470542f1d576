#include "BdnReader.h"

#include <cctype>
#include <cstdlib>

namespace QuillRender {
namespace {

struct Element {
  std::string name;
  std::map<std::string, std::string> attributes;
  std::string text;
  std::vector<Element> children;
};

// Just enough XML: a declaration, elements, attributes in double quotes, text, and the
// five predefined entities.
class XmlParser {
 public:
  explicit XmlParser(const std::string& text) : text_(text) {}

  bool document(Element& root, std::string& error) {
    skipSpace();
    if (text_.compare(position_, 5, "<?xml") == 0) {
      position_ = text_.find("?>", position_);
      if (position_ == std::string::npos) return fail("unterminated declaration", error);
      position_ += 2;
    }
    skipSpace();
    if (!element(root, error)) return false;
    skipSpace();
    return position_ == text_.size() || fail("text after the root element", error);
  }

 private:
  bool fail(const std::string& message, std::string& error) {
    error = message + " at offset " + std::to_string(position_);
    return false;
  }

  void skipSpace() {
    while (position_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[position_]))) ++position_;
  }

  std::string name() {
    const std::size_t start = position_;
    while (position_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[position_])) ||
                                        text_[position_] == ':' || text_[position_] == '_' ||
                                        text_[position_] == '-')) {
      ++position_;
    }
    return text_.substr(start, position_ - start);
  }

  bool decoded(const std::string& raw, std::string& out, std::string& error) {
    static const std::pair<const char*, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    for (std::size_t i = 0; i < raw.size();) {
      if (raw[i] == '<') return fail("'<' in text", error);
      if (raw[i] != '&') {
        out += raw[i++];
        continue;
      }
      bool known = false;
      for (const auto& [entity, character] : kEntities) {
        const std::string spelled = entity;
        if (raw.compare(i, spelled.size(), spelled) == 0) {
          out += character;
          i += spelled.size();
          known = true;
          break;
        }
      }
      if (!known) return fail("unknown entity", error);
    }
    return true;
  }

  bool element(Element& element, std::string& error) {
    if (position_ >= text_.size() || text_[position_] != '<') return fail("element expected", error);
    ++position_;
    element.name = name();
    if (element.name.empty()) return fail("element name expected", error);
    while (true) {
      skipSpace();
      if (text_.compare(position_, 2, "/>") == 0) {
        position_ += 2;
        return true;
      }
      if (position_ < text_.size() && text_[position_] == '>') {
        ++position_;
        break;
      }
      const std::string attribute = name();
      if (attribute.empty() || text_.compare(position_, 2, "=\"") != 0) return fail("attribute expected", error);
      position_ += 2;
      const std::size_t end = text_.find('"', position_);
      if (end == std::string::npos) return fail("unterminated attribute", error);
      std::string value;
      if (!decoded(text_.substr(position_, end - position_), value, error)) return false;
      if (!element.attributes.emplace(attribute, value).second) return fail("repeated attribute", error);
      position_ = end + 1;
    }
    while (true) {
      const std::size_t tag = text_.find('<', position_);
      if (tag == std::string::npos) return fail("unterminated element " + element.name, error);
      if (!decoded(text_.substr(position_, tag - position_), element.text, error)) return false;
      position_ = tag;
      if (text_.compare(position_, 2, "</") == 0) {
        position_ += 2;
        if (name() != element.name || text_.compare(position_, 1, ">") != 0) {
          return fail("mismatched end of " + element.name, error);
        }
        ++position_;
        return true;
      }
      element.children.emplace_back();
      if (!this->element(element.children.back(), error)) return false;
    }
  }

  const std::string& text_;
  std::size_t position_ = 0;
};

const Element* child(const Element& parent, const std::string& name) {
  for (const Element& element : parent.children) {
    if (element.name == name) return &element;
  }
  return nullptr;
}

int number(const std::map<std::string, std::string>& attributes, const std::string& name) {
  const auto found = attributes.find(name);
  return found == attributes.end() ? -1 : std::atoi(found->second.c_str());
}

}  // namespace

std::int64_t timecodeToFrames(const std::string& timecode, int perSecond) {
  if (timecode.size() != 11) return -1;
  int parts[4];
  for (int i = 0; i < 4; ++i) {
    const char high = timecode[i * 3], low = timecode[i * 3 + 1];
    if (!std::isdigit(static_cast<unsigned char>(high)) || !std::isdigit(static_cast<unsigned char>(low)) ||
        (i < 3 && timecode[i * 3 + 2] != ':')) {
      return -1;
    }
    parts[i] = (high - '0') * 10 + (low - '0');
  }
  if (parts[1] > 59 || parts[2] > 59 || parts[3] >= perSecond) return -1;
  return ((static_cast<std::int64_t>(parts[0]) * 60 + parts[1]) * 60 + parts[2]) * perSecond + parts[3];
}

bool readBdn(const std::string& xml, BdnFile& file, std::string& error) {
  Element root;
  if (!XmlParser(xml).document(root, error)) return false;
  const Element* description = child(root, "Description");
  const Element* events = child(root, "Events");
  if (root.name != "BDN" || !description || !events || !child(*description, "Format") ||
      !child(*description, "Events")) {
    error = "not laid out as a BDN file";
    return false;
  }
  file.root = root.attributes;
  file.format = child(*description, "Format")->attributes;
  file.eventsSummary = child(*description, "Events")->attributes;
  for (const Element& event : events->children) {
    if (event.name != "Event") {
      error = "an element other than an event among the events";
      return false;
    }
    BdnEvent read;
    read.inTc = event.attributes.count("InTC") ? event.attributes.at("InTC") : "";
    read.outTc = event.attributes.count("OutTC") ? event.attributes.at("OutTC") : "";
    read.forced = event.attributes.count("Forced") ? event.attributes.at("Forced") : "";
    for (const Element& graphic : event.children) {
      if (graphic.name != "Graphic") continue;
      read.graphics.push_back({graphic.text, number(graphic.attributes, "X"),
                               number(graphic.attributes, "Y"), number(graphic.attributes, "Width"),
                               number(graphic.attributes, "Height")});
    }
    file.events.push_back(read);
  }
  return true;
}

std::vector<std::string> bdnFaults(const BdnFile& file, int frameWidth, int frameHeight,
                                   int timecodeFrames) {
  std::vector<std::string> faults;
  std::int64_t lastOut = 0;
  for (std::size_t i = 0; i < file.events.size(); ++i) {
    const BdnEvent& event = file.events[i];
    const std::string which = "event " + std::to_string(i + 1) + " at " + event.inTc;
    const std::int64_t in = timecodeToFrames(event.inTc, timecodeFrames);
    const std::int64_t out = timecodeToFrames(event.outTc, timecodeFrames);
    if (in < 0 || out < 0) faults.push_back(which + ": a timecode that is not HH:MM:SS:FF");
    if (out <= in) faults.push_back(which + ": ends before it starts");
    if (in < lastOut) faults.push_back(which + ": starts before the event before it ends");
    lastOut = out;
    if (event.graphics.empty() || event.graphics.size() > 2) {
      faults.push_back(which + ": not one or two graphics");
    }
    for (const BdnGraphicRead& g : event.graphics) {
      if (g.width <= 0 || g.height <= 0 || g.x < 0 || g.y < 0 || g.x + g.width > frameWidth ||
          g.y + g.height > frameHeight) {
        faults.push_back(which + ": " + g.image + " does not lie in the frame");
      }
    }
    if (event.graphics.size() == 2) {
      const BdnGraphicRead& a = event.graphics[0];
      const BdnGraphicRead& b = event.graphics[1];
      if (a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height) {
        faults.push_back(which + ": its two graphics overlap");
      }
    }
    if (event.forced != "False") faults.push_back(which + ": Forced is not \"False\"");
  }
  const std::string count = std::to_string(file.events.size());
  if (file.eventsSummary.count("NumberofEvents") == 0 || file.eventsSummary.at("NumberofEvents") != count) {
    faults.push_back("NumberofEvents does not count the events");
  }
  if (!file.events.empty() && (file.eventsSummary.at("FirstEventInTC") != file.events.front().inTc ||
                               file.eventsSummary.at("LastEventOutTC") != file.events.back().outTc)) {
    faults.push_back("the first and last timecodes are not the events'");
  }
  return faults;
}

}  // namespace QuillRender
