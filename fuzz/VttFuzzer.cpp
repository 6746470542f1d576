// A WebVTT file through the render command's reader (decoding, then the blocks), as
// strangers' files reach it. Besides running without a fault, what comes out must be what
// the reader promises: nothing at all when decoding fails or the file has no "WEBVTT"
// line; otherwise events numbered 1, 2, 3... in file order that never end before they
// start, alignments on the keypad, and texts in which every "<" is one of the component's
// b, i and u tags, opened and closed in order, so that no markup of the cue can reach the
// component but what the reader made. The file is read for both layouts: the same cues,
// and the same text once the full layout's references are read back, where every "&",
// "{" and "\" is one of the reader's own references.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "fuzz/ReferenceUtf.h"
#include "tools/SubtitleReader.h"

namespace {

using QuillFuzz::require;

void checkMarkupIsBalanced(const std::string& text) {
  std::vector<char> open;
  for (std::size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at + 1)) {
    const std::string_view tag = std::string_view(text).substr(at, 4);
    const bool closing = tag.size() == 4 && tag[1] == '/' && tag[3] == '>';
    const char name = closing ? tag[2] : tag.size() >= 3 && tag[2] == '>' ? tag[1] : '?';
    require(name == 'b' || name == 'i' || name == 'u', "only b, i and u tags reach the component");
    if (closing) {
      require(!open.empty() && open.back() == name, "tags close in the order they opened");
      open.pop_back();
    } else {
      open.push_back(name);
    }
  }
  require(open.empty(), "every tag is closed");
}

// The full layout's text with the reader's references read back, a "<" becoming the
// classic layout's stand-in for it: the classic layout's text.
std::string asClassicText(const std::string& full) {
  static constexpr std::pair<std::string_view, std::string_view> kReferences[] = {
      {"&amp;", "&"}, {"&lt;", "\xE2\x80\xB9"}, {"&gt;", ">"}, {"&#123;", "{"}, {"&#92;", "\\"}};
  std::string text;
  for (std::size_t at = 0; at < full.size();) {
    const char c = full[at];
    require(c != '{' && c != '\\', "override blocks and breaks are written as references");
    if (c != '&') {
      text += c;
      ++at;
      continue;
    }
    const std::string_view rest = std::string_view(full).substr(at);
    bool known = false;
    for (const auto& [reference, character] : kReferences) {
      if (rest.substr(0, reference.size()) == reference) {
        text += character;
        at += reference.size();
        known = true;
        break;
      }
    }
    require(known, "every \"&\" starts one of the reader's references");
  }
  return text;
}

void checkProblemsInOrder(const std::vector<QuillRender::SubtitleProblem>& problems) {
  std::size_t last = 0;
  for (const QuillRender::SubtitleProblem& problem : problems) {
    require(problem.line >= last && problem.line > 0 && !problem.message.empty(),
            "problems are in file order and say what is wrong");
    require(QuillFuzz::referenceDecodeUtf8(problem.message).has_value(), "messages are UTF-8");
    last = problem.line;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const QuillRender::SubtitleReadResult result = QuillRender::readSubtitleFile(
      bytes, QuillRender::SubtitleFormat::WebVtt, QuillRender::CueMarkup::Classic);
  const QuillRender::SubtitleDocument& document = result.document;
  if (!result.decoding.ok || document.unreadable) {
    require(document.events.empty() && document.problems.empty() && document.warnings.empty(),
            "nothing is read from a file that does not decode or is no WebVTT");
    return 0;
  }
  const QuillRender::SubtitleDocument full =
      QuillRender::readSubtitleFile(bytes, QuillRender::SubtitleFormat::WebVtt,
                                    QuillRender::CueMarkup::Full)
          .document;
  require(full.events.size() == document.events.size() &&
              full.problems.size() == document.problems.size() &&
              full.warnings.size() == document.warnings.size(),
          "both layouts read the same cues");
  std::size_t lastLine = 0;
  for (std::size_t i = 0; i < document.events.size(); ++i) {
    const QuillRender::SubtitleEvent& event = document.events[i];
    require(event.index == i + 1, "events are numbered without gaps");
    require(event.line > lastLine, "events are in file order");
    lastLine = event.line;
    require(0 <= event.startMs && event.startMs <= event.endMs, "events end after they start");
    require(event.alignment >= 0 && event.alignment <= 9, "alignments are on the keypad");
    require(QuillFuzz::referenceDecodeUtf8(event.text).has_value(), "event text is valid UTF-8");
    require(event.text.find('\r') == std::string::npos, "line ends become \\n");
    checkMarkupIsBalanced(event.text);
    const QuillRender::SubtitleEvent& fullEvent = full.events[i];
    require(fullEvent.startMs == event.startMs && fullEvent.endMs == event.endMs &&
                fullEvent.alignment == event.alignment && fullEvent.line == event.line,
            "both layouts time and place a cue alike");
    checkMarkupIsBalanced(fullEvent.text);
    require(asClassicText(fullEvent.text) == event.text, "both layouts show the cue's text");
  }
  checkProblemsInOrder(document.problems);
  checkProblemsInOrder(document.warnings);
  return 0;
}
