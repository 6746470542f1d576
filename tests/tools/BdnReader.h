#pragma once
// A reader of BDN.xml files of its own, for tests: it reads the elements and attributes
// the file format has, and checks what an authoring tool relies on.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace QuillRender {

struct BdnGraphicRead {
  std::string image;
  int x = 0, y = 0, width = 0, height = 0;
};

struct BdnEvent {
  std::string inTc, outTc, forced;
  std::vector<BdnGraphicRead> graphics;
};

struct BdnFile {
  std::map<std::string, std::string> root;         ///< attributes of <BDN>
  std::map<std::string, std::string> format;       ///< of <Description><Format>
  std::map<std::string, std::string> eventsSummary;///< of <Description><Events>
  std::vector<BdnEvent> events;
};

/// "HH:MM:SS:FF" as a count of frames at `perSecond` a timecode second; -1 when it is
/// malformed or FF is not below `perSecond`.
std::int64_t timecodeToFrames(const std::string& timecode, int perSecond);

/// Reads `xml`; false with `error` when it is not well-formed or not laid out as BDN.
bool readBdn(const std::string& xml, BdnFile& file, std::string& error);

/// Everything an authoring tool relies on, as one message per fault (none: all holds):
/// one or two graphics an event, inside a `frameWidth` x `frameHeight` frame and not
/// overlapping each other; timecodes well-formed in `timecodeFrames` frames a second and
/// frame-exact; events in order without overlap; the description's first, last and count
/// matching the events.
std::vector<std::string> bdnFaults(const BdnFile& file, int frameWidth, int frameHeight,
                                   int timecodeFrames);

}  // namespace QuillRender
