#include "tools/BdnXml.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <cstdio>
#include <sstream>

namespace QuillRender {
namespace {

constexpr BdnFrameRate kRates[] = {
    {"23.976", 24000, 1001, 24}, {"24", 24, 1, 24},          {"25", 25, 1, 25},
    {"29.97", 30000, 1001, 30},  {"50", 50, 1, 50},          {"59.94", 60000, 1001, 60},
};

struct Timed {
  const BdnGraphic* graphic;
  std::int64_t in;   // first frame shown
  std::int64_t out;  // first frame no longer shown
};

struct Shown {
  const BdnGraphic* graphic;
  int x, y;
  bool operator==(const Shown& other) const {
    return graphic == other.graphic && x == other.x && y == other.y;
  }
};

// One event of the file: a stretch of frames and what is on screen throughout it.
struct Stretch {
  std::int64_t in, out;
  std::vector<Shown> shown;
};

// The most graphics one event of a disc shows.
constexpr std::size_t kGraphicsAtOnce = 2;

std::string attribute(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default:
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') out += c;
    }
  }
  return out;
}

std::string eventName(const BdnGraphic& graphic) { return "event " + std::to_string(graphic.index); }

bool overlap(const Shown& a, const Shown& b) {
  return a.x < b.x + b.graphic->width && b.x < a.x + a.graphic->width &&
         a.y < b.y + b.graphic->height && b.y < a.y + a.graphic->height;
}

class Notes {
 public:
  Notes(const BdnFrameRate& rate, std::vector<SubtitleProblem>& notes) : rate_(rate), notes_(notes) {}

  void tooShort(const BdnGraphic& graphic) {
    notes_.push_back({graphic.line,
                      eventName(graphic) + " is left out of BDN.xml: it lasts less than a frame"});
  }

  // Notes, once, that `graphic` is not on screen from `frame` on.
  void hidden(const BdnGraphic& graphic, std::int64_t frame) {
    if (!noted_.insert(&graphic).second) return;
    notes_.push_back({graphic.line, eventName(graphic) + " is not shown in BDN.xml from " +
                                        bdnTimecode(frame, rate_) + ": a disc shows at most two " +
                                        "subtitles at once, one above the other"});
  }

 private:
  const BdnFrameRate& rate_;
  std::vector<SubtitleProblem>& notes_;
  std::set<const BdnGraphic*> noted_;
};

// What is on screen while the subtitles `active` are (in the order they came): the
// first at its place and the second beside it, or on top of it when they would overlap.
// A second with no room above the first, and any after it, are not shown.
std::vector<Shown> arrange(const std::vector<const BdnGraphic*>& active, std::int64_t frame,
                           Notes& notes) {
  std::vector<Shown> shown;
  for (const BdnGraphic* graphic : active) {
    Shown next{graphic, graphic->x, graphic->y};
    if (!shown.empty() && overlap(shown.front(), next)) next.y = shown.front().y - graphic->height;
    if (shown.size() == kGraphicsAtOnce || next.y < 0) {
      notes.hidden(*graphic, frame);
    } else {
      shown.push_back(next);
    }
  }
  return shown;
}

// The events of the file, in order and without overlap; notes what is left out.
std::vector<Stretch> stretches(const std::vector<BdnGraphic>& graphics, const BdnFrameRate& rate,
                               std::vector<SubtitleProblem>& noteList) {
  Notes notes(rate, noteList);
  std::vector<Timed> timed;
  for (const BdnGraphic& graphic : graphics) {
    const Timed next{&graphic, bdnFrameAt(graphic.startMs, rate), bdnFrameAt(graphic.endMs, rate)};
    if (next.out > next.in) timed.push_back(next);
    else notes.tooShort(graphic);
  }
  // Sweep the frames where anything starts or ends. The subtitles on screen are kept by
  // their rank in start order, so that the first two are the ones shown; only they are
  // looked at, so that even thousands on screen at once cost little.
  std::stable_sort(timed.begin(), timed.end(),
                   [](const Timed& a, const Timed& b) { return a.in < b.in; });
  std::vector<std::size_t> byEnd(timed.size());
  for (std::size_t i = 0; i < byEnd.size(); ++i) byEnd[i] = i;
  std::sort(byEnd.begin(), byEnd.end(),
            [&](std::size_t a, std::size_t b) { return timed[a].out < timed[b].out; });
  std::set<std::size_t> onScreen;
  std::vector<Stretch> events;
  std::size_t starting = 0, ending = 0;
  const auto nextCut = [&] {
    return std::min(starting < timed.size() ? timed[starting].in : INT64_MAX,
                    ending < byEnd.size() ? timed[byEnd[ending]].out : INT64_MAX);
  };
  while (ending < byEnd.size()) {
    const std::int64_t frame = nextCut();
    for (; ending < byEnd.size() && timed[byEnd[ending]].out == frame; ++ending) {
      onScreen.erase(byEnd[ending]);
    }
    for (; starting < timed.size() && timed[starting].in == frame; ++starting) {
      if (onScreen.size() > kGraphicsAtOnce) notes.hidden(*timed[starting].graphic, frame);
      onScreen.insert(starting);
    }
    if (onScreen.empty()) continue;
    const std::int64_t next = nextCut();
    std::vector<const BdnGraphic*> first;
    for (auto it = onScreen.begin(); it != onScreen.end() && first.size() <= kGraphicsAtOnce; ++it) {
      first.push_back(timed[*it].graphic);
    }
    std::vector<Shown> shown = arrange(first, frame, notes);
    if (shown.empty()) continue;
    if (!events.empty() && events.back().out == frame && events.back().shown == shown) {
      events.back().out = next;
    } else {
      events.push_back({frame, next, std::move(shown)});
    }
  }
  std::stable_sort(noteList.begin(), noteList.end(),
                   [](const SubtitleProblem& a, const SubtitleProblem& b) { return a.line < b.line; });
  return events;
}

}  // namespace

std::optional<BdnFrameRate> parseBdnFrameRate(const std::string& name) {
  for (const BdnFrameRate& rate : kRates) {
    if (name == rate.name) return rate;
  }
  return std::nullopt;
}

BdnFrameRate defaultBdnFrameRate() { return kRates[0]; }

const char* bdnVideoFormat(int width, int height) {
  if (height == 1080 && (width == 1920 || width == 1440)) return "1080p";
  if (height == 720 && width == 1280) return "720p";
  if (height == 576 && width == 720) return "576p";
  if (height == 480 && width == 720) return "480p";
  return nullptr;
}

std::int64_t bdnFrameAt(std::int64_t milliseconds, const BdnFrameRate& rate) {
  const std::int64_t scale = rate.denominator * 1000;
  return (milliseconds * rate.numerator + scale / 2) / scale;
}

std::string bdnTimecode(std::int64_t frame, const BdnFrameRate& rate) {
  const std::int64_t perSecond = rate.timecodeFrames;
  const std::int64_t seconds = frame / perSecond;
  char text[48];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60),
                static_cast<long long>(frame % perSecond));
  return text;
}

BdnDocument makeBdnXml(const std::vector<BdnGraphic>& graphics, int width, int height,
                       const BdnFrameRate& rate, const std::string& title) {
  BdnDocument document;
  const std::vector<Stretch> events = stretches(graphics, rate, document.notes);
  document.events = events.size();
  const char* format = bdnVideoFormat(width, height);
  std::ostringstream xml;
  xml << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<BDN Version=\"0.93\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
         "xsi:noNamespaceSchemaLocation=\"BD-03-006-0093b BDN File Format.xsd\">\n"
      << "  <Description>\n"
      << "    <Name Title=\"" << attribute(title) << "\" Content=\"\"/>\n"
      << "    <Language Code=\"und\"/>\n"
      << "    <Format VideoFormat=\"" << (format ? format : "") << "\" FrameRate=\"" << rate.name
      << "\" DropFrame=\"False\"/>\n"
      << "    <Events Type=\"Graphic\" FirstEventInTC=\""
      << bdnTimecode(events.empty() ? 0 : events.front().in, rate) << "\" LastEventOutTC=\""
      << bdnTimecode(events.empty() ? 0 : events.back().out, rate) << "\" NumberofEvents=\""
      << events.size() << "\"/>\n"
      << "  </Description>\n"
      << "  <Events>\n";
  for (const Stretch& event : events) {
    xml << "    <Event InTC=\"" << bdnTimecode(event.in, rate) << "\" OutTC=\""
        << bdnTimecode(event.out, rate) << "\" Forced=\"False\">\n";
    for (const Shown& shown : event.shown) {
      xml << "      <Graphic Width=\"" << shown.graphic->width << "\" Height=\"" << shown.graphic->height
          << "\" X=\"" << shown.x << "\" Y=\"" << shown.y << "\">" << attribute(shown.graphic->image)
          << "</Graphic>\n";
    }
    xml << "    </Event>\n";
  }
  xml << "  </Events>\n"
      << "</BDN>\n";
  document.xml = xml.str();
  return document;
}

}  // namespace QuillRender
