// A subtitle file through the render command's reader (decoding, then the blocks), as
// strangers' files reach it. Besides running without a fault, what comes out must be what
// the reader promises: nothing at all when decoding fails; otherwise valid UTF-8, events
// numbered 1, 2, 3... in file order that never end before they start, texts without
// carriage returns, and problems in file order.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "fuzz/ReferenceUtf.h"
#include "tools/ClockTime.h"
#include "tools/SrtParser.h"
#include "tools/SubtitleReader.h"

namespace {

using QuillFuzz::require;

void checkTimeReadsBack(std::int64_t ms) {
  std::int64_t again = -1;
  require(QuillRender::parseSrtTime(QuillRender::formatClockTime(ms, ','), again) && again == ms,
          "a time the reader produced reads back the same");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const QuillRender::SubtitleReadResult result =
      QuillRender::readSubtitleFile(bytes, QuillRender::SubtitleFormat::Srt,
                                   QuillRender::CueMarkup::Full);
  if (!result.decoding.ok) {
    require(result.document.events.empty() && result.document.problems.empty(),
            "nothing is read from bytes that do not decode");
    require(!result.decoding.error.empty(), "a decoding failure says why");
    return 0;
  }
  require(QuillFuzz::referenceDecodeUtf8(result.decoding.utf8).has_value(),
          "decoded text is valid UTF-8");
  std::size_t lastLine = 0;
  for (std::size_t i = 0; i < result.document.events.size(); ++i) {
    const QuillRender::SubtitleEvent& event = result.document.events[i];
    require(event.index == i + 1, "events are numbered without gaps");
    require(event.line > lastLine, "events are in file order");
    lastLine = event.line;
    require(0 <= event.startMs && event.startMs <= event.endMs, "events end after they start");
    require(event.text.find('\r') == std::string::npos, "line ends become \\n");
    require(QuillFuzz::referenceDecodeUtf8(event.text).has_value(), "event text is valid UTF-8");
    checkTimeReadsBack(event.startMs);
    checkTimeReadsBack(event.endMs);
  }
  std::size_t lastProblem = 0;
  for (const QuillRender::SubtitleProblem& problem : result.document.problems) {
    require(problem.line > lastProblem && !problem.message.empty(),
            "problems are in file order and say what is wrong");
    lastProblem = problem.line;
  }
  return 0;
}
