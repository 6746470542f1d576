#include "tests/text/RenderCorpus.h"

#include <cstdlib>
#include <cstring>

#include "tests/text/TestFonts.h"

namespace RenderCorpus {

namespace {

// Bold finds the bold file, italic only ever the upright one (so it is sheared), and
// "Serif" families the serif file.
bool findDejaVu(const std::string& family, bool bold, bool italic, Orb::FaceLocation& location) {
  const bool serif = family.find("Serif") != std::string::npos;
  if (italic && bold) return false;
  location.path = serif ? TestFonts::kSerif : bold ? TestFonts::kSansBold : TestFonts::kSans;
  location.faceIndex = 0;
  return true;
}
TestFonts::FunctionLookup dejaVu(&findDejaVu);

std::unique_ptr<Orb::TextRendererInterface> fromFile(const std::string& path, std::int32_t size) {
  return Orb::createTextRendererFromFile(path.c_str(), nullptr, size, 0, 0, 0, 0, 0, 0x00E0FFFF,
                                         0x00200040, 0, &dejaVu);
}

const std::vector<unsigned char>& serifBytes() {
  static const std::vector<unsigned char> bytes = TestFonts::readFile(TestFonts::kSerif);
  return bytes;
}

std::string repeated(const std::string& piece, std::size_t times) {
  std::string out;
  for (std::size_t i = 0; i < times; ++i) out += piece;
  return out;
}

}  // namespace

Orb::FaceLookup* dejaVuLookup() { return &dejaVu; }

bool RenderOutput::operator==(const RenderOutput& other) const {
  return rendered == other.rendered && width == other.width && height == other.height &&
         xOffset == other.xOffset && yOffset == other.yOffset && stride == other.stride &&
         bytes == other.bytes;
}

std::vector<RendererSetup> renderers() {
  return {
      {"sans file 32", [] { return fromFile(TestFonts::kSans, 32); }},
      {"sans file 13", [] { return fromFile(TestFonts::kSans, 13); }},
      {"family lookup 49",
       [] {
         return Orb::createTextRenderer("DejaVu Sans", 49, 0, 0, 0, 0, 0, 0x0000FFFF, 0x00FF0000,
                                        0, &dejaVu);
       }},
      {"italic through lookup 22",
       [] {
         return Orb::createTextRenderer("DejaVu Sans", 22, 0, 1, 1, 0, 0, 0x00FFFFFF, 0, 0,
                                        &dejaVu);
       }},
      {"serif from memory 40",
       [] {
         return Orb::createTextRendererFromMemory(serifBytes().data(), serifBytes().size(),
                                                  nullptr, 40, 0, 0, 0, 0, 0, 0x00FFFFFF,
                                                  0x00000000, 0, &dejaVu);
       }},
      {"collection 36", [] { return fromFile(TestFonts::kCollection, 36); }},
  };
}

std::vector<RenderCase> cases() {
  std::vector<RenderCase> list = {
      {"I never said that.\nNot to you, anyway."},
      {"<b>Bold</b>, <i>italic</i>, <u>under</u> and <s>struck</s>\n"
       "<font color=\"#ff4020\">red</font> <font size=\"+4\">big</font> <font size=\"-4\">small</font>"},
      {"<b><i>both</i></b> <i><b>nested</b> back</i> <b>x<font size=\"+9\">y</font>z</b>", 1},
      {"<font face=\"DejaVu Serif\">serif <b>bold serif</b> <i>sheared</i></font> sans", 2},
      {"<font size=\"+5\">a<font face=\"DejaVu Serif\">b<font face=\"DejaVu Sans\" size=\"-5\">c"
       "</font>d</font>e</font>f",
       3},
      {"<u><s>lines <font size=\"+6\">over</font> sizes</s></u>\r\nnext <u>line</u>", 0},
      {"This subtitle is long enough that it cannot fit on one line of the text area, so the "
       "pen walk has to wrap it, and then wrap it again before it reaches the end of what was "
       "said, and again.",
       2, 700, 120},
      {"Кириллица, Ελληνικά, 漢字と仮名, \xF4\x8F\xBF\xBD missing", 0},
      {"<font color=\"#00ff00\" size=\"+2\" face=\"DejaVu Sans\">all three</font><br/>after", 1},
      {"formats <i>four</i>", 4},
      {std::string(300, ' ') + "blanks", 0},
  };
  list.push_back({"I never said that.\nNot to you, anyway.", 3, 1152, 144,
                  [](Orb::TextRendererInterface& r) { r.setFontSize(27); }});
  list.push_back({"<b>after</b> a size change", 0, 1152, 144,
                  [](Orb::TextRendererInterface& r) { r.setColours(0x0000FF00, 0x00FF00FF, 1); }});
  list.push_back({"<font color=\"#ff0000\">override</font> <i>memory font</i>", 2, 1152, 144,
                  [](Orb::TextRendererInterface& r) {
                    r.setFontFromMemory(serifBytes().data(), serifBytes().size(), nullptr, 0, 0,
                                        1, 0, 0);
                  }});
  list.push_back({"<b>family</b> again <i>italic</i>", 0, 1152, 144,
                  [](Orb::TextRendererInterface& r) { r.setFont("DejaVu Sans", 1, 0, 0, 1, 0); }});
  // Hostile: deeper than the stack allows, more face opens than a subtitle may make, a
  // size beyond the bound, unterminated tags and glyphs too big for the canvas.
  list.push_back({repeated("<i><b>", 200) + "deep" + repeated("</b>", 100) + "shallower", 1});
  list.push_back({repeated("<font face=\"DejaVu Serif\">x<b>y</b>", 80) + "budget", 0});
  list.push_back({"<font size=\"+99999999999\">W</font>small<font size=\"-999\">tiny", 2, 300, 60});
  list.push_back({"a<b>b<font color=\"#12345", 3});
  list.push_back({"<<<>>> <font color=\"#ff0000\" >x <i >y <B>z", 0});
  // The first renders again, now that every face and glyph has been seen.
  const std::size_t first = list.size();
  for (std::size_t i = 0; i < first; ++i) {
    RenderCase again = list[i];
    again.change = nullptr;
    list.push_back(again);
  }
  return list;
}

RenderOutput render(Orb::TextRendererInterface& renderer, const RenderCase& render) {
  if (render.change) render.change(renderer);
  struct Buffer {
    std::vector<std::uint8_t> bytes;
    static bool allocate(std::uint32_t width, std::uint32_t height, std::uint32_t,
                         std::uint8_t** buffer, std::size_t* byteLength, std::uint32_t* stride,
                         void* data) {
      auto* self = static_cast<Buffer*>(data);
      *stride = width + 5;
      // Not zeroed: the renderer must clear what it hands back.
      self->bytes.assign(static_cast<std::size_t>(*stride) * height * 4, 0xC5);
      *buffer = self->bytes.data();
      *byteLength = self->bytes.size();
      return true;
    }
  } buffer;
  RenderOutput out;
  out.rendered = renderer.renderSubtitle(render.format, render.subtitle.data(),
                                         render.subtitle.size(), render.maxWidth,
                                         render.maxHeight, &out.width, &out.height, &out.xOffset,
                                         &out.yOffset, &out.stride, &Buffer::allocate, &buffer);
  out.bytes = std::move(buffer.bytes);
  return out;
}

}  // namespace RenderCorpus
