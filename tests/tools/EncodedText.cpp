#include "EncodedText.h"

#include <iconv.h>

#include <gtest/gtest.h>

namespace QuillRender {

std::string encodeAs(const std::string& utf8, const char* charset) {
  const iconv_t converter = iconv_open(charset, "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    ADD_FAILURE() << "iconv cannot write " << charset;
    return {};
  }
  std::string out(utf8.size() * 4 + 16, '\0');
  char* in = const_cast<char*>(utf8.data());
  std::size_t inLeft = utf8.size();
  char* next = out.data();
  std::size_t outLeft = out.size();
  EXPECT_NE(iconv(converter, &in, &inLeft, &next, &outLeft), static_cast<std::size_t>(-1)) << charset;
  iconv_close(converter);
  out.resize(out.size() - outLeft);
  return out;
}

std::string subtitles(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string second = std::to_string(10 + 3 * i);
    text += std::to_string(i + 1) + "\r\n00:00:" + second + ",000 --> 00:00:" + second + ",900\r\n" +
            lines[i] + "\r\n\r\n";
  }
  return text;
}

const std::string kSerbian = subtitles({"Добро вече, драги пријатељи.", "Где си био целу ноћ?",
                                        "Нисам могао да спавам, па сам шетао градом.",
                                        "Хајде да попијемо чај и да разговарамо."});
const std::string kRussian = subtitles({"Доброе утро, как ты спал?", "Мы должны уехать до полуночи.",
                                        "Посмотри на эту старую фотографию.", "Всё будет хорошо, обещаю."});
const std::string kCzech = subtitles({"Dobrý večer, vítejte u nás.", "Řekni mi pravdu, prosím.",
                                      "Šťastný nový rok, žádný stres.", "Jeho dům je blízko řeky."});
const std::string kPolish = subtitles({"Dzień dobry, jak się masz?", "Musimy wyjechać przed północą.",
                                       "Spójrz na to stare zdjęcie.", "Wszystko będzie dobrze, obiecuję."});
const std::string kFrench = subtitles({"Où étais-tu toute la nuit ?", "Il a dit « à demain » et il est parti.",
                                       "“Crème brûlée”, répéta-t-elle… deux fois.",
                                       "Sa maison est près de la rivière."});
const std::string kJapanese = subtitles({"こんばんは、ようこそ。", "一晩中どこにいたの？",
                                         "眠れなかったので、散歩していました。", "彼の家は川の近くにあります。"});

}  // namespace QuillRender
