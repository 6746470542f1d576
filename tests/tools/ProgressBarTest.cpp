#include "tools/ProgressBar.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace QuillRender {
namespace {

std::string contentOf(std::FILE* stream) {
  std::fflush(stream);
  std::rewind(stream);
  std::string text;
  for (int c; (c = std::fgetc(stream)) != EOF;) text += static_cast<char>(c);
  return text;
}

TEST(ProgressBar, DisabledDrawsNothing) {
  std::FILE* stream = std::tmpfile();
  ASSERT_NE(stream, nullptr);
  EXPECT_FALSE(ProgressBar::isTerminal(stream));
  {
    ProgressBar bar(stream, 10, ProgressBar::isTerminal(stream));
    for (std::size_t i = 1; i <= 10; ++i) bar.update(i);
  }
  EXPECT_EQ(contentOf(stream), "");
  std::fclose(stream);
}

TEST(ProgressBar, DrawsInPlaceAndClearsItselfAway) {
  std::FILE* stream = std::tmpfile();
  ASSERT_NE(stream, nullptr);
  {
    ProgressBar bar(stream, 4, true);
    bar.update(1);  // drawn: the first draw is never held back
    bar.update(2);  // held back: too soon after the first
    bar.update(4);  // drawn: the end is always shown
  }
  const std::string text = contentOf(stream);
  EXPECT_EQ(text.find('\n'), std::string::npos) << "a bar never scrolls the terminal";
  EXPECT_NE(text.find("1/4"), std::string::npos);
  EXPECT_EQ(text.find("2/4"), std::string::npos);
  EXPECT_NE(text.find("[########################################] 4/4"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 4), "\r\033[K");
  std::fclose(stream);
}

TEST(ProgressBar, ThreadsAdvancingTogetherBringItToTheTotal) {
  std::FILE* stream = std::tmpfile();
  ASSERT_NE(stream, nullptr);
  {
    ProgressBar bar(stream, 300, true);
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t) {
      threads.emplace_back([&bar] {
        for (int i = 0; i < 100; ++i) bar.advance();
      });
    }
    for (std::thread& thread : threads) thread.join();
  }
  const std::string text = contentOf(stream);
  EXPECT_NE(text.find("] 300/300"), std::string::npos) << "no count may be lost";
  EXPECT_EQ(text.find("301/"), std::string::npos);
  std::fclose(stream);
}

}  // namespace
}  // namespace QuillRender
