#pragma once
// The BDN XML file ("BDN.xml") that disc-authoring tools read to turn a folder of subtitle
// PNGs into Blu-ray graphic subtitles: the video format and frame rate, and one event per
// image with its in and out timecodes and where the image lies on the frame.
//
// Timecodes are HH:MM:SS:FF without drop frame: the frame a time falls on, rounded to the
// nearest, counted in the rate's whole frames per timecode second (24 for 23.976, 30 for
// 29.97, 60 for 59.94), as non-drop-frame timecode counts them. An event lasting less than
// a frame is left out.
//
// Overlapping subtitles: the file's events may not overlap in time, but one event may
// show two graphics that do not overlap on the frame, which is what a disc can show at
// once. So the time is cut where any subtitle starts or ends, and each stretch becomes an
// event showing the subtitles on screen then: one at its own place, or two, the one that
// came first at its own place and the other moved up to stand on top of it when they
// would overlap (as players stack overlapping subtitles). A third at once, or a second
// with no room above the first, is not shown for that stretch. Every subtitle left out,
// wholly or for a stretch, is noted.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/SubtitleDocument.h"

namespace QuillRender {

struct BdnFrameRate {
  const char* name;           ///< as written in the file: "23.976", "24", "25", "29.97", "50", "59.94"
  std::int64_t numerator;     ///< frames per second is numerator / denominator
  std::int64_t denominator;
  int timecodeFrames;         ///< frames in one timecode second
};

/// The rate named `name` (one of BdnFrameRate::name); nullopt for any other.
std::optional<BdnFrameRate> parseBdnFrameRate(const std::string& name);

/// The rate used without --fps: 23.976.
BdnFrameRate defaultBdnFrameRate();

/// "1080p", "720p", "576p" or "480p" for the Blu-ray frame sizes 1920x1080, 1440x1080,
/// 1280x720, 720x576 and 720x480; nullptr for any other.
const char* bdnVideoFormat(int width, int height);

/// One image of an event, placed on the frame.
struct BdnGraphic {
  std::size_t index = 0;      ///< the event's index, for notes
  std::size_t line = 0;       ///< the event's line in the subtitle file, for notes
  std::int64_t startMs = 0;
  std::int64_t endMs = 0;
  std::string image;          ///< file name, beside BDN.xml
  int x = 0, y = 0, width = 0, height = 0;  ///< in frame pixels, inside the frame
};

struct BdnDocument {
  std::string xml;                    ///< the whole file, UTF-8
  std::size_t events = 0;             ///< events written
  std::vector<SubtitleProblem> notes; ///< subtitles left out, wholly or in part, by line
};

/// The file for `graphics` (in file order) on a `width` x `height` frame (a Blu-ray size)
/// at `rate`; `title` names the film in its description.
BdnDocument makeBdnXml(const std::vector<BdnGraphic>& graphics, int width, int height,
                       const BdnFrameRate& rate, const std::string& title);

/// `frame` as "HH:MM:SS:FF" in `rate`'s timecode.
std::string bdnTimecode(std::int64_t frame, const BdnFrameRate& rate);

/// The frame `milliseconds` falls on at `rate`, rounded to the nearest.
std::int64_t bdnFrameAt(std::int64_t milliseconds, const BdnFrameRate& rate);

}  // namespace QuillRender
